#pragma once

#include <QRect>

class QWidget;

namespace pagewick {

// Window and control places are designed in twips (1,440 to the inch).
int TwipsToPixels(int twips, qreal logicalDpi);

// Places a widget at a rectangle given in twips, converted at the widget's logical DPI.
void PlaceInTwips(QWidget* widget, int left, int top, int width, int height);

// Sizes a window's client area in twips, converted at the window's logical DPI.
void ResizeInTwips(QWidget* window, int width, int height);

} // namespace pagewick
