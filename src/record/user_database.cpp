#include "record/user_database.h"

#include "database/database_error.h"
#include "record/data_error.h"
#include "store/handle.h"

namespace tessik {

RecordDatabase ExistingDatabase(const LogPlace& place) {
  try {
    const DatabasePlace where = DatabasePlaceOf(place.database, place.user);
    RecordDatabase database(where, false);
    if (!database.IsOpen()) throw DataError("no database " + PrintableName(where.Path()));
    return database;
  } catch (const DatabaseError& error) {
    throw DataError(error.what());
  }
}

}  // namespace tessik
