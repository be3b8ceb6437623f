// The user's record as tessik-stats reads it (the plug-in's log and the database, each game
// once), for readers that take their games through a GameSource.
#pragma once

#include "record/log_place.h"
#include "stats/game_source.h"

namespace tessik {

class RecordSource : public GameSource {
 public:
  // The record of place.user, which must name the user.
  explicit RecordSource(LogPlace place) : place_(std::move(place)) {}

  const std::string& User() const override { return place_.user; }
  // Opens the record afresh each time, so that a log or a database made since is read. Throws
  // DataError as OpenRecord does.
  std::vector<Game> Games() override;
  // The identity, size and time of change of the log, the database and its write-ahead log.
  std::string Version() override;

 private:
  LogPlace place_;
};

}  // namespace tessik
