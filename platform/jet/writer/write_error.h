#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace jet {

// Why a change to a Jet file did not happen. Every one of them leaves the file exactly as it
// was: a change is refused before anything is written, and a write that fails part-way is
// rolled back from its journal.
class WriteError : public std::runtime_error {
public:
    enum class Kind {
        // The file, its folder or its medium cannot be written.
        ReadOnly,
        // Another process of ours holds the file (reading or writing) longer than we wait.
        Busy,
        // The shop program's lock file names a user: detail holds "user\nmachine".
        InUseByShopProgram,
        DiskFull,
        Io,
        // A change cut short earlier left a journal that cannot be played back now.
        UnfinishedChange,
        // The engine's own refusals.
        DuplicateKey,
        RelatedRecordRequired, // detail: the table that lacks the record
        RelatedRecordsExist,   // detail: the table that holds them
        FieldTooSmall,
        // A text whose index key cannot be proven here: detail holds the text.
        UnknownKey,
        // A shape of key, index, page or row this writer does not change exactly.
        Unsupported,
    };

    WriteError(Kind kind, std::string detail);

    Kind kind() const noexcept { return kind_; }
    const std::string& detail() const noexcept { return detail_; }

private:
    Kind kind_;
    std::string detail_;
};

[[noreturn]] void refuseUnsupported(const std::string& what);

// Names and texts from the file, for the detail of an error.
std::string utf8(std::u16string_view text);

} // namespace jet
