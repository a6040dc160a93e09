#pragma once

#include <QGroupBox>
#include <QImage>

namespace platform {

// A frame with a caption around a group of controls, drawn once and kept until its size,
// caption or look changes. A control inside that changes (a display filled by a lookup, a box
// gaining the focus) has the frame painted again beneath it, and a group box lays out and
// shapes its caption afresh on every paint: for a Thai caption that costs more than the rest
// of such a repaint together.
class GroupFrame final : public QGroupBox {
public:
    GroupFrame(const QString& title, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage look_;
    QString lookTitle_;
};

} // namespace platform
