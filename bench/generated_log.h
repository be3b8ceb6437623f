// A heavy player's game log for the benchmarks: the marker, then games against numbered
// opponents ("Player0" ...) with random results, colours and clocks.
#pragma once

#include <benchmark/benchmark.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "store/game_record.h"

std::vector<tessik::GameRecord> GenerateGameLog(int games, int opponents);

// A folder of this process's own holding such a log as the plug-in keeps it, tessik/ann.glg;
// removed with the folder at the end.
struct GeneratedLogFolder {
  GeneratedLogFolder(int games, int opponents);
  ~GeneratedLogFolder();
  std::filesystem::path directory;
  std::filesystem::path DataDirectory() const { return directory / "tessik"; }
  std::filesystem::path LogPath() const { return DataDirectory() / "ann.glg"; }
};

// Runs a shell command once per iteration; a failure stops the benchmark with an error.
void RunCommand(benchmark::State& state, const std::string& command);
// Runs work once an iteration in a child process, as a program started afresh runs: its memory
// is new, as a command's is. work says whether it succeeded.
void RunInChildProcess(benchmark::State& state, const std::function<bool()>& work);
