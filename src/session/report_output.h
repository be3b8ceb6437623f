// The ranking reports of the Actions menu, into the plug-in's own window. Nothing is printed
// while no session runs.
#pragma once

namespace tessik {

class CPluginApp;

void ShowMostGames(CPluginApp& app);
void ShowBest(CPluginApp& app);
void ShowWorst(CPluginApp& app);
void ShowOverall(CPluginApp& app);

}  // namespace tessik
