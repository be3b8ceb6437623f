// The database a command that manages it opens: the user's, which must exist.
#pragma once

#include "database/record_database.h"
#include "record/log_place.h"

namespace tessik {

// The user's database, as --db, TESSIK_DB or the default place (of --user) give it. Throws
// DataError when there is none or it cannot be opened.
RecordDatabase ExistingDatabase(const LogPlace& place);

}  // namespace tessik
