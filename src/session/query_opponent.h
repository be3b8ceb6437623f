#pragma once

#include <string_view>

namespace tessik {

class CPluginApp;

// The name typed into the main window: completed among the session's opponents, then looked
// up. Nothing happens for an empty text, without a session, or when nothing completes it.
void QueryOpponent(CPluginApp& app, std::string_view typed);

}  // namespace tessik
