#include "fetch/chesscom_json.h"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace tessik {

namespace {

using Json = nlohmann::json;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "2025/03" from a URL ending ".../games/2025/03"; empty when it ends otherwise.
std::string MonthOf(std::string_view url) {
  constexpr std::string_view kBefore = "/games/";
  constexpr size_t kMonthLength = 7;
  if (url.size() < kBefore.size() + kMonthLength) return {};
  const std::string_view month = url.substr(url.size() - kMonthLength);
  const bool shape = std::all_of(month.begin(), month.begin() + 4, IsDigit) && month[4] == '/' &&
                     IsDigit(month[5]) && IsDigit(month[6]);
  const int number = (month[5] - '0') * 10 + (month[6] - '0');
  if (!shape || number < 1 || number > 12 ||
      url.substr(url.size() - kMonthLength - kBefore.size(), kBefore.size()) != kBefore) {
    return {};
  }
  return std::string(month);
}

// The string member name of object, empty when it has none; false when it is not a string.
bool StringMember(const Json& object, const char* name, std::string& value) {
  const auto member = object.find(name);
  if (member == object.end()) return true;
  if (!member->is_string()) return false;
  value = member->get<std::string>();
  return true;
}

}  // namespace

std::optional<std::vector<std::string>> ArchiveMonths(std::string_view json) {
  const Json document = Json::parse(json, nullptr, false);
  if (!document.is_object() || !document.contains("archives") || !document["archives"].is_array()) {
    return std::nullopt;
  }
  std::vector<std::string> months;
  for (const Json& url : document["archives"]) {
    if (!url.is_string()) return std::nullopt;
    std::string month = MonthOf(url.get<std::string>());
    if (month.empty()) return std::nullopt;
    months.push_back(std::move(month));
  }
  std::sort(months.begin(), months.end());
  months.erase(std::unique(months.begin(), months.end()), months.end());
  return months;
}

std::optional<std::vector<FetchedGame>> MonthGames(std::string_view json) {
  const Json document = Json::parse(json, nullptr, false);
  if (!document.is_object() || !document.contains("games") || !document["games"].is_array()) {
    return std::nullopt;
  }
  std::vector<FetchedGame> games;
  for (const Json& game : document["games"]) {
    FetchedGame fetched;
    if (!game.is_object() || !game.contains("pgn") || !StringMember(game, "pgn", fetched.pgn) ||
        !StringMember(game, "time_class", fetched.timeClass) ||
        !StringMember(game, "rules", fetched.rules) || !StringMember(game, "url", fetched.url)) {
      return std::nullopt;
    }
    games.push_back(std::move(fetched));
  }
  return games;
}

}  // namespace tessik
