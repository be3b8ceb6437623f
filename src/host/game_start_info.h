// Process-wide records the dispatcher keeps between datagrams.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tessik {

// The user's running game, seen from the user's side.
struct GameStartInfo {
  int32_t gameResult = 0;  // seen from White: -1 "1-0", 0 "1/2-1/2", 1 "0-1", 2 anything else
  int16_t userHadWhite = 0;
  int32_t gameStartTime = 0;  // seconds since 1970, when the game-start datagram arrived
  std::string ratingTypeName;
  std::string opponentTitles;
  std::string opponentName;
  std::string ownRating;
  std::string opponentRatingText;
  std::string ownIncrement;
  std::string ownInitialTime;
  std::string ratedText;
  std::string wildNumber;
  std::string gameKeyText;
  std::string gameNumber;  // empty unless a game of the user is running
};

// What the rating datagram 87 brings an import: the user's six current ratings, in the order
// blitz, 5-minute, bullet, 1-minute, standard, 15-minute (-1 until it came).
struct ImportReply {
  std::array<int32_t, 6> ratings = {-1, -1, -1, -1, -1, -1};
};

// What a login left waiting for datagram 87.
enum PendingImport : int32_t {
  kNothingAwaited = 0,
  kFirstImport = 1,  // a new user's log is built from past games
  kConversion = 2,   // an older log is converted
};

// Written by the dispatcher at a game's start and result; read by RecordFinishedGame, which
// turns gameResult to the user's side.
extern GameStartInfo g_gameStartInfo;
// Written by the dispatcher when datagram 87 comes; read by the import and conversion handlers.
extern ImportReply g_importReply;
// Set by Login when it asks for datagram 87; cleared by the dispatcher once 87 was handled, and
// by EndSession.
extern PendingImport g_pendingImport;

}  // namespace tessik
