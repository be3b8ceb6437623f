#include <unistd.h>

#include <SQLiteCpp/Transaction.h>

#include <iostream>
#include <memory>
#include <optional>

#include "base/decimal.h"
#include "base/text.h"
#include "cli/commands.h"
#include "database/sources.h"
#include "record/data_error.h"
#include "record/user_database.h"
#include "store/handle.h"

namespace tessik {

namespace {

struct ForgetOptions {
  std::string source;
  bool yes = false;
};

// What SOURCE names: an account ("lichess:ann") or an import ("import:3").
struct Forgotten {
  std::optional<Source> account;
  std::optional<Batch> import;
  int games = 0;
};

Forgotten Find(SQLite::Database& db, const std::string& name) {
  Forgotten found;
  const std::vector<Batch> batches = Batches(db);
  for (const Source& source : Sources(db)) {
    if (source.server + ":" + source.account != name) continue;
    found.account = source;
    found.games = GamesOfSource(batches, source.id);
  }
  for (const Batch& batch : batches) {
    if (batch.kind == "import" && "import:" + std::to_string(batch.id) == name) {
      found.import = batch;
      found.games = batch.games;
    }
  }
  if (!found.account && !found.import) {
    throw DataError("no source " + PrintableName(name) + " in the database (sources lists them)");
  }
  return found;
}

// Whether the user says yes on the terminal.
bool Confirmed(const std::string& question) {
  std::cerr << question << " [y/N] " << std::flush;
  std::string answer;
  std::getline(std::cin, answer);
  return answer == "y" || answer == "Y" || answer == "yes";
}

}  // namespace

void AddForgetCommand(CLI::App& app, const LogPlace& place) {
  auto options = std::make_shared<ForgetOptions>();
  CLI::App* command = app.add_subcommand(
      "forget",
      "Removes from the user's database an account fetched (SERVER:ACCOUNT) with every game its "
      "fetches brought, or one import (import:N) with its games, after a confirmation; sources "
      "lists them. The plug-in's log is never touched");
  command->add_option("SOURCE", options->source, "lichess:ACCOUNT, chesscom:ACCOUNT or import:N")
      ->required();
  command->add_flag("--yes", options->yes, "Do not ask: needed when standard input is no terminal");
  command->callback([&place, options] {
    RecordDatabase database = ExistingDatabase(place);
    const Forgotten found = Find(database.sql(), options->source);
    const std::string what = GamesText(found.games) + " of " + PrintableName(options->source);
    if (!options->yes) {
      if (isatty(STDIN_FILENO) == 0) {
        throw DataError("forgetting " + what + " needs a confirmation: give --yes");
      }
      if (!Confirmed("Forget " + what + "?")) {
        std::cout << "Nothing forgotten\n";
        return;
      }
    }
    SQLite::Transaction transaction(database.sql());
    const int removed = found.account ? ForgetSource(database.sql(), found.account->id)
                                      : ForgetImport(database.sql(), found.import->id);
    transaction.commit();
    std::cout << "Forgot " << GamesText(removed) << " of " << PrintableName(options->source)
              << "\n";
  });
}

}  // namespace tessik
