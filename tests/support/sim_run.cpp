#include "support/sim_run.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "store/game_record.h"

namespace tessik {

SimRun RunSim(const std::string& script, const std::string& arguments) {
  std::filesystem::path file = std::filesystem::temp_directory_path() /
                               ("tessik-e2e-" + std::to_string(getpid()) + ".session");
  std::ofstream(file, std::ios::binary) << script;
  std::string command = std::string(VEXMOOR_SIM) + " --plugin " + TESSIK_PLUGIN + " " + arguments +
                        " " + file.string();
  SimRun run;
  FILE* out = popen(command.c_str(), "r");
  char buffer[4096];
  while (out != nullptr && std::fgets(buffer, sizeof buffer, out) != nullptr) {
    std::string line = buffer;
    if (!line.empty() && line.back() == '\n') line.pop_back();
    run.lines.push_back(line);
  }
  if (out != nullptr) run.status = pclose(out);
  std::filesystem::remove(file);
  return run;
}

std::vector<std::string> ConsoleLines(const SimRun& run) {
  std::vector<std::string> console;
  for (const std::string& line : run.lines) {
    if (line.rfind("3 ", 0) == 0) console.push_back(line);
  }
  return console;
}

std::filesystem::path FreshDirectory(const std::string& name) {
  std::filesystem::path dir = std::filesystem::temp_directory_path() /
                              ("tessik-e2e-" + name + "-" + std::to_string(getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir / "tessik");
  return dir;
}

namespace {

std::string Bytes(const GameRecord& record) {
  unsigned char bytes[kGameRecordBytes];
  EncodeGameRecord(record, bytes);
  return std::string(bytes, bytes + sizeof bytes);
}

}  // namespace

std::string RecordBytes(const std::string& opponent, int8_t result) {
  GameRecord record;
  SetOpponent(record, opponent);
  record.result = result;
  return Bytes(record);
}

std::string MarkerBytes() { return Bytes(MarkerRecord()); }

}  // namespace tessik
