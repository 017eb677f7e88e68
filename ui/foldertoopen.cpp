#include "ui/foldertoopen.h"

#include "engine/files/filename.h"

#include <QCoreApplication>
#include <QDir>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace pagewick {

QString FolderToOpen(const QString& path, QString* problem) {
    const auto fail = [problem](const QString& why) {
        if (problem)
            *problem = why;
        return QString();
    };
    if (path.isEmpty())
        return fail(QCoreApplication::translate("pagewick::FolderToOpen", "No folder was given."));
    // Made absolute by hand: QDir and QFileInfo would take the name as UTF-8 and lose bytes that
    // are not.
    const QString absolute =
        QDir::cleanPath(QDir::isAbsolutePath(path) ? path : QDir::currentPath() + u'/' + path);
    struct stat status = {};
    if (::stat(FileNameToBytes(absolute).constData(), &status) != 0)
        return fail(
            QCoreApplication::translate("pagewick::FolderToOpen", "%1 cannot be opened: %2.")
                .arg(QDir::toNativeSeparators(absolute), QString::fromLocal8Bit(std::strerror(errno))));
    if (S_ISDIR(status.st_mode))
        return absolute;
    const qsizetype slash = absolute.lastIndexOf(u'/');
    return slash <= 0 ? QStringLiteral("/") : absolute.first(slash);
}

} // namespace pagewick
