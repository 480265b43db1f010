#include "tablegrid/row_images.h"

#include <QPainter>

namespace tablegrid {
namespace {

QPixmap Dot(const QColor& color)
{
    QPixmap pixmap(7, 7);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawEllipse(QRectF(0.5, 0.5, 6, 6));
    return pixmap;
}

} // namespace

grid::GridImageList MakeRowHeaderImages()
{
    grid::GridImageList images;
    images.images.push_back(Dot(Qt::black));
    images.images.push_back(Dot(Qt::red));
    return images;
}

} // namespace tablegrid
