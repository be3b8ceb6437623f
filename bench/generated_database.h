// A heavy player's database for the benchmarks: the games of GenerateGameLog as lichess games
// of numbered opponents ("Player0" ...), written as imports write them, in big transactions.
#pragma once

#include <string>

// Writes such a database of games against opponents at path (a new file), for user ann.
void WriteGeneratedDatabase(const std::string& path, int games, int opponents);
