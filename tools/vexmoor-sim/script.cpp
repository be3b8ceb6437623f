#include "script.h"

#include <cctype>
#include <charconv>
#include <map>

#include "record_line.h"
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
      {"link", {2, 2, "link NAME TARGET"}},
      {"game", {1, SIZE_MAX, "game NAME [FIELD=VALUE ...]"}},
      {"games", {1, 1, "games NAME"}},
      {"show", {1, 1, "show NAME"}},
      {"ls", {1, 1, "ls NAME"}},
      {"waitexit", {0, 0, "waitexit"}},
      {"restart", {0, 0, "restart"}},
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
  if (event.verb != "dg" && event.verb != "pause" && event.verb != "vx2" && !event.args.empty() &&
      !NameStaysInside(event.args[0])) {
    return "NAME is a file name inside the working directory";
  }
  tessik::GameRecord record;
  std::string error;
  if (event.verb == "game" &&
      !ParseRecordWords({event.args.begin() + 1, event.args.end()}, record, error)) {
    return error;
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
        unsigned byte = 0;
        if (escape != escapes.end()) {
          word += escape->second;
          ++i;
        } else if (line.compare(i + 1, 1, "x") == 0 && i + 3 < line.size() &&
                   std::from_chars(&line[i + 2], &line[i + 4], byte, 16).ptr == &line[i + 4]) {
          word += static_cast<char>(byte);
          i += 3;
        } else {
          error = "unknown escape inside quotes (known: \\r \\n \\\" \\\\ \\xHH)";
          return false;
        }
      }
      ++i;  // past the closing quote
    }
    words.push_back(std::move(word));
  }
  return true;
}

bool LooksAtFiles(const ScriptEvent& event) {
  return event.verb == "games" || event.verb == "show" || event.verb == "ls";
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
