#pragma once

#include "story_search/story_search.h"

namespace Library1 {
class DatabaseAccess;
class Dialogs;
} // namespace Library1

// Makes a new search dialog for every opening, on the run's database and message boxes, so
// no opening sees what an earlier one listed or chose.
class FrmQStoryFactory final : public StorySearchFactory {
public:
    FrmQStoryFactory(Library1::DatabaseAccess& database, Library1::Dialogs& dialogs)
        : database_(database), dialogs_(dialogs) {}

    std::unique_ptr<StorySearch> create() override;

private:
    Library1::DatabaseAccess& database_;
    Library1::Dialogs& dialogs_;
};
