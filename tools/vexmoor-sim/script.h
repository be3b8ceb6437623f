// The session scripts the substitute host plays: one event a line.
#pragma once

#include <istream>
#include <span>
#include <string>
#include <vector>

namespace vexmoor {

enum class Verb {
  kDatagram,
  kEnd,
  kPause,
  kSync,
  kVx2,
  kFile,
  kLink,
  kWaitFor,
  kGame,
  kGames,
  kShow,
  kLs,
  kWaitExit,
  kRestart,
};

// One verb of the scripts: its word, the form of its arguments, and its help line.
struct VerbForm {
  Verb verb;
  const char* word;
  const char* arguments;    // "SOURCE NUMBER [FIELD ...]"
  size_t minimum, maximum;  // how many arguments
  const char* help;         // what the host does
  // The check of the arguments beyond their count: an empty text when they are right.
  std::string (*check)(const std::vector<std::string>& args);
  bool looksAtFiles;  // only prints files of the working directory, after the plug-in's answers
};

// Every verb, in the order of the help.
std::span<const VerbForm> Verbs();
const VerbForm& FormOf(Verb verb);
// The verb and its arguments: "dg SOURCE NUMBER [FIELD ...]".
std::string UsageOf(const VerbForm& form);

struct ScriptEvent {
  int line = 0;
  Verb verb = Verb::kEnd;
  std::vector<std::string> args;
};

struct Script {
  std::vector<ScriptEvent> events;
  std::string error;  // the first fault found, with its line number; empty when none
};

// Splits a line into words: white space separates, double quotes group (with the escapes
// \r \n \" \\ \xHH inside), "#" outside quotes starts a comment. False with a reason on a fault.
bool SplitScriptLine(const std::string& line, std::vector<std::string>& words, std::string& error);

// Whether the event only prints files of the working directory (games, show, ls).
inline bool LooksAtFiles(const ScriptEvent& event) { return FormOf(event.verb).looksAtFiles; }

// Reads and checks a whole script: every verb known, every argument of the right form.
Script ReadScript(std::istream& in);

}  // namespace vexmoor
