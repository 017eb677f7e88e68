#pragma once

#include <QString>

namespace pagewick {

// The program's name, as the title of its main window, the picker, and every message box and prompt.
inline QString AppTitle() {
    return QStringLiteral("Pagewick");
}

} // namespace pagewick
