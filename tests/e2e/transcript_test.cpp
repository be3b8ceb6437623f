// Whole sessions as a host plays them: each tests/e2e/sessions/NAME.session is played by the
// substitute host with the real plug-in in a fresh directory, and what the host prints (the
// plug-in's messages and the files the script looks at) must equal NAME.expected line for line.
// With TESSIK_UPDATE_TRANSCRIPTS=1 the expected files are written instead: review the diff.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/sim_run.h"
#include "support/temp_directory.h"

namespace tessik {
namespace {

namespace fs = std::filesystem;

const fs::path kSessions = fs::path(TESTS_DIRECTORY) / "e2e/sessions";

std::vector<std::string> SessionNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(kSessions)) {
    if (entry.path().extension() == ".session") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class Transcript : public ::testing::TestWithParam<std::string> {};

TEST_P(Transcript, HostSeesWhatItExpects) {
  TempDirectory dir;
  fs::create_directory(dir / "tessik");
  // Dates in PGN files are local times: the same in every time zone here.
  SimRun run = RunSim(dir, ReadFile(kSessions / (GetParam() + ".session")), {},
                      [] { return setenv("TZ", "UTC", 1) == 0; });
  std::string printed;
  for (const std::string& line : run.lines) {
    printed += (line.rfind("dir ", 0) == 0 ? "dir" : line) + "\n";
  }
  if (run.status != 0) {
    std::string errors = run.errors;
    for (size_t at; (at = errors.find(run.script)) != std::string::npos;) {
      errors.replace(at, run.script.size(), "SCRIPT");
    }
    printed += "status " + std::to_string(run.status) + "\n" + errors;
  }
  fs::path expected = kSessions / (GetParam() + ".expected");
  if (const char* update = std::getenv("TESSIK_UPDATE_TRANSCRIPTS"); update && *update == '1') {
    WriteFile(expected, printed);
  }
  EXPECT_EQ(printed, ReadFile(expected));
}

INSTANTIATE_TEST_SUITE_P(Sessions, Transcript, ::testing::ValuesIn(SessionNames()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace tessik
