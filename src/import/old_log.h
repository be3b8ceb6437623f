// Conversion of a game log written by an older version: same records, no marker, some fields
// not to be trusted.
#pragma once

#include <string>
#include <system_error>
#include <vector>

#include "import/rating_chains.h"
#include "store/game_log_file.h"
#include "store/game_record.h"

namespace tessik {

// Resets the untrusted fields, marks the possible pool games, puts the marker in front and
// drops neighbouring duplicates.
void UpgradeRecords(std::vector<GameRecord>& games);

struct ConversionOutcome {
  // Why the converted log did not replace the old one, kept as ".glg.10"; clear when it did.
  std::error_code error;
};

// The whole conversion of the log read up to read: upgrade, reconstruct the rating chains,
// write "<user>.glg.12" in the data folder (dataFolder, its descriptor), carry over the games
// appended since the read, keep the old log as "<user>.glg.10" (never replacing an older one),
// and put the new one in place in one atomic rename: "<user>.glg" is never missing.
ConversionOutcome UpgradeOldLog(std::vector<GameRecord>& games, int dataFolder, const LogMark& read,
                                const std::string& userName, const CurrentRatings& ratings);

}  // namespace tessik
