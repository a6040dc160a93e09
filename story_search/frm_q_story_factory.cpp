#include "story_search/frm_q_story_factory.h"

#include "story_search/frm_q_story.h"

std::unique_ptr<StorySearch> FrmQStoryFactory::create() {
    return std::make_unique<frmQStory>(database_, dialogs_);
}
