#include <iostream>

#include "base/text.h"
#include "cli/commands.h"
#include "database/sources.h"
#include "record/user_database.h"
#include "stats/utc_time.h"
#include "store/handle.h"

namespace tessik {

void AddSourcesCommand(CLI::App& app, const LogPlace& place) {
  CLI::App* command = app.add_subcommand(
      "sources",
      "Where the games of the user's database came from: each account fetched and each import, "
      "with its games, named as forget takes them");
  command->callback([&place] {
    RecordDatabase database = ExistingDatabase(place);
    std::vector<Batch> batches = Batches(database.sql());
    for (const Source& source : Sources(database.sql())) {
      const int games = GamesOfSource(batches, source.id);
      std::cout << PrintableName(source.server) << ":" << PrintableName(source.account) << "  "
                << GamesText(games) << " fetched\n";
    }
    for (const Batch& batch : batches) {
      if (batch.kind != "import") continue;
      std::cout << "import:" << batch.id << "  " << GamesText(batch.games) << " from "
                << PrintableName(batch.file) << ", " << DateText(batch.started) << "\n";
    }
  });
}

}  // namespace tessik
