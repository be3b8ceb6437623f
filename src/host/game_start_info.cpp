#include "host/game_start_info.h"

namespace tessik {

GameStartInfo g_gameStartInfo;
ImportReply g_importReply;
PendingImport g_pendingImport = kNothingAwaited;

}  // namespace tessik
