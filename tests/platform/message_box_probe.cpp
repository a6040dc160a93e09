// Shows the tool's message boxes in a process of its own, on the platform and desktop its
// environment names, and answers each from the keyboard; prints what each box showed and what
// it answered, a line a box.
//
//   message_box_probe <style>:<key> ...     e.g. 292:Alt+Y 16:Alt+O

#include "tests/testkit/message_box_answers.h"
#include "ui/message_box.h"
#include "ui/platform_texts.h"

#include <QApplication>
#include <QKeySequence>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    platform::installThaiPlatformTexts();
    QList<int> styles;
    QList<QKeyCombination> presses;
    for (int i = 1; i < argc; ++i) {
        const QStringList parts = QString::fromLocal8Bit(argv[i]).split(u':');
        styles << parts.value(0).toInt();
        presses << QKeySequence::fromString(parts.value(1))[0];
    }
    MessageBoxAnswers answers(presses);
    platform::QtMessageBoxService boxes;
    QList<int> results;
    for (int style : styles) {
        results << boxes.show(QStringLiteral("คำถาม"), style, QStringLiteral("คำถาม"));
    }
    for (qsizetype i = 0; i < answers.seen().size(); ++i) {
        const SeenBox& seen = answers.seen()[i];
        std::printf("%s | default %s | answer %d\n", qPrintable(seen.buttons.join(", ")),
                    qPrintable(seen.defaultButton), results.value(i));
    }
    std::printf("left open %d\n", answers.leftOpen());
    return 0;
}
