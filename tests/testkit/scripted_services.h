#pragma once

#include "ui/message_box.h"
#include "ui/program_services.h"

#include <QString>

#include <deque>
#include <vector>

// A message box that answers from a script and remembers what it was asked.
class ScriptedMessageBoxes final : public platform::MessageBoxService {
public:
    struct Shown {
        QString prompt;
        int style;
        QString title;
    };

    void setNextAnswer(int result) { answers_.push_back(result); }
    int show(const QString& prompt, int style, const QString& title) override;

    const std::vector<Shown>& shown() const { return shown_; }
    // Yes/No boxes asked without an answer in the script; they answer No, the safe default.
    int unscriptedQuestions() const { return unscripted_; }
    void clear() { shown_.clear(); }

private:
    std::deque<int> answers_;
    std::vector<Shown> shown_;
    int unscripted_ = 0;
};

class RecordingProgramEnd final : public platform::ProgramEnd {
public:
    void endNow() override { ++calls_; }
    bool hasEnded() const override { return calls_ > 0; }
    int calls() const { return calls_; }

private:
    int calls_ = 0;
};
