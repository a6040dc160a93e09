#pragma once

#include <QString>

#include <memory>

// The story search dialog as its caller sees it: shown modally, then read through its public
// result members, then released. Each opening uses a fresh object.
class StorySearch {
public:
    virtual ~StorySearch() = default;

    // Shows the dialog modally, with no owner window; returns once it has closed.
    virtual void ShowModal() = 0;

    bool SelectedFlag = false; // true only when closed by OK with a row selected
    QString retStrID;          // the chosen row's story code
    QString retStrName;        // the chosen row's story name
};

// Makes fresh dialog objects. The real one builds the search window; tests script their own.
class StorySearchFactory {
public:
    virtual ~StorySearchFactory() = default;
    virtual std::unique_ptr<StorySearch> create() = 0;
};
