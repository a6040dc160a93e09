#pragma once

#include <QKeyCombination>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

// What a real message box showed when it was answered.
struct SeenBox {
    QString text;
    QStringList buttons; // each button's text, with " +icon" after it where it shows one
    QString defaultButton;
};

// Answers the real message boxes from the keyboard, as the operator does: each box, once it is
// the active window, gets one key press in the widget that has the focus. The boxes take the
// presses in turn, the last press answering every box after it. A box the press leaves open is
// closed after a few seconds and counted, so a key that answers nothing fails the test instead of
// hanging it.
class MessageBoxAnswers final : public QObject {
public:
    explicit MessageBoxAnswers(QList<QKeyCombination> presses);
    ~MessageBoxAnswers() override;

    const QList<SeenBox>& seen() const { return seen_; }
    int leftOpen() const { return leftOpen_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QKeyCombination> presses_;
    QList<SeenBox> seen_;
    int leftOpen_ = 0;
};
