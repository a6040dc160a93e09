// A loadable SQLite extension carrying the store's text rules, so SQLite's own tools can
// read, search and check a store: without the JETTEXT collation SQLite cannot use the
// indexes on the text columns at all.

#include "textrules/sqlite_text_functions.h"

#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

// The name SQLite derives from libjettext.so, so ".load ./libjettext" needs no entry point.
extern "C" int sqlite3_jettext_init(sqlite3* db, char** errorMessage,
                                    const sqlite3_api_routines* api) {
    SQLITE_EXTENSION_INIT2(api);
    const int rc = textrules::registerTextFunctions(db);
    if (rc != SQLITE_OK && errorMessage != nullptr) {
        *errorMessage = sqlite3_mprintf("jettext: cannot register the JETTEXT collation and "
                                        "like(): %s",
                                        sqlite3_errstr(rc));
    }
    return rc;
}
