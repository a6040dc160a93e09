#include "ui/group_frame.h"

#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionGroupBox>

namespace platform {

GroupFrame::GroupFrame(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

void GroupFrame::paintEvent(QPaintEvent* event) {
    const qreal ratio = devicePixelRatioF();
    if (look_.isNull() || look_.devicePixelRatio() != ratio || lookTitle_ != title()) {
        look_ = QImage(size() * ratio, QImage::Format_ARGB32_Premultiplied);
        look_.setDevicePixelRatio(ratio);
        look_.fill(Qt::transparent);
        lookTitle_ = title();
        // What a group box paints, frame and caption alone, with the pen, background and
        // font a painter on the widget itself would start with; the window's background
        // shows through as it does beneath a group box.
        QPainter into(&look_);
        into.setPen(QPen(palette().brush(foregroundRole()), 1));
        into.setBackground(palette().brush(backgroundRole()));
        into.setFont(font());
        QStyleOptionGroupBox option;
        initStyleOption(&option);
        style()->drawComplexControl(QStyle::CC_GroupBox, &option, &into, this);
    }
    QPainter painter(this);
    for (const QRect& rect : event->region()) {
        painter.drawImage(rect, look_,
                          QRectF(QPointF(rect.topLeft()) * ratio, QSizeF(rect.size()) * ratio));
    }
}

void GroupFrame::changeEvent(QEvent* event) {
    // Enabled, palette, font, style, activation: whatever changes may change the look.
    look_ = QImage();
    QGroupBox::changeEvent(event);
}

void GroupFrame::resizeEvent(QResizeEvent* event) {
    look_ = QImage();
    QGroupBox::resizeEvent(event);
}

} // namespace platform
