#include "ui/icon.h"

namespace pagewick {

QIcon PagewickIcon() { return {}; }

} // namespace pagewick
