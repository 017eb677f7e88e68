#include "engine/listing/scan.h"

#include "engine/files/filename.h"
#include "engine/files/paths.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace pagewick {

// Reads the folder with readdir so that names are the exact bytes on disk, and looks at the file
// type the directory entry already carries; only links and file systems that do not fill in
// d_type cost a stat. A link is listed when it leads to a regular file.
QStringList ScanPageFiles(const QString& folderText, const std::function<void(const QString& name)>& found) {
    QStringList names;
    const QByteArray folder = FileNameToBytes(EnsureTrailingSeparator(folderText));
    if (folder.contains('\0'))
        return names;
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return names;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArrayView name(entry->d_name);
        if (name.startsWith('.') || !MatchesPagePattern(name))
            continue;
        bool regular = entry->d_type == DT_REG;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat st;
            regular = ::fstatat(dirFd, entry->d_name, &st, 0) == 0 && S_ISREG(st.st_mode);
        }
        if (!regular)
            continue;
        names.append(FileNameFromBytes(name));
        if (found)
            found(names.constLast());
    }
    ::closedir(dir);
    return names;
}

} // namespace pagewick
