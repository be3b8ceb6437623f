#include "store/record_game.h"

namespace tessik {

// Nothing is kept until the game log exists.
void RecordFinishedGame(CPluginApp&) {}

}  // namespace tessik
