#include "tests/testkit/typing.h"

#include <QTest>

void typeText(QWidget* widget, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const Qt::Key key = text[i] == u' ' ? Qt::Key_Space : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, widget, key, text.mid(i, length), Qt::NoModifier);
        i += length - 1;
    }
}
