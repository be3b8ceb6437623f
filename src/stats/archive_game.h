// One game of a PGN archive (the host's own, an online server's export, or any standard PGN) as
// a record of the user's game log.
#pragma once

#include <climits>
#include <string>
#include <string_view>

#include "import/pgn_game.h"
#include "stats/game.h"
#include "store/game_record.h"

namespace tessik {

// Where a PGN comes from: the host's server-style PGN (read with the plug-in's import rules),
// an online server's export, or any standard PGN.
enum class PgnFormat { Auto, Server, Online, Standard };

// A game without a clock (no TimeControl, "-" or "?": over the board, unlimited correspondence)
// is stored with this many initial minutes: its expected duration files it as standard.
inline constexpr int32_t kNoClockMinutes = INT32_MAX;

// Why a game of the archive is not added.
enum class LeftOut { Kept, NotTheUser, NoResult, Variant, count };

// The tags the archive import reads: those of the plug-in's import, and those of the online
// servers' exports; others are passed over.
struct ArchiveTags {
  static constexpr uint64_t kEmptyDigest = 0xcbf29ce484222325;  // FNV-1a's start
  PgnTags server;
  std::string site, utcDate, utcTime, startTime, variant, whiteTitle, blackTitle;
  std::string link, termination, whiteRatingDiff, blackRatingDiff, eco, opening, ecoUrl;
  uint64_t digest = kEmptyDigest;  // of every tag pair, in order: the game's content

  void Take(std::string_view name, std::string_view value);
  void Clear();
};

// The format of a game when auto-detected: an online export has UTC or start-time tags or a
// variant tag; a game of the host's PGN has the server's result tag (KeshResult), or the site
// Kesh, or a Time tag and an Event as the server writes it ("rated ...", "unrated ..."); anything
// else is standard. Online and standard games are read by the same rules.
PgnFormat DetectFormat(const ArchiveTags& tags);

// The record of the game seen from player (the user's name in the archive; the server format
// compares it exactly, the others without regard to letter case), or why it is left out.
//
// Online and standard games: the start from UTCDate and UTCTime, else Date and StartTime or
// Time, taken as UTC (a day without a time: its midnight; an unknown date: -1); the ratings
// from WhiteElo and BlackElo ("?" unknown: 0); the clock from TimeControl, "base+increment" or
// "base" in seconds, "moves/seconds" of a first period, "1/seconds" for correspondence, whole
// minutes rounded to the nearest; unrated when the Event says casual or unrated; the variant
// from the Variant tag (Chess960 and Fischerandom wild 22, Crazyhouse 23, Three-check 25,
// Antichess and Giveaway 26, Atomic 27; others left out); titles from WhiteTitle and
// BlackTitle (BOT: a computer), else unknown.
LeftOut ArchiveRecord(const ArchiveTags& tags, std::string_view player, PgnFormat format,
                      StartTimes& startTimes, GameRecord& record);

// The start of an online or standard game, seconds UTC: UTCDate and UTCTime, else Date and
// StartTime or Time (a day without a time: its midnight); kUnknownStartTime without a date.
int64_t OnlineStart(const ArchiveTags& tags);

// The online servers' name of a variant the log numbers (22: "Chess960"); empty for ordinary
// chess and the host's other variants.
std::string_view VariantOfWild(uint8_t wild);

// The game as ArchiveRecord reads it, with what the tags say beyond the record: the whole
// names; the start beyond 32 bits; the server and the game's id there: lichess's from its Site
// ("https://lichess.org/ID"), chess.com's from its Link (".../game/live/ID": "live/ID"), and for
// any other game ("kesh" for the host's PGN, else "pgn", and a chess.com game without a link)
// one made from all its tag pairs, so that the same game twice is one; the exact clock (days
// per move from "1/SECONDS"); the termination, the rating changes, the variant, the opening
// (ECO and Opening; without an Opening, the name ending chess.com's ECOUrl, ".../openings/
// Italian-Game-Two-Knights": "Italian Game Two Knights"), the link and the titles; lichess's
// time class from its Event ("Rated Blitz game": "blitz").
LeftOut ArchiveGame(const ArchiveTags& tags, std::string_view player, PgnFormat format,
                    StartTimes& startTimes, Game& game);

}  // namespace tessik
