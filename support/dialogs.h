#pragma once

#include <QString>

namespace platform {
class MessageBoxService;
}

namespace Library1 {

// The three kinds of message the tool shows, each with its fixed title, icon and buttons.
class Dialogs {
public:
    explicit Dialogs(platform::MessageBoxService& boxes) : boxes_(boxes) {}

    void ShowError(const QString& message);
    void ShowInfo(const QString& message);
    // 6 for Yes, 7 for No; defaultYes false makes No the button Enter presses.
    short AskYesNo(const QString& message, bool defaultYes);

private:
    platform::MessageBoxService& boxes_;
};

} // namespace Library1
