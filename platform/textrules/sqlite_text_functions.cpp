#include "textrules/sqlite_text_functions.h"

#include "textrules/like_pattern.h"
#include "textrules/text_collator.h"

#include "textrules/sqlite_callback_guard.h"

#include <string>
#include <string_view>

namespace textrules {
namespace {

std::string_view textArgument(sqlite3_value* value) {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return {bytes ? bytes : "", static_cast<std::size_t>(sqlite3_value_bytes(value))};
}

// A collation has no way to report an error: should the rules fail (only a broken ICU can
// make them), byte order keeps the order total.
int collate(void* collator, int lengthA, const void* a, int lengthB, const void* b) noexcept {
    const std::string_view first(static_cast<const char*>(a), static_cast<std::size_t>(lengthA));
    const std::string_view second(static_cast<const char*>(b), static_cast<std::size_t>(lengthB));
    try {
        return static_cast<const TextCollator*>(collator)->compare(first, second);
    } catch (...) {
        return first.compare(second);
    }
}

void destroyCollator(void* collator) noexcept {
    delete static_cast<TextCollator*>(collator);
}

void destroyPattern(void* pattern) noexcept {
    delete static_cast<LikePattern*>(pattern);
}

void like(sqlite3_context* context, int argc, sqlite3_value** argv);

// like(pattern, text[, escape]): the argument order SQLite uses for "text LIKE pattern".
void guardedLike(sqlite3_context* context, int argc, sqlite3_value** argv) noexcept {
    guardedFunction(context, [&] { like(context, argc, argv); });
}

void like(sqlite3_context* context, int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            sqlite3_result_null(context);
            return;
        }
    }
    std::optional<char32_t> escape;
    if (argc == 3) {
        const std::u32string e = foldedCodePoints(textArgument(argv[2]));
        if (e.size() != 1) {
            sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = e.front();
    }
    auto* pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(context, 0));
    if (pattern == nullptr) {
        pattern = new LikePattern(textArgument(argv[0]), escape);
        sqlite3_set_auxdata(context, 0, pattern, destroyPattern);
        // SQLite may drop the pattern at once; ask again rather than keep a dangling pointer.
        pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(context, 0));
        if (pattern == nullptr) {
            const LikePattern once(textArgument(argv[0]), escape);
            sqlite3_result_int(context, once.matches(textArgument(argv[1])) ? 1 : 0);
            return;
        }
    }
    sqlite3_result_int(context, pattern->matches(textArgument(argv[1])) ? 1 : 0);
}

} // namespace

int registerTextFunctions(sqlite3* db) {
    TextCollator* collator = nullptr;
    try {
        collator = new TextCollator();
    } catch (...) {
        return SQLITE_ERROR;
    }
    int rc = sqlite3_create_collation_v2(db, kCollationName, SQLITE_UTF8, collator, collate,
                                         destroyCollator);
    if (rc != SQLITE_OK) {
        return rc; // SQLite has already called destroyCollator
    }
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    for (int argc : {2, 3}) {
        rc = sqlite3_create_function_v2(db, "like", argc, flags, nullptr, guardedLike, nullptr,
                                        nullptr, nullptr);
        if (rc != SQLITE_OK) {
            return rc;
        }
    }
    return SQLITE_OK;
}

} // namespace textrules
