#include "ui/whole_characters.h"

#include <QLineEdit>

namespace platform {

QString withoutHalfCharacters(const QString& text) {
    QString whole;
    whole.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            whole += c;
            whole += text[++i];
        } else if (!c.isSurrogate()) {
            whole += c;
        }
    }
    return whole;
}

void keepWholeCharacters(QLineEdit& box) {
    QObject::connect(&box, &QLineEdit::textEdited, &box, [&box](const QString& text) {
        const QString whole = withoutHalfCharacters(text);
        if (whole.size() == text.size()) {
            return;
        }
        const int cursor = box.cursorPosition();
        box.setText(whole);
        box.setCursorPosition(std::min(cursor, static_cast<int>(whole.size())));
    });
}

} // namespace platform
