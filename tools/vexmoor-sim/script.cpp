#include "script.h"

#include <cctype>
#include <charconv>
#include <map>

#include "work_file.h"

namespace vexmoor {

namespace {

bool IsWholeNumber(const std::string& text, long maximum) {
  long value = -1;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && value >= 0 && value <= maximum;
}

// The check for one verb's arguments; an empty text when they are right.
std::string CheckArguments(const ScriptEvent& event) {
  struct Form {
    size_t minimum, maximum;
    const char* usage;
  };
  static const std::map<std::string, Form> forms = {
      {"dg", {2, SIZE_MAX, "dg SOURCE NUMBER [FIELD ...]"}},
      {"end", {0, 0, "end"}},
      {"pause", {1, 1, "pause MS"}},
      {"sync", {0, 0, "sync"}},
      {"vx2", {2, 2, "vx2 USER PATH"}},
      {"waitfor", {1, 1, "waitfor NAME"}},
      {"file", {2, 2, "file NAME TEXT"}},
  };
  auto form = forms.find(event.verb);
  if (form == forms.end()) return "unknown verb \"" + event.verb + "\"";
  const Form& f = form->second;
  if (event.args.size() < f.minimum || event.args.size() > f.maximum) {
    return std::string("usage: ") + f.usage;
  }
  if (event.verb == "dg" &&
      (!IsWholeNumber(event.args[0], 65535) || !IsWholeNumber(event.args[1], 65535))) {
    return "SOURCE and NUMBER are whole numbers from 0 to 65535";
  }
  if ((event.verb == "file" || event.verb == "waitfor") && !NameStaysInside(event.args[0])) {
    return "NAME is a file name inside the working directory";
  }
  if (event.verb == "vx2" && !NameStaysInside(event.args[0])) {
    return "USER is a file name inside the working directory";
  }
  if (event.verb == "pause" && !IsWholeNumber(event.args[0], 3600000)) {
    return "MS is a whole number of milliseconds up to 3600000";
  }
  return {};
}

}  // namespace

bool SplitScriptLine(const std::string& line, std::vector<std::string>& words, std::string& error) {
  words.clear();
  size_t i = 0;
  while (i < line.size()) {
    unsigned char c = static_cast<unsigned char>(line[i]);
    if (std::isspace(c)) {
      ++i;
      continue;
    }
    if (c == '#') break;
    std::string word;
    while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) {
      if (line[i] != '"') {
        word += line[i++];
        continue;
      }
      for (++i;; ++i) {
        if (i >= line.size()) {
          error = "a quote is not closed";
          return false;
        }
        if (line[i] == '"') break;
        if (line[i] != '\\') {
          word += line[i];
          continue;
        }
        static const std::map<char, char> escapes = {
            {'r', '\r'}, {'n', '\n'}, {'"', '"'}, {'\\', '\\'}};
        auto escape = i + 1 < line.size() ? escapes.find(line[i + 1]) : escapes.end();
        if (escape == escapes.end()) {
          error = "unknown escape inside quotes (known: \\r \\n \\\" \\\\)";
          return false;
        }
        word += escape->second;
        ++i;
      }
      ++i;  // past the closing quote
    }
    words.push_back(std::move(word));
  }
  return true;
}

Script ReadScript(std::istream& in) {
  Script script;
  std::string line;
  std::vector<std::string> words;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string error;
    if (!SplitScriptLine(line, words, error)) {
      script.error = "line " + std::to_string(number) + ": " + error;
      return script;
    }
    if (words.empty()) continue;
    ScriptEvent event{number, words[0], {words.begin() + 1, words.end()}};
    error = CheckArguments(event);
    if (!error.empty()) {
      script.error = "line " + std::to_string(number) + ": " + error;
      return script;
    }
    script.events.push_back(std::move(event));
  }
  return script;
}

}  // namespace vexmoor
