// Cuts a stream of PGN games into whole games as its bytes arrive, however they are split.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace tessik {

class PgnStream {
 public:
  enum class Fault { None, NotPgn, GameTooLarge };
  using WholeGame = std::function<void(std::string&& pgn)>;

  // gameLimit: the bytes one game may hold, its line ends included.
  explicit PgnStream(size_t gameLimit) : gameLimit_(gameLimit) {}

  // Takes the next bytes. A game is whole once the next game's first tag line begins: each such
  // game goes to whole, its text ending with one line feed. Returns the fault that ends the
  // stream: text before the first tag line (NotPgn), or a game beyond the limit; nothing more
  // is taken then.
  Fault Feed(std::string_view bytes, const WholeGame& whole);
  // The stream ended cleanly: the game under way is whole (when there is one). Returns the
  // fault of the stream's last line, if any.
  Fault Finish(const WholeGame& whole);

 private:
  // One line, its line feed taken off; the fault it makes, if any.
  Fault TakeLine(std::string_view line, const WholeGame& whole);
  void HandOn(const WholeGame& whole);

  size_t gameLimit_;
  std::string line_;       // the line under way, before its line feed
  std::string game_;       // the game under way, its whole lines
  bool pastTags_ = false;  // a line other than a tag line has followed the game's tags
  Fault fault_ = Fault::None;
};

}  // namespace tessik
