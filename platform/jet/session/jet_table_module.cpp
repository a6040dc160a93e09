#include "jet/session/jet_table_module.h"

#include "jet/reader/database.h"
#include "jet/reader/index_search.h"
#include "jet/session/engine_words.h"
#include "jet/session/jet_file_session.h"
#include "jet/session/jet_sql_values.h"
#include "jet/session/jet_table_rows.h"
#include "jet/session/jet_write_state.h"
#include "textrules/sqlite_callback_guard.h"
#include "textrules/sqlite_text_functions.h"
#include "textrules/text_collator.h"

#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace platform {
namespace {

struct ModuleContext {
    explicit ModuleContext(JetWriteState& state) : database(state.database()), writes(state) {}
    const jet::Database& database;
    JetWriteState& writes;
    // Compares the rows of a lookup the index cannot answer, as the collation would.
    textrules::TextCollator collator;
};

constexpr int kNoIndex = -1;

struct JetTable : sqlite3_vtab {
    sqlite3* db = nullptr;
    // The slot of the module "jet" that made the table; none for a table of attachJetTables.
    JetFileSlot* slot = nullptr;
    std::shared_ptr<ModuleContext> context;
    const jet::UserTable* table = nullptr;
    // Per column, the index that answers equality on it, or kNoIndex.
    std::vector<int> equalityIndex;
};

struct JetCursor : sqlite3_vtab_cursor {
    explicit JetCursor(const JetTable& owner)
        : rows(owner.context->database.pages(), owner.table->definition) {}
    JetTableRows rows;
};

int fail(sqlite3_vtab* vtab, const EngineWords& words) noexcept {
    sqlite3_free(vtab->zErrMsg);
    vtab->zErrMsg = sqlite3_mprintf("%s", words.text.c_str());
    return words.code;
}

// Runs a callback's body behind the guard: a failure of the reader is reported in the
// engine's words, with its kind in the result code SQLite passes on; any other exception
// becomes the guard's.
template <typename Body> int guarded(sqlite3_vtab* vtab, Body&& body) noexcept {
    return textrules::guardedResult(&vtab->zErrMsg, std::forward<Body>(body), [vtab] {
        try {
            throw;
        } catch (const jet::ReadError& error) {
            const auto* table = static_cast<const JetTable*>(vtab);
            const int code = fail(vtab, readErrorWords(error, table->context->writes.path()));
            return error.kind() == jet::ReadError::Kind::Io ? SQLITE_IOERR : code;
        } catch (...) {
            return textrules::currentExceptionResult(&vtab->zErrMsg);
        }
    });
}

std::vector<int> equalityIndexes(const jet::TableDefinition& definition) {
    std::vector<int> result;
    for (const jet::ColumnDefinition& column : definition.columns) {
        int answering = kNoIndex;
        for (std::size_t i = 0; i < definition.indexes.size() && answering == kNoIndex; ++i) {
            if (jet::indexAnswersTextEquality(definition.indexes[i], column)) {
                answering = static_cast<int>(i);
            }
        }
        result.push_back(answering);
    }
    return result;
}

// Each table is a module of its own, named as the table, so that a statement naming it
// connects it there and then: a session pays for the tables its statements use, not for
// declaring every table of the file up front.
struct TableModule {
    std::shared_ptr<ModuleContext> context;
    std::size_t position = 0;
};

int declare(sqlite3* db, std::shared_ptr<ModuleContext> context, std::size_t position,
            JetFileSlot* slot, sqlite3_vtab** out) {
    auto table = std::make_unique<JetTable>();
    table->db = db;
    table->slot = slot;
    table->context = std::move(context);
    table->table = &table->context->database.tables()[position];
    table->equalityIndex = equalityIndexes(table->table->definition);
    if (const int rc =
            sqlite3_declare_vtab(db, jetTableDeclaration(table->table->definition).c_str());
        rc != SQLITE_OK) {
        return rc;
    }
    *out = table.release();
    return SQLITE_OK;
}

int connect(sqlite3* db, void* aux, int /*argc*/, const char* const* /*argv*/, sqlite3_vtab** out,
            char** error) noexcept {
    const auto* module = static_cast<const TableModule*>(aux);
    return textrules::guardedResult(
        error, [&] { return declare(db, module->context, module->position, nullptr, out); });
}

// The module "jet": the table a virtual table is named after, of the file its slot holds.
int connectNamed(sqlite3* db, void* aux, int argc, const char* const* argv, sqlite3_vtab** out,
                 char** error) noexcept {
    auto* slot = static_cast<JetFileSlot*>(aux);
    return textrules::guardedResult(error, [&] {
        if (!slot->file || argc < 3) {
            *error = sqlite3_mprintf("no Jet file is open here: SELECT jet_attach(file, "
                                     "password) first");
            return SQLITE_ERROR;
        }
        auto context = std::make_shared<ModuleContext>(slot->file->writes());
        const auto& tables = context->database.tables();
        for (std::size_t i = 0; i < tables.size(); ++i) {
            if (utf8Text(tables[i].name) == argv[2]) {
                return declare(db, std::move(context), i, slot, out);
            }
        }
        *error = sqlite3_mprintf("the Jet file has no table %s", argv[2]);
        return SQLITE_ERROR;
    });
}

int disconnect(sqlite3_vtab* vtab) noexcept {
    delete static_cast<JetTable*>(vtab);
    return SQLITE_OK;
}

// DROP TABLE would leave the table in the file while the user believes it gone, so only the
// slot's own clean-up lets a table go; a connection that closes disconnects its tables.
int destroy(sqlite3_vtab* vtab) noexcept {
    const auto* table = static_cast<const JetTable*>(vtab);
    if (table->slot == nullptr || !table->slot->releasing) {
        return fail(vtab, unsupportedStatementWords());
    }
    return disconnect(vtab);
}

// A renamed table would no longer name its table in the file.
int rename(sqlite3_vtab* vtab, const char*) noexcept {
    return fail(vtab, unsupportedStatementWords());
}

bool collatesAsJetText(sqlite3_index_info* info, int constraint) noexcept {
    const char* collation = sqlite3_vtab_collation(info, constraint);
    return collation != nullptr && sqlite3_stricmp(collation, textrules::kCollationName) == 0;
}

int bestIndex(sqlite3_vtab* vtab, sqlite3_index_info* info) noexcept {
    const auto* table = static_cast<const JetTable*>(vtab);
    for (int i = 0; i < info->nConstraint; ++i) {
        const auto& constraint = info->aConstraint[i];
        if (!constraint.usable || constraint.op != SQLITE_INDEX_CONSTRAINT_EQ ||
            constraint.iColumn < 0 ||
            table->equalityIndex[static_cast<std::size_t>(constraint.iColumn)] == kNoIndex ||
            !collatesAsJetText(info, i)) {
            continue;
        }
        info->aConstraintUsage[i].argvIndex = 1;
        info->aConstraintUsage[i].omit = 1;
        info->idxNum = constraint.iColumn + 1;
        info->estimatedCost = 10;
        info->estimatedRows = 10;
        return SQLITE_OK;
    }
    info->idxNum = 0;
    info->estimatedCost = static_cast<double>(table->table->definition.rowCount) + 1;
    info->estimatedRows = static_cast<sqlite3_int64>(table->table->definition.rowCount) + 1;
    return SQLITE_OK;
}

int open(sqlite3_vtab* vtab, sqlite3_vtab_cursor** out) noexcept {
    return guarded(vtab, [&] {
        *out = new JetCursor(*static_cast<const JetTable*>(vtab));
        return SQLITE_OK;
    });
}

int close(sqlite3_vtab_cursor* cursor) noexcept {
    delete static_cast<JetCursor*>(cursor);
    return SQLITE_OK;
}

void startEquality(const JetTable& table, JetTableRows& rows, std::size_t column,
                   sqlite3_value* wanted) {
    const int type = sqlite3_value_type(wanted);
    if (type == SQLITE_NULL || type == SQLITE_BLOB) {
        // Neither equals any text.
        rows.startEmpty();
        return;
    }
    const auto* text = static_cast<const char16_t*>(sqlite3_value_text16(wanted));
    const std::u16string value(text, static_cast<std::size_t>(sqlite3_value_bytes16(wanted)) / 2);
    const jet::TableDefinition& definition = table.table->definition;
    const auto index = static_cast<std::size_t>(table.equalityIndex[column]);
    auto found = jet::lookUpText(table.context->database.pages(), definition.indexes[index], value);
    if (found) {
        rows.startIndexed(std::move(*found));
        return;
    }
    const auto* utf8 = reinterpret_cast<const char*>(sqlite3_value_text(wanted));
    rows.startFilteredScan(column,
                           std::string(utf8, static_cast<std::size_t>(sqlite3_value_bytes(wanted))),
                           table.context->collator);
}

int filter(sqlite3_vtab_cursor* base, int idxNum, const char*, int argc,
           sqlite3_value** argv) noexcept {
    auto* cursor = static_cast<JetCursor*>(base);
    return guarded(base->pVtab, [&] {
        if (idxNum > 0 && argc == 1) {
            startEquality(*static_cast<const JetTable*>(base->pVtab), cursor->rows,
                          static_cast<std::size_t>(idxNum - 1), argv[0]);
        } else {
            cursor->rows.startScan();
        }
        return SQLITE_OK;
    });
}

int next(sqlite3_vtab_cursor* base) noexcept {
    return guarded(base->pVtab, [&] {
        static_cast<JetCursor*>(base)->rows.next();
        return SQLITE_OK;
    });
}

int eof(sqlite3_vtab_cursor* base) noexcept {
    return static_cast<JetCursor*>(base)->rows.atEnd() ? 1 : 0;
}

int column(sqlite3_vtab_cursor* base, sqlite3_context* context, int index) noexcept {
    // An UPDATE asks for the columns it does not set only to hand them back unchanged.
    if (sqlite3_vtab_nochange(context)) {
        return SQLITE_OK;
    }
    const int rc = guarded(base->pVtab, [&] {
        setSqlResult(context,
                     static_cast<JetCursor*>(base)->rows.value(static_cast<std::size_t>(index)));
        return SQLITE_OK;
    });
    if (rc != SQLITE_OK) {
        sqlite3_result_error(context, base->pVtab->zErrMsg ? base->pVtab->zErrMsg : "", -1);
        sqlite3_result_error_code(context, rc);
    }
    return rc;
}

int rowId(sqlite3_vtab_cursor* base, sqlite3_int64* out) noexcept {
    return guarded(base->pVtab, [&] {
        *out = static_cast<JetCursor*>(base)->rows.rowId();
        return SQLITE_OK;
    });
}

int update(sqlite3_vtab* vtab, int argc, sqlite3_value** argv, sqlite3_int64*) noexcept {
    auto* table = static_cast<JetTable*>(vtab);
    if (argc > 1 && sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        return fail(vtab, unsupportedStatementWords()); // INSERT
    }
    return table->context->writes.update(vtab, *table->table, argc, argv);
}

// A change is written, all or nothing, when its statement ends: inside BEGIN ... COMMIT a
// failed statement could not be taken back from the changes gathered for the file, so a
// change is refused there.
int begin(sqlite3_vtab* vtab) noexcept {
    auto* table = static_cast<JetTable*>(vtab);
    if (sqlite3_get_autocommit(table->db) == 0) {
        return fail(vtab, {"A Jet file is changed one statement at a time: run UPDATE or DELETE "
                           "on its own, outside BEGIN ... COMMIT.",
                           SQLITE_ERROR});
    }
    return table->context->writes.begin(vtab);
}

int sync(sqlite3_vtab* vtab) noexcept {
    return static_cast<JetTable*>(vtab)->context->writes.sync(vtab);
}

// SQLite's end of the statement's transaction, either way.
int endStatement(sqlite3_vtab* vtab) noexcept {
    return static_cast<JetTable*>(vtab)->context->writes.endStatement(vtab);
}

sqlite3_module makeModule(decltype(sqlite3_module::xConnect) connector) {
    sqlite3_module module{};
    module.iVersion = 1;
    module.xCreate = connector;
    module.xConnect = connector;
    module.xBestIndex = bestIndex;
    module.xDisconnect = disconnect;
    module.xDestroy = destroy;
    module.xRename = rename;
    module.xOpen = open;
    module.xClose = close;
    module.xFilter = filter;
    module.xNext = next;
    module.xEof = eof;
    module.xColumn = column;
    module.xRowid = rowId;
    module.xUpdate = update;
    module.xBegin = begin;
    module.xSync = sync;
    module.xCommit = endStatement;
    module.xRollback = endStatement;
    return module;
}

const sqlite3_module kModule = makeModule(connect);
const sqlite3_module kNamedModule = makeModule(connectNamed);

void destroyTableModule(void* module) noexcept {
    delete static_cast<TableModule*>(module);
}

void destroySlot(void* slot) noexcept {
    delete static_cast<JetFileSlot*>(slot);
}

} // namespace

