// Reports over every opponent of the session, into the plug-in's own window.
#pragma once

namespace tessik {

class CPluginApp;

void ShowMostGames(CPluginApp& app);  // the ten opponents with the most games
void ShowBest(CPluginApp& app);       // the ten against whom the user scores best
void ShowWorst(CPluginApp& app);      // the ten against whom the user scores worst
void ShowOverall(CPluginApp& app);    // totals over all opponents

}  // namespace tessik
