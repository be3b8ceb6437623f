#include "script.h"

#include <algorithm>
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

std::string CheckDatagram(const std::vector<std::string>& args) {
  if (IsWholeNumber(args[0], 65535) && IsWholeNumber(args[1], 65535)) return {};
  return "SOURCE and NUMBER are whole numbers from 0 to 65535";
}

std::string CheckName(const std::vector<std::string>& args) {
  if (NameStaysInside(args[0])) return {};
  return "NAME is a file name inside the working directory";
}

std::string CheckUser(const std::vector<std::string>& args) {
  if (NameStaysInside(args[0])) return {};
  return "USER is a file name inside the working directory";
}

std::string CheckPause(const std::vector<std::string>& args) {
  if (IsWholeNumber(args[0], 3600000)) return {};
  return "MS is a whole number of milliseconds up to 3600000";
}

std::string CheckGame(const std::vector<std::string>& args) {
  std::string error = CheckName(args);
  tessik::GameRecord record;
  if (error.empty()) ParseRecordWords({args.begin() + 1, args.end()}, record, error);
  return error;
}

constexpr VerbForm kVerbs[] = {
    {Verb::kDatagram, "dg", "SOURCE NUMBER [FIELD ...]", 2, SIZE_MAX,
     "forward a datagram, if the plug-in asked for NUMBER", CheckDatagram, false},
    {Verb::kEnd, "end", "", 0, 0, "send the end of the connection", nullptr, false},
    {Verb::kPause, "pause", "MS", 1, 1, "wait MS milliseconds, printing what arrives", CheckPause,
     false},
    {Verb::kSync, "sync", "", 0, 0, "wait until the plug-in has handled everything sent", nullptr,
     false},
    {Verb::kVx2, "vx2", "USER PATH", 2, 2, "write the host's per-user file USER.vx2 naming PATH",
     CheckUser, false},
    {Verb::kWaitFor, "waitfor", "NAME", 1, 1,
     "wait up to 120 s until a file NAME exists, printing what arrives", CheckName, false},
    {Verb::kFile, "file", "NAME TEXT", 2, 2, "write TEXT to the file NAME", CheckName, false},
    {Verb::kLink, "link", "NAME TARGET", 2, 2, "make NAME a symbolic link to TARGET", CheckName,
     false},
    {Verb::kGame, "game", "NAME [FIELD=VALUE ...]", 1, SIZE_MAX,
     "append one game-log record to the file NAME", CheckGame, false},
    {Verb::kGames, "games", "NAME", 1, 1, "print each record of the game log NAME", CheckName,
     true},
    {Verb::kShow, "show", "NAME", 1, 1, "print each line of the file NAME", CheckName, true},
    {Verb::kLs, "ls", "NAME", 1, 1, "print the names in the folder NAME", CheckName, true},
    {Verb::kWaitExit, "waitexit", "", 0, 0, "wait up to 10 s for the plug-in to end", nullptr,
     false},
    {Verb::kRestart, "restart", "", 0, 0,
     "end the plug-in's run, then start it again with new pipes", nullptr, false},
};

// The event of a line's words; an empty text when they are right.
std::string ReadEvent(const std::vector<std::string>& words, ScriptEvent& event) {
  auto form = std::find_if(std::begin(kVerbs), std::end(kVerbs),
                           [&words](const VerbForm& f) { return words[0] == f.word; });
  if (form == std::end(kVerbs)) return "unknown verb \"" + words[0] + "\"";
  event.verb = form->verb;
  event.args.assign(words.begin() + 1, words.end());
  if (event.args.size() < form->minimum || event.args.size() > form->maximum) {
    return "usage: " + UsageOf(*form);
  }
  return form->check == nullptr ? std::string() : form->check(event.args);
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

std::span<const VerbForm> Verbs() { return kVerbs; }

std::string UsageOf(const VerbForm& form) {
  return *form.arguments == '\0' ? form.word : std::string(form.word) + ' ' + form.arguments;
}

const VerbForm& FormOf(Verb verb) {
  return *std::find_if(std::begin(kVerbs), std::end(kVerbs),
                       [verb](const VerbForm& form) { return form.verb == verb; });
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
    ScriptEvent event{number, {}, {}};
    error = ReadEvent(words, event);
    if (!error.empty()) {
      script.error = "line " + std::to_string(number) + ": " + error;
      return script;
    }
    script.events.push_back(std::move(event));
  }
  return script;
}

}  // namespace vexmoor
