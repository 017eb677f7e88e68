#include "ui/twips.h"

#include <QWidget>
#include <cmath>

namespace pagewick {

int TwipsToPixels(int twips, qreal logicalDpi) {
    return int(std::lround(twips * logicalDpi / 1440.0));
}

void PlaceInTwips(QWidget* widget, int left, int top, int width, int height) {
    const qreal dpiX = widget->logicalDpiX();
    const qreal dpiY = widget->logicalDpiY();
    widget->setGeometry(TwipsToPixels(left, dpiX), TwipsToPixels(top, dpiY), TwipsToPixels(width, dpiX),
                        TwipsToPixels(height, dpiY));
}

void ResizeInTwips(QWidget* window, int width, int height) {
    window->resize(TwipsToPixels(width, window->logicalDpiX()), TwipsToPixels(height, window->logicalDpiY()));
}

} // namespace pagewick
