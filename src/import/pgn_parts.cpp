#include "import/pgn_parts.h"

#include <string_view>

#include "import/line_reader.h"

namespace tessik {

namespace {

constexpr size_t kFewestBytesToCut = size_t{4} << 20;  // less is read at once in one go
constexpr size_t kCutWindow = size_t{64} << 10;        // where a cut is looked for
// A line that ends inside the window is short enough to be kept.
static_assert(kCutWindow <= LineReader::kBlock);

// The first place at or after from where a game surely begins, if one lies in the window.
//
// A game's tags end at an empty line and its movetext at the next line that begins with a
// bracket. So a line that begins with a bracket right after an empty line (LF or CR LF) begins
// a game, whatever precedes it: after tags, the empty line ends them and this line ends the
// movetext at once; in movetext, this is the first line to end it, or an earlier one began a
// game whose tags the empty line ends. The line must end inside the window: a line too long to
// keep is passed over, and would begin no game.
std::optional<size_t> GameStartAfter(ByteSource pgn, size_t from) {
  std::string window(kCutWindow, '\0');
  ByteSource part = pgn.Part(from, kCutWindow);
  size_t held = 0;
  for (ssize_t got;
       held < window.size() && (got = part.Read(&window[held], window.size() - held)) > 0;) {
    held += static_cast<size_t>(got);
  }
  const std::string_view text(window.data(), held);
  for (size_t at = text.find("\n["); at != std::string_view::npos; at = text.find("\n[", at + 1)) {
    const bool emptyLine = (at >= 1 && text[at - 1] == '\n') ||
                           (at >= 2 && text[at - 1] == '\r' && text[at - 2] == '\n');
    const bool ends = text.find('\n', at + 1) != std::string_view::npos;
    if (emptyLine && ends) return from + at + 1;
  }
  return std::nullopt;
}

}  // namespace

std::vector<ByteSource> PgnParts(ByteSource pgn, size_t bytes) {
  const std::optional<size_t> cut =
      bytes >= kFewestBytesToCut ? GameStartAfter(pgn, bytes / 2) : std::nullopt;
  if (!cut) return {pgn};
  // The second part reads on to the end, however far the file has grown since its size was
  // taken.
  return {pgn.Part(0, *cut), pgn.Part(*cut)};
}

}  // namespace tessik
