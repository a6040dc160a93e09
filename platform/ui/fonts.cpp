#include "ui/fonts.h"

#include <QStringList>

namespace platform {

void installFontSubstitutes() {
    const QStringList thaiCapable = {
        QStringLiteral("Loma"),           QStringLiteral("Garuda"),
        QStringLiteral("Waree"),          QStringLiteral("Tlwg Typo"),
        QStringLiteral("Noto Sans Thai"), QStringLiteral("DejaVu Sans")};
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), thaiCapable);
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), thaiCapable);
}

QFont layoutFont(const QString& family, double pointSize, bool bold) {
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

} // namespace platform
