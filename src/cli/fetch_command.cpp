#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <memory>

#include "cli/choice.h"
#include "cli/commands.h"
#include "database/database_error.h"
#include "database/sources.h"
#include "fetch/fetch_into_database.h"
#include "fetch/online_fetch.h"
#include "platform/file_error.h"
#include "platform/read_file.h"
#include "record/data_error.h"
#include "store/handle.h"

namespace tessik {

namespace {

struct FetchOptions {
  std::string server, account;
  std::string tokenFile;
};

// The token: the first line of the file, or the environment's; empty without either.
std::string Token(const FetchOptions& options) {
  if (options.tokenFile.empty()) {
    const char* token = std::getenv(kLichessTokenVariable);
    return token != nullptr ? token : "";
  }
  std::string text;
  if (std::error_code error = ReadFileHead(AT_FDCWD, options.tokenFile, 4096, text)) {
    throw DataError("cannot read the token file " + PrintableName(options.tokenFile) + ": " +
                    DescribeReadError(error));
  }
  text = text.substr(0, text.find_first_of("\r\n"));
  return text;
}

// Fetches one source into database and prints what it brought. Throws DataError.
void FetchSource(RecordDatabase& database, Server server, const std::string& account,
                 const std::string& token, std::ostream& out) {
  FetchRequest request;
  request.server = server;
  request.account = account;
  request.token = server == Server::Lichess ? token : "";
  if (isatty(STDERR_FILENO) != 0) {
    request.progress = [](std::string_view line) {
      std::cerr << "  " << PrintableName(line) << "\n";
    };
  }
  FetchResult result;
  try {
    result = FetchIntoDatabase(database, request);
  } catch (const FetchError& error) {
    throw DataError(error.what());
  } catch (const SQLite::Exception& error) {
    throw DataError("cannot write the database " + PrintableName(database.path()) + ": " +
                    error.what());
  }
  out << FetchSummary(server, account, result) << "\n";
}

void RunFetch(const FetchOptions& options, const LogPlace& place, std::ostream& out) {
  const std::string user = !place.user.empty() ? place.user : options.account;
  if (user.empty()) throw CLI::ValidationError("fetch", "--user names whose sources to fetch");
  const std::string token = Token(options);
  try {
    RecordDatabase database(DatabasePlaceOf(place.database, user), true);
    if (!options.server.empty()) {
      FetchSource(database, *ServerNamed(options.server), options.account, token, out);
      return;
    }
    const std::vector<Source> sources = Sources(database.sql());
    if (sources.empty()) {
      throw DataError("nothing fetched yet into " + PrintableName(database.path()) +
                      ": name a server and an account");
    }
    for (const Source& source : sources) {
      FetchSource(database, *ServerNamed(source.server), source.account, token, out);
    }
  } catch (const DatabaseError& error) {
    throw DataError(error.what());
  }
}

}  // namespace

void AddFetchCommand(CLI::App& app, const LogPlace& place) {
  auto options = std::make_shared<FetchOptions>();
  CLI::App* command = app.add_subcommand(
      "fetch",
      "Adds an account's finished games from lichess or chess.com to the user's database (of "
      "--user, else of the account): the first time all of them, then what is new. Without "
      "arguments, every account fetched before. Stopped anywhere, it keeps the whole games it "
      "committed, and the next fetch goes on from there");
  command->add_option("SERVER", options->server, "lichess or chesscom")
      ->transform(OneOfNames({"lichess", "chesscom"}));
  command
      ->add_option("ACCOUNT", options->account,
                   "The account: letters, digits, _ and -, 1 to 30 characters")
      ->check(CLI::Validator(
          [](std::string& name) {
            return IsAccountName(name) ? std::string()
                                       : "not an account name (letters, digits, _ and -, 1 to "
                                         "30 characters)";
          },
          "ACCOUNT"));
  command->add_option("--token-file", options->tokenFile,
                      "A file whose first line is a lichess personal API token (else the "
                      "environment's TESSIK_LICHESS_TOKEN); sent to lichess only, never shown");
  command->callback([&place, options] {
    if (!options->server.empty() && options->account.empty()) {
      throw CLI::ValidationError("fetch", "name the account on " + options->server);
    }
    RunFetch(*options, place, std::cout);
  });
}

}  // namespace tessik
