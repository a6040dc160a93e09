#pragma once

#include "message_box.h"

#include <QString>

#include <vector>

// Message boxes that show nothing: each is recorded and answered as the operator would
// answer the only box the search dialog shows, with OK.
class ScriptedMessageBoxes final : public platform::MessageBoxService {
public:
    struct Shown {
        QString prompt;
        int style;
        QString title;
    };

    int show(const QString& prompt, int style, const QString& title) override {
        shown.push_back({prompt, style, title});
        return platform::msgbox::ResultOk;
    }

    std::vector<Shown> shown;
};
