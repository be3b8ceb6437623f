// The plug-in's preferences, shared by every user: <dataDirectory>tessik.ini.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/byte_source.h"
#include "store/file_cause.h"

namespace tessik {

// Flags hold 0 or 1 as the plug-in writes them; a hand-edited file may leave any 8-bit value.
struct Settings {
  // [OutputPrefs]
  uint8_t silentIfNoGames = 0;
  uint8_t showExpectedScore = 0;
  uint8_t fingerAssessDisplayAll = 1;
  uint8_t fingerAssessDisplayAllBw = 0;
  uint8_t fingerAssessDisplayRtypes = 0;
  uint8_t fingerAssessDisplayRtypesBw = 0;
  uint8_t showStatsInVexmoor = 1;
  uint8_t showStatsInPlugin = 0;
  uint8_t matchEtcDisplayAll = 1;
  uint8_t matchEtcDisplayAllBw = 0;
  uint8_t matchEtcDisplayRtype = 0;
  uint8_t matchEtcDisplayRtypeBw = 0;
  // [Behaviour]
  uint8_t closeWithConnection = 1;       // on only when exactly 1
  uint8_t preventIdleDisconnection = 0;  // on only when exactly 1
  int32_t preventIdleMethod = 0;         // 0 date, 1 away message, 2 own command
  std::string preventIdleText;
  uint8_t minimizeToSystray = 1;
  uint8_t startMinimized = 0;  // the window was in the tray when last seen
};

// The process's settings: defaults until the first login reads the file. Read by the score
// lines, the output paths, the end of a session, idle prevention and the window; changed by the
// option dialogs and the tray; read from the file at each login and saved at each session's end.
extern Settings settings;

inline constexpr std::string_view kSettingsFile = "tessik.ini";
inline constexpr std::string_view kSettingsNewFile = "tessik.inn";
inline constexpr std::string_view kSettingsBackupFile = "tessik.ino";

// A settings file larger than this is not one the plug-in wrote.
inline constexpr size_t kMostSettingsBytes = 1 << 20;

// Reads the file in the data folder (its descriptor) over the settings in memory. Returns no
// error, or why it could not be read (ENOENT when there is none); the settings then stay as they
// are.
std::error_code LoadSettings(int dataFolder);
// The reading of LoadSettings, from source (bytes long, or about: it sizes the read): the path
// of the file's bytes, whatever holds them.
std::error_code LoadSettings(ByteSource source, size_t bytes);
// Writes the file in three moves; no error, or the failure.
std::error_code SaveSettings(int dataFolder);

// One line of the file, its line end removed: "key=value" for one of the eighteen keys.
void ApplySettingsLine(Settings& target, std::string_view line);
// The whole file as written.
std::string FormatSettingsFile(const Settings& source);

}  // namespace tessik
