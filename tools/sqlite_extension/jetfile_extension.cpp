// A loadable SQLite extension that opens Jet 4.0 files in SQLite's own programs: the text
// rules, and jet_attach(file [, password]), which makes the file's tables virtual tables of
// the connection. Reading, UPDATE and DELETE go through the same session as the window's, with
// the same lock, journal and check before every write, and the same refusals.

#include "jet/session/jet_attach.h"
#include "textrules/sqlite_text_functions.h"

#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

// The name SQLite derives from libjetfile.so, so ".load ./libjetfile" needs no entry point.
extern "C" int sqlite3_jetfile_init(sqlite3* db, char** errorMessage,
                                    const sqlite3_api_routines* api) {
    SQLITE_EXTENSION_INIT2(api);
    int rc = textrules::registerTextFunctions(db);
    if (rc == SQLITE_OK) {
        rc = platform::registerJetAttach(db);
    }
    if (rc != SQLITE_OK && errorMessage != nullptr) {
        *errorMessage = sqlite3_mprintf("jetfile: cannot register jet_attach() and the text "
                                        "rules: %s",
                                        sqlite3_errstr(rc));
    }
    return rc;
}
