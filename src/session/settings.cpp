#include "session/settings.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "base/decimal.h"
#include "platform/file_error.h"
#include "platform/read_file.h"
#include "store/safe_save.h"

namespace tessik {

Settings settings;

namespace {

enum class Written { Signed, Unsigned };

struct FlagKey {
  std::string_view key;
  uint8_t Settings::*flag;
  Written form;
};

constexpr std::array<FlagKey, 12> kOutputPrefs = {{
    {"silent if no games", &Settings::silentIfNoGames, Written::Signed},
    {"show expected score", &Settings::showExpectedScore, Written::Signed},
    {"FingerAssessDisplayAll", &Settings::fingerAssessDisplayAll, Written::Unsigned},
    {"FingerAssessDisplayAll_bw", &Settings::fingerAssessDisplayAllBw, Written::Unsigned},
    {"FingerAssessDisplayRtypes", &Settings::fingerAssessDisplayRtypes, Written::Unsigned},
    {"FingerAssessDisplayRtypes_bw", &Settings::fingerAssessDisplayRtypesBw, Written::Unsigned},
    {"Show Stats in Vexmoor", &Settings::showStatsInVexmoor, Written::Unsigned},
    {"Show Stats in Plugin", &Settings::showStatsInPlugin, Written::Unsigned},
    {"MatchEtcDisplayAll", &Settings::matchEtcDisplayAll, Written::Unsigned},
    {"MatchEtcDisplayAll_bw", &Settings::matchEtcDisplayAllBw, Written::Unsigned},
    {"MatchEtcDisplayRtype", &Settings::matchEtcDisplayRtype, Written::Unsigned},
    {"MatchEtcDisplayRtype_bw", &Settings::matchEtcDisplayRtypeBw, Written::Unsigned},
}};

constexpr FlagKey kCloseWithConnection = {"close with connection", &Settings::closeWithConnection,
                                          Written::Signed};
constexpr FlagKey kPreventIdle = {"prevent idle disconnection", &Settings::preventIdleDisconnection,
                                  Written::Signed};
constexpr FlagKey kMinimizeToSystray = {"minimize to systray", &Settings::minimizeToSystray,
                                        Written::Signed};
constexpr FlagKey kStartMinimized = {"start minimized", &Settings::startMinimized, Written::Signed};
constexpr std::string_view kMethodKey = "prevent idle method";
constexpr std::string_view kTextKey = "prevent idle text";

const FlagKey* FindFlag(std::string_view key) {
  for (const FlagKey& flag : kOutputPrefs) {
    if (flag.key == key) return &flag;
  }
  for (const FlagKey* flag :
       {&kCloseWithConnection, &kPreventIdle, &kMinimizeToSystray, &kStartMinimized}) {
    if (flag->key == key) return flag;
  }
  return nullptr;
}

// Appends "key=value" and the line end to file.
void AppendLine(std::string& file, std::string_view key, std::string_view value) {
  file += key;
  file += '=';
  file += value;
  file += '\n';
}

// The flag's 8 bits taken as signed; "%u" keys show that number as unsigned 32-bit.
void AppendFlagLine(std::string& file, const Settings& source, const FlagKey& flag) {
  auto value = static_cast<int32_t>(static_cast<int8_t>(source.*flag.flag));
  AppendLine(file, flag.key,
             flag.form == Written::Signed ? std::to_string(value)
                                          : std::to_string(static_cast<uint32_t>(value)));
}

}  // namespace

void ApplySettingsLine(Settings& target, std::string_view line) {
  size_t equals = line.find('=');
  if (equals == std::string_view::npos) return;
  std::string_view key = line.substr(0, equals);
  std::string_view value = line.substr(equals + 1);
  if (const FlagKey* flag = FindFlag(key)) {
    target.*flag->flag = static_cast<uint8_t>(ParseDecimal(value));
  } else if (key == kMethodKey) {
    target.preventIdleMethod = ParseDecimal(value);
  } else if (key == kTextKey) {
    target.preventIdleText = value;
  }
}

std::string FormatSettingsFile(const Settings& source) {
  // Built in one piece: every line but the idle text's fits in kLineRoom.
  constexpr size_t kLineRoom = 48;
  std::string file;
  file.reserve(kLineRoom * (kOutputPrefs.size() + 8) + source.preventIdleText.size());
  file += "[OutputPrefs]\n";
  for (const FlagKey& flag : kOutputPrefs) AppendFlagLine(file, source, flag);
  file += "\n[Behaviour]\n";
  AppendFlagLine(file, source, kCloseWithConnection);
  AppendFlagLine(file, source, kPreventIdle);
  AppendLine(file, kMethodKey, std::to_string(source.preventIdleMethod));
  AppendLine(file, kTextKey, source.preventIdleText);
  AppendFlagLine(file, source, kMinimizeToSystray);
  AppendFlagLine(file, source, kStartMinimized);
  return file;
}

std::error_code LoadSettings(int dataFolder) {
  int fd = -1;
  off_t size = 0;
  std::error_code error = OpenRegularFile(dataFolder, std::string(kSettingsFile), fd, size);
  if (error) return error;
  error = LoadSettings(ByteSource(fd), static_cast<size_t>(size));
  close(fd);
  return error;
}

std::error_code LoadSettings(ByteSource source, size_t bytes) {
  std::string file;
  std::error_code error = ReadHead(source, bytes, kMostSettingsBytes + 1, file);
  if (!error && file.size() > kMostSettingsBytes) error = ErrnoError(EFBIG);
  if (error) return error;
  for (size_t start = 0; start < file.size();) {
    size_t end = std::min(file.find('\n', start), file.size());
    std::string_view line(file.data() + start, end - start);
    // A CR ends the line too (CR LF from Windows; a lone CR would split the idle command).
    ApplySettingsLine(settings, line.substr(0, line.find('\r')));
    start = end + 1;
  }
  return {};
}

std::error_code SaveSettings(int dataFolder) {
  return WriteFileAtomically({dataFolder, std::string(kSettingsFile), std::string(kSettingsNewFile),
                              std::string(kSettingsBackupFile)},
                             Backup::Replace, FormatSettingsFile(settings));
}

}  // namespace tessik