int attachJetTables(sqlite3* db, JetWriteState& writes) {
    std::shared_ptr<ModuleContext> context;
    try {
        context = std::make_shared<ModuleContext>(writes);
    } catch (...) {
        return SQLITE_NOMEM;
    }
    const auto& tables = context->database.tables();
    for (std::size_t i = 0; i < tables.size(); ++i) {
        const std::string name = utf8Text(tables[i].name);
        // A name SQLite keeps for itself stays out of reach rather than making the whole file
        // unreadable.
        if (nameReservedBySqlite(name)) {
            continue;
        }
        TableModule* module = nullptr;
        try {
            module = new TableModule{context, i};
        } catch (...) {
            return SQLITE_NOMEM;
        }
        if (const int rc =
                sqlite3_create_module_v2(db, name.c_str(), &kModule, module, destroyTableModule);
            rc != SQLITE_OK) {
            return rc; // SQLite has already called destroyTableModule
        }
    }
    return SQLITE_OK;
}

} // namespace platform

namespace platform {

JetFileSlot* createJetModule(sqlite3* db) {
    JetFileSlot* slot = nullptr;
    try {
        slot = new JetFileSlot;
    } catch (...) {
        return nullptr;
    }
    // On failure SQLite has already called destroySlot.
    return sqlite3_create_module_v2(db, "jet", &kNamedModule, slot, destroySlot) == SQLITE_OK
               ? slot
               : nullptr;
}

} // namespace platform
