#include "ui/saveflow.h"

namespace pagewick {

void SaveIndexPage(QWidget*, QFileDialog*, const QString&, const QString&) {}

} // namespace pagewick
