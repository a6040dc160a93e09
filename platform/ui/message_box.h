#pragma once

#include <QString>

#include <memory>

class QMessageBox;
class QWidget;

namespace platform {

// Style flags and results of the platform message box, as the tool's callers pass them.
namespace msgbox {
inline constexpr int OkOnly = 0;
inline constexpr int YesNo = 4;
inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
inline constexpr int DefaultButton2 = 256;

inline constexpr int ResultOk = 1;
inline constexpr int ResultYes = 6;
inline constexpr int ResultNo = 7;
} // namespace msgbox

// Shows a modal message box and returns the pressed button's result code. Tests replace it
// with a scripted one.
class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    virtual int show(const QString& prompt, int style, const QString& title) = 0;
};

// The real thing: a modal box over the active window, which has the keyboard back once the
// box is answered.
class QtMessageBoxService final : public MessageBoxService {
public:
    int show(const QString& prompt, int style, const QString& title) override;
};

// The box QtMessageBoxService shows, built but not yet shown (screenshots use it too).
std::unique_ptr<QMessageBox> buildMessageBox(const QString& prompt, int style,
                                             const QString& title);

} // namespace platform
