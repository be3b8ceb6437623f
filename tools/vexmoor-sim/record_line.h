// Game-log records as a script writes them and as the host prints them: one record a line of
// FIELD=VALUE words.
#pragma once

#include <string>
#include <vector>

#include "store/game_record.h"

namespace vexmoor {

// A record from words such as "opp=bob result=won white=1 minutes=3": every field not named is
// 0; the word "marker" starts from the log's marker record. False with a reason on a fault.
bool ParseRecordWords(const std::vector<std::string>& words, tessik::GameRecord& record,
                      std::string& error);

// "opp=NAME result=won|draw|lost|marker" and every other field that is not 0, in the record's
// order. A start time within the last ten minutes reads "time=now": a game just played live.
std::string FormatRecordLine(const tessik::GameRecord& record);

}  // namespace vexmoor
