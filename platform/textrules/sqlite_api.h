#pragma once

// SQLite's interface as this code is built: linked against the library, or inside a loadable
// extension, where every call goes through the routines the loading program hands over.

#ifdef TEXTRULES_SQLITE_EXTENSION
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT3
#else
#include <sqlite3.h>
#endif
