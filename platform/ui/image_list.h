#pragma once

#include <QPixmap>
#include <QSize>
#include <QVector>

namespace platform {

// Images addressed by a 1-based index, all of one size, for toolbars to show.
class ImageList {
public:
    explicit ImageList(QSize imageSize = QSize(32, 32)) : imageSize_(imageSize) {}

    void add(const QPixmap& image);
    int count() const { return static_cast<int>(images_.size()); }
    QPixmap image(int index) const; // 1-based; a null pixmap outside the list
    QSize imageSize() const { return imageSize_; }

private:
    QSize imageSize_;
    QVector<QPixmap> images_;
};

} // namespace platform
