#include "ui/twips.h"

#include <QWidget>
#include <cmath>

namespace pagewick {

int TwipsToPixels(int twips, qreal logicalDpi) { return int(std::lround(twips * logicalDpi / 1440.0)); }

void PlaceInTwips(QWidget* widget, int left, int top, int width, int height) {
    const qreal dpi = widget->logicalDpiX();
    widget->setGeometry(TwipsToPixels(left, dpi), TwipsToPixels(top, dpi), TwipsToPixels(width, dpi),
                        TwipsToPixels(height, dpi));
}

} // namespace pagewick
