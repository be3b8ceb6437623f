#pragma once

namespace tessik {

class CPluginApp;

// Run when the rating datagram arrives: a new user's log is built from past games, or an
// older log is converted. Both read g_importReply.
void ImportPastGames(CPluginApp& app);
void ConvertOldLog(CPluginApp& app);

}  // namespace tessik
