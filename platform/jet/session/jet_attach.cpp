#include "jet/session/jet_attach.h"

#include "jet/session/engine_words.h"
#include "jet/session/jet_file_session.h"
#include "jet/session/jet_sql_values.h"
#include "jet/session/jet_table_module.h"
#include "textrules/sqlite_callback_guard.h"

#include <string>
#include <vector>

namespace platform {
namespace {

std::u16string textArgument(sqlite3_value* value) {
    const auto* text = static_cast<const char16_t*>(sqlite3_value_text16(value));
    if (text == nullptr) {
        return {};
    }
    return {text, static_cast<std::size_t>(sqlite3_value_bytes16(value)) / 2};
}

// The schema the tables go to: a database file of the user's is never written.
const char* schemaFor(sqlite3* db) {
    const char* file = sqlite3_db_filename(db, "main");
    return file == nullptr || *file == '\0' ? "main" : "temp";
}

// Runs sql on db; false with the failure as the function's error.
bool run(sqlite3_context* context, sqlite3* db, const std::string& sql) {
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        sqlite3_result_error(context, message != nullptr ? message : sqlite3_errstr(rc), -1);
        sqlite3_result_error_code(context, rc);
    }
    sqlite3_free(message);
    return rc == SQLITE_OK;
}

// Makes the file's tables virtual tables of db; on failure takes back those already made and
// lets the file go, so that the connection is as it was.
void createTables(sqlite3_context* context, sqlite3* db, JetFileSlot& slot) {
    const std::string schema = schemaFor(db);
    std::vector<std::string> created;
    for (const jet::UserTable& table : slot.file->writes().database().tables()) {
        if (nameReservedBySqlite(utf8Text(table.name))) {
            continue;
        }
        const std::string name = schema + '.' + sqlIdentifier(table.name);
        if (!run(context, db,
                 "CREATE VIRTUAL TABLE " + name + " USING jet(" +
                     jetColumnDeclarations(table.definition) + ')')) {
            slot.releasing = true;
            bool allGone = true;
            for (const std::string& made : created) {
                allGone = sqlite3_exec(db, ("DROP TABLE " + made).c_str(), nullptr, nullptr,
                                       nullptr) == SQLITE_OK &&
                          allGone;
            }
            slot.releasing = false;
            // A table still there reads the file: the file stays open for it.
            if (allGone) {
                slot.file.reset();
            }
            return;
        }
        created.push_back(name);
    }
    sqlite3_result_int64(context, static_cast<sqlite3_int64>(created.size()));
}

void attach(sqlite3_context* context, int argc, sqlite3_value** argv) noexcept {
    textrules::guardedFunction(context, [&] {
        auto* slot = static_cast<JetFileSlot*>(sqlite3_user_data(context));
        if (argc < 1 || argc > 2 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
            sqlite3_result_error(context, "use: jet_attach(file [, password])", -1);
            return;
        }
        if (slot->file) {
            sqlite3_result_error(context,
                                 "a Jet file is already attached to this connection: open "
                                 "another for another file",
                                 -1);
            return;
        }
        const std::string path = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
        try {
            slot->file = JetFileSession::open(path, argc == 2 ? textArgument(argv[1]) : u"");
        } catch (const EngineFailure& failure) {
            sqlite3_result_error(context, failure.what(), -1);
            sqlite3_result_error_code(context, failure.code());
            return;
        }
        createTables(context, sqlite3_context_db_handle(context), *slot);
    });
}

} // namespace

int registerJetAttach(sqlite3* db) {
    JetFileSlot* slot = createJetModule(db);
    if (slot == nullptr) {
        return SQLITE_ERROR;
    }
    // Direct only: opening and locking a file is not for a view or a trigger to do.
    return sqlite3_create_function_v2(db, "jet_attach", -1, SQLITE_UTF8 | SQLITE_DIRECTONLY, slot,
                                      attach, nullptr, nullptr, nullptr);
}

} // namespace platform
