#include "support/standard_images.h"

#include "ui/image_list.h"

#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace Library1 {
namespace {

QPixmap draw(int size, const std::function<void(QPainter&)>& paint) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    paint(painter);
    return pixmap;
}

void paintPage(QPainter& p) {
    QPainterPath page;
    page.moveTo(7, 3);
    page.lineTo(20, 3);
    page.lineTo(26, 9);
    page.lineTo(26, 29);
    page.lineTo(7, 29);
    page.closeSubpath();
    p.setPen(QPen(QColor(90, 90, 90), 1.2));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.setBrush(QColor(220, 220, 220));
    p.drawPolygon(QPolygonF({QPointF(20, 3), QPointF(20, 9), QPointF(26, 9)}));
    p.setPen(QPen(QColor(150, 170, 200), 1.5));
    for (int y = 13; y <= 25; y += 4) {
        p.drawLine(10, y, 23, y);
    }
}

void paintFolder(QPainter& p) {
    p.setPen(QPen(QColor(150, 110, 20), 1.2));
    p.setBrush(QColor(240, 200, 80));
    p.drawRoundedRect(QRectF(3, 8, 24, 19), 2, 2);
    p.drawRect(QRectF(3, 6, 10, 4));
    p.setBrush(QColor(250, 220, 120));
    p.drawPolygon(QPolygonF({QPointF(7, 14), QPointF(30, 14), QPointF(26, 27), QPointF(3, 27)}));
}

void paintDisk(QPainter& p) {
    p.setPen(QPen(QColor(20, 40, 90), 1.2));
    p.setBrush(QColor(50, 90, 170));
    p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 4, 16, 9));
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(9, 18, 14, 10));
    p.setBrush(QColor(50, 90, 170));
    p.drawRect(QRectF(18, 5, 4, 6));
}

void paintMagnifier(QPainter& p) {
    p.setPen(QPen(QColor(110, 70, 30), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(19, 19), QPointF(28, 28));
    p.setPen(QPen(QColor(60, 60, 60), 2.5));
    p.setBrush(QColor(190, 225, 255, 220));
    p.drawEllipse(QPointF(13, 13), 9, 9);
}

void paintPrinter(QPainter& p) {
    p.setPen(QPen(QColor(70, 70, 70), 1.2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9, 3, 14, 10));
    p.setBrush(QColor(160, 160, 170));
    p.drawRoundedRect(QRectF(3, 11, 26, 12), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9, 19, 14, 10));
    p.setBrush(QColor(60, 200, 60));
    p.drawEllipse(QPointF(25, 15), 1.5, 1.5);
}

void paintDisc(QPainter& p, const QColor& fill) {
    p.setPen(QPen(fill.darker(150), 1.5));
    p.setBrush(fill);
    p.drawEllipse(QPointF(16, 16), 13.5, 13.5);
}

void paintOk(QPainter& p) {
    paintDisc(p, QColor(40, 160, 60));
    p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(9, 16.5), QPointF(14, 22), QPointF(23.5, 10.5)}));
}

void paintCancel(QPainter& p) {
    paintDisc(p, QColor(210, 40, 40));
    p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10.5, 10.5), QPointF(21.5, 21.5));
    p.drawLine(QPointF(21.5, 10.5), QPointF(10.5, 21.5));
}

void paintBook(QPainter& p, const QColor& cover) {
    p.setPen(QPen(cover.darker(170), 1.2));
    p.setBrush(cover);
    p.drawRoundedRect(QRectF(5, 3, 19, 25), 1.5, 1.5);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 25, 16, 3));
    p.setPen(QPen(Qt::white, 1.5));
    p.drawLine(QPointF(10, 9), QPointF(20, 9));
    p.drawLine(QPointF(10, 13), QPointF(18, 13));
}

QIcon iconFrom(const std::function<void(QPainter&)>& paint) {
    QIcon icon;
    for (int size : {16, 32, 48}) {
        icon.addPixmap(draw(size, paint));
    }
    return icon;
}

} // namespace

void fillStandardImages(platform::ImageList& images) {
    for (const auto& paint :
         {paintPage, paintFolder, paintDisk, paintMagnifier, paintPrinter, paintOk, paintCancel}) {
        images.add(draw(images.imageSize().width(), paint));
    }
}

QIcon mainWindowIcon() {
    return iconFrom([](QPainter& p) {
        paintBook(p, QColor(200, 60, 40));
        p.setPen(QPen(QColor(30, 110, 220), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(17, 18), QPointF(29, 18));
        p.drawPolyline(QPolygonF({QPointF(25, 14), QPointF(29, 18), QPointF(25, 22)}));
        p.drawLine(QPointF(29, 26), QPointF(17, 26));
        p.drawPolyline(QPolygonF({QPointF(21, 22), QPointF(17, 26), QPointF(21, 30)}));
    });
}

QIcon searchWindowIcon() {
    return iconFrom([](QPainter& p) {
        paintBook(p, QColor(40, 120, 60));
        p.translate(8, 8);
        p.scale(0.75, 0.75);
        paintMagnifier(p);
    });
}

} // namespace Library1
