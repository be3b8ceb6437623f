// A heavy player's game log for the benchmarks: the marker, then games against numbered
// opponents ("Player0" ...) with random results, colours and clocks.
#pragma once

#include <vector>

#include "store/game_record.h"

std::vector<tessik::GameRecord> GenerateGameLog(int games, int opponents);
