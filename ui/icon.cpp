#include "ui/icon.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

#include <algorithm>

namespace pagewick {

// One size of the icon, drawn on a square of side pixels: the diamond touches the middle of each
// edge, the arrow stands on the diamond's vertical axis. Lines keep their proportions from 32
// pixels up; the 16-pixel image keeps them one pixel wide so that it stays crisp.
QImage DrawPagewickIcon(int side) {
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);

    const qreal s = side;
    const qreal mid = s / 2.0;
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, side >= 32);

    QPen outline(Qt::black);
    outline.setWidthF(side >= 32 ? side * 1.5 / 32 : 1.0);
    outline.setJoinStyle(Qt::MiterJoin);
    p.setPen(outline);
    p.setBrush(QColor(255, 230, 0));
    // A mitred right-angled corner reaches half the pen width times the square root of two past
    // its point: keep it inside the image.
    const qreal inset = std::max(0.5, outline.widthF() * 0.71);
    const QPolygonF diamond{{mid, inset}, {s - inset, mid}, {mid, s - inset}, {inset, mid}};
    p.drawPolygon(diamond);

    // The arrow: a shaft from the lower quarter up to a head in the upper quarter.
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    const qreal shaft = side >= 32 ? side / 16.0 : 1.0;
    const qreal headHalf = s * 0.19;
    const qreal headTop = s * 0.22;
    const qreal headBase = s * 0.47;
    p.drawRect(QRectF(mid - shaft, headBase - 0.5, 2 * shaft, s * 0.78 - headBase));
    p.drawPolygon(QPolygonF{{mid, headTop}, {mid + headHalf, headBase}, {mid - headHalf, headBase}});
    p.end();
    return image;
}

QIcon PagewickIcon() {
    QIcon drawn;
    drawn.addPixmap(QPixmap::fromImage(DrawPagewickIcon(16)));
    drawn.addPixmap(QPixmap::fromImage(DrawPagewickIcon(32)));
    // Installed, the icon theme has the same drawing under the desktop entry's name, so the launcher,
    // the task bar and the window show one icon.
    return QIcon::fromTheme(QStringLiteral("io.pagewick.Pagewick"), drawn);
}

} // namespace pagewick
