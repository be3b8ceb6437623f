// The real plug-in driven by the substitute host, as two processes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct SimRun {
  std::vector<std::string> lines;
  int status = -1;
};

// Runs vexmoor-sim on a script; arguments go before the script's name.
SimRun RunSim(const std::string& script, const std::string& arguments = "") {
  std::filesystem::path file = std::filesystem::temp_directory_path() /
                               ("tessik-e2e-" + std::to_string(getpid()) + ".session");
  std::ofstream(file) << script;
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

const std::vector<std::string> kGreeting = {"1 Tessik 1.2", "4 1",  "5 16", "5 130", "5 135", "6 0",
                                            "6 29",         "6 15", "6 16", "6 76",  "6 62"};

TEST(SimSession, PluginGreetsAndEndsWithTheConnection) {
  SimRun run = RunSim("end\n");
  ASSERT_EQ(run.lines.size(), 13u);
  EXPECT_EQ(run.lines[0].rfind("dir /", 0), 0u);
  EXPECT_EQ(std::vector<std::string>(run.lines.begin() + 1, run.lines.end() - 1), kGreeting);
  EXPECT_EQ(run.lines.back(), "exit 0");
  EXPECT_EQ(run.status, 0);
  std::string dir = run.lines[0].substr(4);
  EXPECT_FALSE(std::filesystem::exists(dir));  // the temporary directory is removed
}

TEST(SimSession, GuestLoginWritesOnlyTheSettings) {
  std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("tessik-e2e-guest-" + std::to_string(getpid()));
  std::filesystem::remove_all(dir);
  SimRun run = RunSim("dg 2 0 GuestXYZW\nsync\ndg 2 87 x 1500\nend\n", "--dir " + dir.string());
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.lines.back(), "exit 0");
  std::vector<std::string> entries;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
    entries.push_back(entry.path().lexically_relative(dir).string());
  }
  std::sort(entries.begin(), entries.end());
  EXPECT_EQ(entries, (std::vector<std::string>{"tessik", "tessik/tessik.ini"}));
  std::filesystem::remove_all(dir);
}

TEST(SimSession, ScriptFaultsAreReportedBeforeThePluginStarts) {
  SimRun run = RunSim("dg 2\n");
  EXPECT_TRUE(run.lines.empty());
  EXPECT_NE(run.status, 0);
}

TEST(SimSession, MissingPluginIsAClearFailure) {
  std::string command =
      std::string(VEXMOOR_SIM) + " --plugin /nonexistent/tessik - </dev/null 2>&1";
  FILE* out = popen(command.c_str(), "r");
  std::string text;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, out) != nullptr) text += buffer;
  EXPECT_NE(pclose(out), 0);
  EXPECT_NE(text.find("vexmoor-sim: "), std::string::npos) << text;
}

}  // namespace
