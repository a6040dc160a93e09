#pragma once

#include <QRect>

class QWidget;

namespace platform {

// Layout lengths are in twips (1/1440 inch); the screen's logical resolution turns them into
// pixels: 15 twips a pixel at 96 dpi.
class TwipsScale {
public:
    TwipsScale(double dpiX, double dpiY) : dpiX_(dpiX), dpiY_(dpiY) {}
    static TwipsScale of(const QWidget* widget);

    int x(int twips) const;
    int y(int twips) const;
    QRect rect(int left, int top, int width, int height) const;
    double twipsPerPixelX() const { return 1440.0 / dpiX_; }
    double twipsPerPixelY() const { return 1440.0 / dpiY_; }

private:
    double dpiX_;
    double dpiY_;
};

} // namespace platform
