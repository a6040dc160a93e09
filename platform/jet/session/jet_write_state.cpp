#include "jet/session/jet_write_state.h"

#include "jet/reader/read_error.h"
#include "jet/session/engine_words.h"
#include "jet/writer/change_writer.h"
#include "textrules/sqlite_callback_guard.h"

#include <new>

namespace platform {
namespace {

jet::RowLocation locationOf(sqlite3_int64 rowId) {
    return jet::rowAtPointer(static_cast<std::uint32_t>(rowId));
}

} // namespace

JetWriteState::JetWriteState(const jet::Database& database, jet::LockedFile& file, std::string path)
    : database_(database), file_(file), path_(std::move(path)) {}

template <typename Body> int JetWriteState::guarded(sqlite3_vtab* vtab, Body&& body) noexcept {
    return textrules::guardedResult(&vtab->zErrMsg, std::forward<Body>(body), [this, vtab] {
        sqlite3_free(vtab->zErrMsg);
        vtab->zErrMsg = nullptr;
        try {
            throw;
        } catch (const jet::WriteError& error) {
            failure_ = error;
        } catch (const jet::ReadError& error) {
            failure_ = jet::WriteError(jet::WriteError::Kind::Unsupported, error.what());
        } catch (...) {
            return textrules::currentExceptionResult(&vtab->zErrMsg);
        }
        const EngineWords words = writeErrorWords(*failure_, path_);
        vtab->zErrMsg = sqlite3_mprintf("%s", words.text.c_str());
        return words.code;
    });
}

int JetWriteState::begin(sqlite3_vtab* vtab) noexcept {
    return guarded(vtab, [&] {
        if (!writing_) {
            file_.beginWrite();
            writing_ = true;
        }
        return SQLITE_OK;
    });
}

void JetWriteState::addUpdate(const jet::UserTable& table, jet::RowLocation row, int argc,
                              sqlite3_value** argv) {
    for (int i = 2; i < argc; ++i) {
        if (sqlite3_value_nochange(argv[i])) {
            continue;
        }
        const auto column = static_cast<std::size_t>(i - 2);
        if (column_ && *column_ != column) {
            jet::refuseUnsupported("an UPDATE that sets more than one column");
        }
        column_ = column;
        jet::RowUpdate update{row, std::nullopt};
        switch (sqlite3_value_type(argv[i])) {
        case SQLITE_NULL:
            break;
        case SQLITE_TEXT: {
            const auto* text = static_cast<const char16_t*>(sqlite3_value_text16(argv[i]));
            update.text.emplace(text, static_cast<std::size_t>(sqlite3_value_bytes16(argv[i])) / 2);
            break;
        }
        default:
            jet::refuseUnsupported("an UPDATE that sets a value other than text");
        }
        updates_.push_back(std::move(update));
    }
    table_ = &table;
}

int JetWriteState::update(sqlite3_vtab* vtab, const jet::UserTable& table, int argc,
                          sqlite3_value** argv) noexcept {
    return guarded(vtab, [&] {
        if ((table_ && table_ != &table) || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
            jet::refuseUnsupported("only UPDATE and DELETE of one table's rows are written");
        }
        const jet::RowLocation row = locationOf(sqlite3_value_int64(argv[0]));
        if (argc == 1) {
            if (!updates_.empty()) {
                jet::refuseUnsupported("a statement that both updates and deletes rows");
            }
            deletions_.push_back(row);
            table_ = &table;
            return SQLITE_OK;
        }
        if (!deletions_.empty() || sqlite3_value_int64(argv[0]) != sqlite3_value_int64(argv[1])) {
            jet::refuseUnsupported("an UPDATE that moves a row");
        }
        addUpdate(table, row, argc, argv);
        return SQLITE_OK;
    });
}

int JetWriteState::sync(sqlite3_vtab* vtab) noexcept {
    if (table_ == nullptr || (updates_.empty() && deletions_.empty())) {
        return SQLITE_OK;
    }
    return guarded(vtab, [&] {
        if (deletions_.empty()) {
            jet::writeUpdate(file_, database_, {table_, *column_, updates_});
        } else {
            jet::writeDeletion(file_, database_, {table_, deletions_});
        }
        reset();
        return SQLITE_OK;
    });
}

void JetWriteState::reset() noexcept {
    table_ = nullptr;
    column_.reset();
    updates_.clear();
    deletions_.clear();
}

// The statement is over, written or not: other readers may come in again. Should letting go of
// the exclusive lock fail, other sessions are kept out until this one closes, and say so.
int JetWriteState::endStatement(sqlite3_vtab* vtab) noexcept {
    reset();
    return guarded(vtab, [&] {
        if (writing_) {
            writing_ = false;
            file_.endWrite();
        }
        return SQLITE_OK;
    });
}

} // namespace platform
