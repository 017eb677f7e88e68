// Page files read through QFile, where there are no POSIX file descriptors.

#include "engine/pagereader.h"
#include "engine/pagereader_p.h"
#include "engine/paths.h"

#include <QFile>
#include <QFileInfo>

namespace pagewick {

namespace detail {

namespace {

class FileSource : public PageSource {
public:
    explicit FileSource(const QString& path) : file(path), modified(QFileInfo(path).lastModified().toUTC()) {}
    bool open() { return file.open(QIODevice::ReadOnly); }
    QString errorString() const { return file.errorString(); }
    qsizetype readAt(qint64 offset, char* into, qsizetype size) override {
        return file.seek(offset) ? file.read(into, size) : -1;
    }
    QDateTime lastModified() const override { return modified; }
    qint64 byteSize() const override { return file.size(); }

private:
    QFile file;
    QDateTime modified;
};

} // namespace

PageFolder::PageFolder(const QString& folderText) : folderText(folderText) {}

PageFolder::~PageFolder() = default;

std::unique_ptr<PageSource> PageFolder::open(const QString& pageName, QString* whyNot) const {
    return openPath(PagePath(folderText, pageName), whyNot);
}

std::unique_ptr<PageSource> PageFolder::openPath(const QString& path, QString* whyNot) {
    if (!QFileInfo(path).isFile()) {
        if (whyNot)
            *whyNot = QFileInfo::exists(path) ? QStringLiteral("not a regular file")
                                              : QStringLiteral("No such file or directory");
        return nullptr;
    }
    auto source = std::make_unique<FileSource>(path);
    if (source->open())
        return source;
    if (whyNot)
        *whyNot = source->errorString();
    return nullptr;
}

} // namespace detail

PageTimes ReadPageTimes(const QString& path) {
    const QFileInfo info(path);
    return {info.birthTime(), info.lastModified()};
}

} // namespace pagewick
