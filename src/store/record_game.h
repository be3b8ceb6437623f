#pragma once

namespace tessik {

class CPluginApp;

// Keeps the user's game that just ended, as g_gameStartInfo describes it.
void RecordFinishedGame(CPluginApp& app);

}  // namespace tessik
