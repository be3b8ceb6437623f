#pragma once

namespace tessik {

class CPluginApp;

// The idle tick: timer 1 fires every kIdleTickMinutes; once kIdleLimitMinutes have passed without
// a game start, an activity datagram or a look-up (each starts the count again), the idle
// command goes to the server and the count starts again.
inline constexpr int kIdleTickMinutes = 3;
inline constexpr int kIdleTickMilliseconds = kIdleTickMinutes * 60'000;
inline constexpr int kIdleLimitMinutes = 57;

// After the "Behaviour" dialog: idle prevention switched on sends "date\n" at once and starts
// timer 1; switched off stops it. wasOn: the setting was exactly 1 before the dialog.
void ApplyIdlePreventionChange(CPluginApp& app, bool wasOn);

}  // namespace tessik
