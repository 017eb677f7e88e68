#include "ui/icon.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

namespace pagewick {

namespace {

// One size of the icon, drawn on a square of side pixels: the diamond touches the middle of each
// edge, the arrow stands on the diamond's vertical axis.
QPixmap DrawIcon(int side) {
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);

    const qreal s = side;
    const qreal mid = s / 2.0;
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, side >= 32);

    QPen outline(Qt::black);
    outline.setWidthF(side >= 32 ? 1.5 : 1.0);
    outline.setJoinStyle(Qt::MiterJoin);
    p.setPen(outline);
    p.setBrush(QColor(255, 230, 0));
    const QPolygonF diamond{{mid, 0.5}, {s - 0.5, mid}, {mid, s - 0.5}, {0.5, mid}};
    p.drawPolygon(diamond);

    // The arrow: a shaft from the lower quarter up to a head in the upper quarter.
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    const qreal shaft = side >= 32 ? 2.0 : 1.0;
    const qreal headHalf = s * 0.19;
    const qreal headTop = s * 0.22;
    const qreal headBase = s * 0.47;
    p.drawRect(QRectF(mid - shaft, headBase - 0.5, 2 * shaft, s * 0.78 - headBase));
    p.drawPolygon(QPolygonF{{mid, headTop}, {mid + headHalf, headBase}, {mid - headHalf, headBase}});
    p.end();
    return QPixmap::fromImage(image);
}

} // namespace

QIcon PagewickIcon() {
    QIcon icon;
    icon.addPixmap(DrawIcon(16));
    icon.addPixmap(DrawIcon(32));
    return icon;
}

} // namespace pagewick
