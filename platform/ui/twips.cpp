#include "ui/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace platform {

TwipsScale TwipsScale::of(const QWidget* widget) {
    if (widget != nullptr) {
        return {static_cast<double>(widget->logicalDpiX()),
                static_cast<double>(widget->logicalDpiY())};
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? TwipsScale(screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY())
                  : TwipsScale(96, 96);
}

int TwipsScale::x(int twips) const {
    return static_cast<int>(std::lround(twips * dpiX_ / 1440.0));
}

int TwipsScale::y(int twips) const {
    return static_cast<int>(std::lround(twips * dpiY_ / 1440.0));
}

QRect TwipsScale::rect(int left, int top, int width, int height) const {
    return {x(left), y(top), x(width), y(height)};
}

} // namespace platform
