#pragma once

#include <QString>

namespace pagewick {

// The folder that a path handed to the window from outside opens (the command line, a drop, Open
// Recent): a folder (or a link to one) itself, a file its folder; relative paths are taken from
// the current folder, and the result is absolute and clean. Empty, with why in problem when
// given, when nothing is there. The path may hold the exact bytes of a name (see filename.h).
QString FolderToOpen(const QString& path, QString* problem = nullptr);

} // namespace pagewick
