#include "ui/image_list.h"

namespace platform {

void ImageList::add(const QPixmap& image) {
    images_.push_back(image.size() == imageSize_ ? image
                                                 : image.scaled(imageSize_, Qt::IgnoreAspectRatio,
                                                                Qt::SmoothTransformation));
}

QPixmap ImageList::image(int index) const {
    return index >= 1 && index <= count() ? images_[index - 1] : QPixmap();
}

} // namespace platform
