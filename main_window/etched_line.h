#pragma once

#include <QColor>
#include <QWidget>

// A one-pixel horizontal line between two x positions; two of them, dark over white, make
// the etched separator above the bottom strip.
class EtchedLine : public QWidget {
    Q_OBJECT

public:
    EtchedLine(QWidget* parent, const QColor& colour);
    QColor colour() const { return colour_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor colour_;
};
