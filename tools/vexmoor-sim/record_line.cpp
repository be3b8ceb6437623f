#include "record_line.h"

#include <charconv>
#include <cstdint>
#include <ctime>
#include <string_view>
#include <type_traits>

namespace vexmoor {

namespace {

constexpr const char* kResultWords[] = {"marker", "won", "draw", "lost"};  // result + 2

// The numeric fields by name, each with its range.
struct NumericField {
  const char* name;
  long long minimum, maximum;
  long long (*get)(const tessik::GameRecord&);
  void (*set)(tessik::GameRecord&, long long);
};

template <auto Member>
NumericField Field(const char* name, long long minimum, long long maximum) {
  using Value = std::remove_reference_t<decltype(tessik::GameRecord{}.*Member)>;
  return {name, minimum, maximum,
          [](const tessik::GameRecord& r) { return static_cast<long long>(r.*Member); },
          [](tessik::GameRecord& r, long long v) { r.*Member = static_cast<Value>(v); }};
}

using tessik::GameRecord;
const NumericField kFields[] = {
    Field<&GameRecord::wild>("wild", 0, 255),
    Field<&GameRecord::origin>("origin", 0, 255),
    Field<&GameRecord::reserved>("reserved", 0, 65535),
    Field<&GameRecord::initialMinutes>("minutes", INT32_MIN, INT32_MAX),
    Field<&GameRecord::incrementSeconds>("increment", 0, 255),
    Field<&GameRecord::rated>("rated", 0, 1),
    Field<&GameRecord::userWhite>("white", 0, 1),
    Field<&GameRecord::title>("title", 0, 7),
    Field<&GameRecord::womanTitle>("wtitle", 0, 7),
    Field<&GameRecord::computer>("computer", 0, 1),
    Field<&GameRecord::pool>("pool", 0, 3),
    Field<&GameRecord::gameKey>("key", INT32_MIN, INT32_MAX),
    Field<&GameRecord::startTime>("time", INT32_MIN, INT32_MAX),
    Field<&GameRecord::userRating>("rating", INT16_MIN, INT16_MAX),
    Field<&GameRecord::opponentRating>("opprating", INT16_MIN, INT16_MAX),
};

bool SetField(tessik::GameRecord& record, const std::string& name, const std::string& value) {
  if (name == "opp") {
    tessik::SetOpponent(record, value);
    return value.size() < tessik::kOpponentBytes;
  }
  if (name == "result") {
    for (int8_t result = -2; result <= 1; ++result) {
      if (value == kResultWords[result + 2]) record.result = result;
    }
    return value == kResultWords[record.result + 2];
  }
  for (const NumericField& field : kFields) {
    if (name != field.name) continue;
    long long number = 0;
    auto [end, fault] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (fault != std::errc() || end != value.data() + value.size() || number < field.minimum ||
        number > field.maximum) {
      return false;
    }
    field.set(record, number);
    return true;
  }
  return false;
}

}  // namespace

bool ParseRecordWords(const std::vector<std::string>& words, tessik::GameRecord& record,
                      std::string& error) {
  record = tessik::GameRecord{};
  for (const std::string& word : words) {
    if (word == "marker") {
      record = tessik::MarkerRecord();
      continue;
    }
    size_t equals = word.find('=');
    if (equals == std::string::npos ||
        !SetField(record, word.substr(0, equals), word.substr(equals + 1))) {
      error = "\"" + word +
              "\" is not a record field (opp=NAME of up to 15 characters, "
              "result=won|draw|lost|marker, or a number in range for wild origin reserved minutes "
              "increment rated white title wtitle computer pool key time rating opprating)";
      return false;
    }
  }
  return true;
}

std::string FormatRecordLine(const tessik::GameRecord& record) {
  const long long now = std::time(nullptr);
  std::string line = "opp=" + std::string(tessik::OpponentName(record)) +
                     " result=" + kResultWords[record.result + 2];
  for (const NumericField& field : kFields) {
    long long value = field.get(record);
    if (value == 0) continue;
    bool live = std::string_view(field.name) == "time" && value > now - 600 && value <= now;
    line += std::string(" ") + field.name + "=" + (live ? "now" : std::to_string(value));
  }
  return line;
}

}  // namespace vexmoor
