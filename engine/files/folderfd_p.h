#pragma once

#include <QByteArrayView>

namespace pagewick::detail {

// Opens the folder at relative, a path below the folder open at baseFd ("/" between the parts),
// with flags (O_DIRECTORY and O_CLOEXEC are added). A path too long for one system call
// (ENAMETOOLONG, over 4,096 bytes) is followed part by part, each part opened relative to the one
// before, so any depth can be reached. Links are followed as a single call would follow them.
// Returns the descriptor, or -1 with errno set.
int OpenFolderAt(int baseFd, QByteArrayView relative, int flags);

} // namespace pagewick::detail
