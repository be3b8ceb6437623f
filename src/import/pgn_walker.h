// A PGN file game by game: the tag pairs of each game; the movetext is passed over.
#pragma once

#include <string_view>

#include "import/line_reader.h"
#include "import/pgn_text.h"

namespace tessik {

class PgnWalker {
 public:
  explicit PgnWalker(ByteSource source) : reader_(source) {}

  // Hands the tag pairs of the next game to onTag(name, value), and reads on to the next game's
  // first tag line. The first call always reads a game (of an empty file: a game without tags);
  // then false once the file has ended or a read failed.
  template <typename OnTag>
  bool Next(OnTag&& onTag) {
    if (started_ && !more_) return false;
    started_ = true;
    // The tag section: tag lines up to the first empty line.
    for (;;) {
      std::string_view name, value;
      if (ParseTagLine(line_, name, value)) onTag(name, value);
      more_ = reader_.Next(line_);
      if (!more_ || line_.empty()) break;
    }
    // The movetext: up to the next line that begins with a bracket.
    if (more_) more_ = reader_.NextStartingWith('[', line_);
    return true;
  }
  size_t BytesRead() const { return reader_.BytesRead(); }  // as LineReader's
  bool Failed() const { return reader_.Failed(); }
  int Error() const { return reader_.Error(); }

 private:
  LineReader reader_;
  std::string_view line_;  // the current line: empty before the first game
  bool more_ = true;
  bool started_ = false;
};

}  // namespace tessik
