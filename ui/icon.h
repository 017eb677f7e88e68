#pragma once

#include <QIcon>

namespace pagewick {

// The program's icon: a yellow diamond with a black outline and a black upward arrow.
QIcon PagewickIcon();

} // namespace pagewick
