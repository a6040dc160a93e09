#pragma once

// SQLite calls the callbacks of our collation, SQL functions and virtual tables from its C
// code, which an exception cannot cross: one that left a callback would end the process. Every
// such callback is noexcept and runs its body behind this guard, which turns any exception into
// an SQLite result code and, where SQLite takes one, an error message.

#include "textrules/sqlite_api.h"

#include <exception>
#include <new>

namespace textrules {

// The result code for the exception being handled (call it only inside a catch block):
// SQLITE_NOMEM for a failed allocation, SQLITE_ERROR otherwise. Its text replaces *message
// (allocated by SQLite, freed by SQLite) where a message is asked for.
inline int currentExceptionResult(char** message) noexcept {
    int code = SQLITE_ERROR;
    const char* text = "an unexpected error";
    try {
        throw;
    } catch (const std::bad_alloc&) {
        code = SQLITE_NOMEM;
        text = nullptr;
    } catch (const std::exception& error) {
        text = error.what();
    } catch (...) {
    }
    if (message != nullptr) {
        sqlite3_free(*message);
        *message = text != nullptr ? sqlite3_mprintf("%s", text) : nullptr;
    }
    return code;
}

// Runs body, which gives an SQLite result code. An exception becomes translate()'s code,
// translate being called inside the catch block so that it can look at the exception; one that
// translate itself throws becomes currentExceptionResult's.
template <typename Body, typename Translate>
int guardedResult(char** message, Body&& body, Translate&& translate) noexcept {
    try {
        return body();
    } catch (...) {
        try {
            return translate();
        } catch (...) {
            return currentExceptionResult(message);
        }
    }
}

template <typename Body> int guardedResult(char** message, Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return currentExceptionResult(message);
    }
}

// For an SQL function: an exception becomes the function's error.
template <typename Body> void guardedFunction(sqlite3_context* context, Body&& body) noexcept {
    try {
        body();
    } catch (...) {
        char* message = nullptr;
        if (currentExceptionResult(&message) == SQLITE_NOMEM) {
            sqlite3_result_error_nomem(context);
        } else {
            sqlite3_result_error(context, message != nullptr ? message : "error", -1);
        }
        sqlite3_free(message);
    }
}

} // namespace textrules
