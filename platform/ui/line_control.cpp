#include "ui/line_control.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace platform {

LineControl::LineControl(QWidget* parent, const QColor& colour) : QWidget(parent), colour_(colour) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void LineControl::setEnds(QPoint from, QPoint to) {
    from_ = from;
    to_ = to;
    const QPoint topLeft(std::min(from.x(), to.x()), std::min(from.y(), to.y()));
    const QSize size(std::max(std::abs(to.x() - from.x()), 1),
                     std::max(std::abs(to.y() - from.y()), 1));
    setGeometry(QRect(topLeft, size));
}

QColor LineControl::colour() const {
    return colour_.isValid() ? colour_ : palette().color(QPalette::WindowText);
}

void LineControl::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), colour());
}

} // namespace platform
