#include "fetch/pgn_stream.h"

#include <algorithm>

#include "base/text.h"

namespace tessik {

namespace {

bool IsBlank(std::string_view line) { return std::all_of(line.begin(), line.end(), IsWhiteSpace); }

}  // namespace

PgnStream::Fault PgnStream::Feed(std::string_view bytes, const WholeGame& whole) {
  while (fault_ == Fault::None && !bytes.empty()) {
    const size_t end = bytes.find('\n');
    const std::string_view part = bytes.substr(0, end);
    // A line is bounded before it is whole: an endless one must not grow without limit.
    if (game_.size() + line_.size() + part.size() >= gameLimit_) {
      fault_ = Fault::GameTooLarge;
      break;
    }
    line_ += part;
    if (end == std::string_view::npos) break;
    bytes.remove_prefix(end + 1);
    fault_ = TakeLine(line_, whole);
    line_.clear();
  }
  return fault_;
}

PgnStream::Fault PgnStream::Finish(const WholeGame& whole) {
  if (fault_ == Fault::None && !line_.empty()) fault_ = TakeLine(line_, whole);
  if (fault_ == Fault::None) HandOn(whole);
  return fault_;
}

PgnStream::Fault PgnStream::TakeLine(std::string_view line, const WholeGame& whole) {
  const bool tag = !line.empty() && line.front() == '[';
  if (game_.empty()) {
    if (IsBlank(line)) return Fault::None;  // between games
    if (!tag) return Fault::NotPgn;
  } else if (tag && pastTags_) {
    HandOn(whole);
  }
  if (!tag) pastTags_ = true;
  game_ += line;
  game_ += '\n';
  return Fault::None;
}

void PgnStream::HandOn(const WholeGame& whole) {
  while (!game_.empty() && IsWhiteSpace(game_.back())) game_.pop_back();
  if (!game_.empty()) whole(std::move(game_) + '\n');
  game_.clear();
  pastTags_ = false;
}

}  // namespace tessik
