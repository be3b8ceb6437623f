#include "host/name_extraction.h"

#include "base/text.h"

namespace tessik {

namespace {

std::string_view TrimLeft(std::string_view s) {
  size_t first = s.find_first_not_of(kWhiteSpace);
  return first == std::string_view::npos ? std::string_view() : s.substr(first);
}

std::string_view TrimRight(std::string_view s) {
  size_t last = s.find_last_not_of(kWhiteSpace);
  return last == std::string_view::npos ? std::string_view() : s.substr(0, last + 1);
}

std::string_view CutAt(std::string_view s, char c) { return s.substr(0, s.find(c)); }

bool IsNot(std::string_view s) { return EqualsNoCase(s, "not"); }

}  // namespace

std::string ExtractFingerName(std::string_view text, std::string_view userName) {
  if (!text.empty() && text.front() == '"') return {};
  std::string_view s = TrimLeft(text);
  for (int word = 0; word < 2; ++word) {
    size_t space = s.find(' ');
    if (space != std::string_view::npos) s.remove_prefix(space + 1);
  }
  // A handle holds neither parentheses nor a colon: "bob(GM):" and "carl:" name bob and carl.
  s = CutAt(CutAt(CutAt(s, ' '), '('), ':');
  if (s.empty() || IsNot(s) || s == userName) return {};
  return std::string(s);
}

std::string ExtractAssessName(std::string_view text, std::string_view userName) {
  size_t lineEnd = text.find('\r');
  if (lineEnd == std::string_view::npos || lineEnd == 0) return {};
  std::string_view s = TrimRight(TrimLeft(text.substr(0, lineEnd)));
  size_t space = s.find(' ');
  std::string_view first =
      space == std::string_view::npos ? std::string_view() : s.substr(0, space);
  std::string_view rest = TrimLeft(s.substr(first.size()));
  std::string_view other;
  if (first == userName) {
    other = rest;
  } else if (rest == userName) {
    other = first;
  }
  return std::string(other);
}

}  // namespace tessik
