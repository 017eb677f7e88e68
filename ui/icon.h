#pragma once

#include <QIcon>
#include <QImage>

namespace pagewick {

// The program's icon: a yellow diamond with a black outline and a black upward arrow.
// Taken from the icon theme when Pagewick is installed, else drawn at 16 and 32 pixels.
QIcon PagewickIcon();

// The drawing itself, at side x side pixels (also used to render the installed PNG icons).
QImage DrawPagewickIcon(int side);

} // namespace pagewick
