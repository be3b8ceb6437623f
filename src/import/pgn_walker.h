// A PGN file game by game: the tag pairs of each game; the movetext is passed over.
#pragma once

#include <functional>
#include <string_view>

#include "import/line_reader.h"

namespace tessik {

class PgnWalker {
 public:
  using TagHandler = std::function<void(std::string_view name, std::string_view value)>;

  explicit PgnWalker(ByteSource source) : reader_(source) {}

  // Hands the tag pairs of the next game to onTag, and reads on to the next game's first tag
  // line. The first call always reads a game (of an empty file: a game without tags); then
  // false once the file has ended or a read failed.
  bool Next(const TagHandler& onTag);
  bool Failed() const { return reader_.Failed(); }
  int Error() const { return reader_.Error(); }

 private:
  LineReader reader_;
  std::string_view line_;  // the current line: empty before the first game
  bool more_ = true;
  bool started_ = false;
};

}  // namespace tessik
