#include "ui/fitted_text_label.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

namespace platform {

namespace {

// The largest size of font, at most its own, at which text is no wider than width pixels.
QFont fontFittingWidth(const QFont& font, const QString& text, int width) {
    QFont fitted = font;
    constexpr double kStep = 0.25; // points
    constexpr double kSmallest = 1.0;
    while (QFontMetrics(fitted).horizontalAdvance(text) > width &&
           fitted.pointSizeF() - kStep >= kSmallest) {
        fitted.setPointSizeF(fitted.pointSizeF() - kStep);
    }
    return fitted;
}

} // namespace

FittedTextLabel::FittedTextLabel(QWidget* parent) : QLabel(parent) {}

void FittedTextLabel::paintEvent(QPaintEvent* event) {
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    // A pixel of air on either side: text that touches the frame reads as cut.
    const int room = area.width() - 2;
    if (QFontMetrics(font()).horizontalAdvance(text()) <= room) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    drawFrame(&painter);
    painter.setFont(fontFittingWidth(font(), text(), room));
    style()->drawItemText(&painter, area, static_cast<int>(alignment()), palette(), isEnabled(),
                          text(), foregroundRole());
}

} // namespace platform
