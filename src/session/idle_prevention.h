#pragma once

namespace tessik {

class CPluginApp;

// After the "Behaviour" dialog: idle prevention switched on sends "date\n" at once and starts
// timer 1; switched off stops it. wasOn: the setting was exactly 1 before the dialog.
void ApplyIdlePreventionChange(CPluginApp& app, bool wasOn);

}  // namespace tessik
