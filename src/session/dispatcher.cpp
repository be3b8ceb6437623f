#include "session/dispatcher.h"

#include <ctime>

#include "base/decimal.h"
#include "host/game_start_info.h"
#include "host/name_extraction.h"
#include "session/import_handlers.h"
#include "session/plugin_app.h"
#include "session/record_game.h"
#include "session/score_output.h"
#include "store/handle.h"

namespace tessik {

namespace {

void OnLoginDatagram(CPluginApp& app, const Datagram& datagram) {
  const std::string& name = datagram.Field(0);
  if (name.empty()) return;  // no handle, no session
  app.userName = name;
  app.guestSession = IsGuestHandle(name);
  app.userFilesBlocked = !app.guestSession && !IsSafeFileHandle(name);
  if (app.guestSession) {
    AppendOutputLine(app, "You logged in as anonymous player or guest.");
    AppendOutputLine(app, "This plugin will work for this session,");
    AppendOutputLine(app, "but no data will be saved to disk.");
  } else if (app.userFilesBlocked) {
    AppendOutputLine(app, "The handle \"" + PrintableName(name) +
                              "\" cannot be part of a file name: nothing will be read from or "
                              "saved to disk in this session.");
  }
  app.Login();
}

void OnImportReply(CPluginApp& app, const Datagram& datagram) {
  SendIPCValue(g_outputPipe, kMsgDropOtherDatagram, 87);
  constexpr size_t kRatingFields[] = {1, 7, 3, 8, 2, 10};
  for (size_t i = 0; i < g_importReply.ratings.size(); ++i) {
    g_importReply.ratings[i] = ParseDecimal(datagram.Field(kRatingFields[i]));
  }
  if (g_pendingImport == kFirstImport) {
    ImportPastGames(app);
  } else {
    ConvertOldLog(app);
  }
  g_pendingImport = kNothingAwaited;
}

// A match offer may come while a game runs: it uses copies of its own, so the running game
// keeps its opponent, rating type and variant for the record.
void OnMatchDatagram(CPluginApp& app, const Datagram& datagram) {
  const std::string& opponent =
      datagram.Field(0) == app.userName ? datagram.Field(4) : datagram.Field(0);
  ShowScoreForMatch(app, opponent, RatingTypeFromServer(datagram.Field(8), datagram.Field(9)));
}

void OnGameStartDatagram(CPluginApp& app, const Datagram& datagram) {
  GameStartInfo& game = g_gameStartInfo;
  app.idleMinutes = 0;
  game.gameStartTime = static_cast<int32_t>(std::time(nullptr));
  game.gameNumber = datagram.Field(0);
  game.wildNumber = datagram.Field(3);
  game.ratedText = datagram.Field(5);
  game.gameKeyText = datagram.Field(14);
  game.ratingTypeName = datagram.Field(4);
  bool userIsWhite = datagram.Field(1) == app.userName;
  game.opponentName = datagram.Field(userIsWhite ? 2 : 1);
  game.ownInitialTime = datagram.Field(userIsWhite ? 6 : 8);
  game.ownIncrement = datagram.Field(userIsWhite ? 7 : 9);
  game.opponentRatingText = datagram.Field(userIsWhite ? 13 : 12);
  game.ownRating = datagram.Field(userIsWhite ? 12 : 13);
  game.opponentTitles = datagram.Field(userIsWhite ? 16 : 15);
  game.userHadWhite = userIsWhite ? 1 : 0;
  ShowScoreForMatch(app, game.opponentName,
                    RatingTypeFromServer(game.wildNumber, game.ratingTypeName));
}

void OnGameResultDatagram(CPluginApp& app, const Datagram& datagram) {
  g_gameStartInfo.gameNumber.clear();  // a repeated result is ignored
  g_gameStartInfo.gameResult = ResultFromWhite(datagram.Field(3));
  if (g_gameStartInfo.gameResult != kNoResult) RecordFinishedGame(app);
}

void LookUp(CPluginApp& app, const std::string& player) {
  if (!player.empty()) ShowScoreForLookup(app, player);
  app.idleMinutes = 0;
}

// Source 1: the numbers asked for with type 5.
void DispatchTableA(CPluginApp& app, const Datagram& datagram) {
  if (datagram.number != 16 && !app.SessionOpen()) return;  // lookups need a session
  switch (datagram.number) {
    case 16:
      app.EndSession();
      break;
    case 130:
      LookUp(app, ExtractFingerName(datagram.Field(0), app.userName));
      break;
    case 135:
      LookUp(app, ExtractAssessName(datagram.Field(0), app.userName));
      break;
    default:
      break;
  }
}

// Datagrams about the user's games, which belong to an open session.
bool NeedsSession(uint16_t number) { return number == 29 || number == 15 || number == 16; }

// Other sources: the numbers asked for with type 6.
void DispatchTableB(CPluginApp& app, const Datagram& datagram) {
  if (NeedsSession(datagram.number) && !app.SessionOpen()) return;
  switch (datagram.number) {
    case 0:
      if (app.userName.empty()) OnLoginDatagram(app, datagram);
      break;
    case 87:
      if (g_pendingImport == kFirstImport || g_pendingImport == kConversion) {
        OnImportReply(app, datagram);
      }
      break;
    case 29:
      OnMatchDatagram(app, datagram);
      break;
    case 15:
      if (datagram.Field(10) == "1") OnGameStartDatagram(app, datagram);
      break;
    case 16:
      if (!g_gameStartInfo.gameNumber.empty() && datagram.Field(0) == g_gameStartInfo.gameNumber) {
        OnGameResultDatagram(app, datagram);
      }
      break;
    case 62:
      app.idleMinutes = 0;
      break;
    default:
      break;
  }
}

}  // namespace

void DispatchHostMessage(CPluginApp& app, const HostMessage& message) {
  if (message.type == kMsgConnectionEnded) {
    app.EndSession();
  } else if (message.type == kMsgDatagram) {
    if (message.datagram.source == 1) {
      DispatchTableA(app, message.datagram);
    } else {
      DispatchTableB(app, message.datagram);
    }
  }
}

void DrainInputPipe(CPluginApp& app) {
  while (std::optional<HostMessage> message = ReceiveIPCMessage(g_inputPipe)) {
    DispatchHostMessage(app, *message);
  }
}

}  // namespace tessik
