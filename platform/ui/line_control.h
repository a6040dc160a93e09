#pragma once

#include <QColor>
#include <QPoint>
#include <QWidget>

namespace platform {

// A one-pixel line between two points of its container, drawn as a thin control of its own
// so it can be named and placed like the other controls. Lines here are horizontal or
// vertical; the end point itself is not drawn, so a line is as long as its ends are apart.
class LineControl : public QWidget {
    Q_OBJECT

public:
    // Without a colour the line takes the window-text colour, the platform's default.
    explicit LineControl(QWidget* parent, const QColor& colour = QColor());

    void setEnds(QPoint from, QPoint to);
    QPoint from() const { return from_; }
    QPoint to() const { return to_; }
    QColor colour() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor colour_;
    QPoint from_;
    QPoint to_;
};

} // namespace platform
