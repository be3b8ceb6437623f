#include "import/pgn_walker.h"

#include "import/pgn_text.h"

namespace tessik {

bool PgnWalker::Next(const TagHandler& onTag) {
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

}  // namespace tessik
