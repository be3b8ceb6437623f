// The session scripts the substitute host plays: one event a line.
#pragma once

#include <istream>
#include <string>
#include <vector>

namespace vexmoor {

struct ScriptEvent {
  int line = 0;
  std::string verb;
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
bool LooksAtFiles(const ScriptEvent& event);

// Reads and checks a whole script: every verb known, every argument of the right form.
Script ReadScript(std::istream& in);

}  // namespace vexmoor
