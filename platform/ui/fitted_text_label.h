#pragma once

#include <QLabel>

namespace platform {

// A display of fixed size that shows its whole text: a text wider than the display is drawn
// in a smaller size of the display's font rather than cut at both ends. The font the layout
// gives it stays its font.
class FittedTextLabel final : public QLabel {
    Q_OBJECT

public:
    explicit FittedTextLabel(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace platform
