#include "import/import_handlers.h"

namespace tessik {

// The import and the conversion need the game log; until it exists they do nothing.
void ImportPastGames(CPluginApp&) {}

void ConvertOldLog(CPluginApp&) {}

}  // namespace tessik
