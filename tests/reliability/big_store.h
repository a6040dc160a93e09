#pragma once

#include <QString>

// The stock of a shop with one very large story, for the tests that move all of its copies:
// OLD-1 has 100,000 copies, NEW-1 has 7 and OTHER-1 has 5; all three stories exist.
namespace big_store {

inline constexpr long long kOldCopies = 100000;
inline constexpr long long kNewCopies = 7;
inline constexpr long long kOtherCopies = 5;
inline constexpr long long kAllCopies = kOldCopies + kNewCopies + kOtherCopies;

// Copies the store, built once per test program, into folder as book.mdb; returns its path.
QString copyInto(const QString& folder);

// What a store holds after a change was tried, read through the tool's own database module.
struct State {
    QString integrity; // SQLite's integrity check: "ok" for a sound file
    long long oldCopies = -1;
    long long newCopies = -1;
    long long otherCopies = -1;
    long long totalCopies = -1;
    bool oldStory = false;
    bool newStory = false;
    bool otherStory = false;

    // Either nothing moved, or every copy moved (with or without the old story).
    bool noneMoved() const;
    bool allMoved() const;
    QString describe() const;
};

State read(const QString& storePath);

} // namespace big_store
