#pragma once

namespace tessik {

class CPluginApp;

// Keeps the user's game that just ended, as g_gameStartInfo describes it: counted in the
// totals, added to the game log in memory and on disk, and followed by the new score.
void RecordFinishedGame(CPluginApp& app);

}  // namespace tessik
