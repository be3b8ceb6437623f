// The dispatch: the host's thread messages, its pipes as it announces them, and every message read
// from the input pipe, by type, source and number.

#include "session/dispatcher.h"

#include <cstdio>
#include <ctime>

#include "base/decimal.h"
#include "host/game_start_info.h"
#include "host/greeting.h"
#include "host/name_extraction.h"
#include "platform/last_error.h"
#include "session/import_handlers.h"
#include "session/plugin_app.h"
#include "session/record_game.h"
#include "session/score_output.h"
#include "store/handle.h"

namespace tessik {

namespace {

void OnLoginDatagram(CPluginApp& app, const Datagram& datagram) {
  const std::string& name = datagram.Field(login_field::kHandle);
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
  SendIPCValue(g_outputPipe, kMsgDropOtherDatagram, kRatingsDatagram);
  // In the order of ImportReply::ratings.
  constexpr size_t kRatingFields[] = {ratings_field::kBlitz,    ratings_field::kFiveMinute,
                                      ratings_field::kBullet,   ratings_field::kOneMinute,
                                      ratings_field::kStandard, ratings_field::kFifteenMinute};
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
  namespace field = match_field;
  const std::string& player = datagram.Field(field::kPlayer);
  const std::string& opponent =
      player == app.userName ? datagram.Field(field::kOtherPlayer) : player;
  ShowScoreForMatch(app, opponent,
                    RatingTypeFromServer(datagram.Field(field::kVariantNumber),
                                         datagram.Field(field::kRatingTypeName)));
}

void OnGameStartDatagram(CPluginApp& app, const Datagram& datagram) {
  namespace field = game_start_field;
  GameStartInfo& game = g_gameStartInfo;
  app.idleMinutes = 0;
  game.gameStartTime = static_cast<int32_t>(std::time(nullptr));
  game.gameNumber = datagram.Field(field::kGameNumber);
  game.wildNumber = datagram.Field(field::kVariantNumber);
  game.ratedText = datagram.Field(field::kRated);
  game.gameKeyText = datagram.Field(field::kGameKey);
  game.ratingTypeName = datagram.Field(field::kRatingTypeName);
  bool userIsWhite = datagram.Field(field::kWhite) == app.userName;
  game.opponentName = datagram.Field(userIsWhite ? field::kBlack : field::kWhite);
  game.ownInitialTime =
      datagram.Field(userIsWhite ? field::kWhiteInitialTime : field::kBlackInitialTime);
  game.ownIncrement = datagram.Field(userIsWhite ? field::kWhiteIncrement : field::kBlackIncrement);
  game.opponentRatingText = datagram.Field(userIsWhite ? field::kBlackRating : field::kWhiteRating);
  game.ownRating = datagram.Field(userIsWhite ? field::kWhiteRating : field::kBlackRating);
  game.opponentTitles = datagram.Field(userIsWhite ? field::kBlackTitles : field::kWhiteTitles);
  game.userHadWhite = userIsWhite ? 1 : 0;
  ShowScoreForMatch(app, game.opponentName,
                    RatingTypeFromServer(game.wildNumber, game.ratingTypeName));
}

void OnGameResultDatagram(CPluginApp& app, const Datagram& datagram) {
  g_gameStartInfo.gameNumber.clear();  // a repeated result is ignored
  g_gameStartInfo.gameResult = ResultFromWhite(datagram.Field(game_result_field::kResult));
  if (g_gameStartInfo.gameResult != kNoResult) RecordFinishedGame(app);
}

void LookUp(CPluginApp& app, const std::string& player) {
  if (!player.empty()) ShowScoreForLookup(app, player);
  app.idleMinutes = 0;
}

// The host's own events: the end of its connection, finger and assess answers.
void DispatchHostEvent(CPluginApp& app, const Datagram& datagram) {
  if (datagram.number != kConnectionClosing && !app.SessionOpen()) return;  // lookups need one
  switch (datagram.number) {
    case kConnectionClosing:
      app.EndSession();
      break;
    case kFingerAnswer:
      LookUp(app, ExtractFingerName(datagram.Field(answer_field::kText), app.userName));
      break;
    case kAssessAnswer:
      LookUp(app, ExtractAssessName(datagram.Field(answer_field::kText), app.userName));
      break;
    default:
      break;
  }
}

// Datagrams about the user's games, which belong to an open session.
bool NeedsSession(uint16_t number) {
  return number == kMatchOfferDatagram || number == kGameStartDatagram ||
         number == kGameResultDatagram;
}

// The server's datagrams.
void DispatchServerDatagram(CPluginApp& app, const Datagram& datagram) {
  if (NeedsSession(datagram.number) && !app.SessionOpen()) return;
  switch (datagram.number) {
    case kLoginDatagram:
      if (app.userName.empty()) OnLoginDatagram(app, datagram);
      break;
    case kRatingsDatagram:
      if (g_pendingImport == kFirstImport || g_pendingImport == kConversion) {
        OnImportReply(app, datagram);
      }
      break;
    case kMatchOfferDatagram:
      OnMatchDatagram(app, datagram);
      break;
    case kGameStartDatagram:
      if (datagram.Field(game_start_field::kUserPlays) == game_start_field::kUserPlaysYes) {
        OnGameStartDatagram(app, datagram);
      }
      break;
    case kGameResultDatagram:
      if (!g_gameStartInfo.gameNumber.empty() &&
          datagram.Field(game_result_field::kGameNumber) == g_gameStartInfo.gameNumber) {
        OnGameResultDatagram(app, datagram);
      }
      break;
    case kActivityDatagram:
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
    if (message.datagram.source == kHostEventSource) {
      DispatchHostEvent(app, message.datagram);
    } else {
      DispatchServerDatagram(app, message.datagram);
    }
  }
}

void DrainInputPipe(CPluginApp& app) {
  while (std::optional<HostMessage> message = ReceiveIPCMessage(g_inputPipe)) {
    DispatchHostMessage(app, *message);
  }
}

void CPluginApp::OnThreadMessage(const ThreadMessage& message) {
  if (message.message == g_ipcNewPipeMessage) {
    OnIPCNewPipe(static_cast<int32_t>(message.wParam), static_cast<int32_t>(message.lParam));
  } else if (message.message == g_ipcDataReadyMessage) {
    OnIPCDataReady(static_cast<int32_t>(message.wParam), static_cast<int32_t>(message.lParam));
  }
}

void CPluginApp::OnIPCNewPipe(int32_t pipeId, int32_t size) {
  if (IsInputPipeId(pipeId)) {
    if (!g_inputPipe.OpenIPC(pipeId, size)) {
      char line[64];
      std::snprintf(line, sizeof line, "OpenIPC failed.  GetLastError = %lx",
                    static_cast<unsigned long>(GetLastError()));
      AppendOutputLine(*this, line);
    }
  } else {
    g_outputPipe.OpenIPC(pipeId, size);  // a failure here is not reported
    SendGreeting(g_outputPipe);
  }
}

void CPluginApp::OnIPCDataReady(int32_t, int32_t) { DrainInputPipe(*this); }

}  // namespace tessik
