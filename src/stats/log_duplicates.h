// The games of the plug-in's log that another source's game may stand for.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "store/game_record.h"

namespace tessik {

class LogDuplicates {
 public:
  // Adds a game of the log; it must outlive this.
  void Add(const GameRecord& game) { groups_[GroupOf(game)].push_back({&game, false}); }
  // Whether the log holds game, each of its games standing for one game at most: the same
  // record (the log's duplicate test), or for a game of the host's PGN also the same game
  // recorded live (or imported, its pool since settled).
  bool Take(const GameRecord& game, bool fromHostPgn);

 private:
  struct Entry {
    const GameRecord* game;
    bool taken;
  };
  // Games of one opponent (15 characters), colour and result.
  static std::string GroupOf(const GameRecord& game);
  std::unordered_map<std::string, std::vector<Entry>> groups_;
};

}  // namespace tessik
