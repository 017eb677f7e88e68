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
    qsizetype readAt(qint64 offset, char* into, qsizetype size) override {
        return file.seek(offset) ? file.read(into, size) : -1;
    }
    QDateTime lastModified() const override { return modified; }

private:
    QFile file;
    QDateTime modified;
};

} // namespace

PageFolder::PageFolder(const QString& folderText) : folderText(folderText) {}

PageFolder::~PageFolder() = default;

std::unique_ptr<PageSource> PageFolder::open(const QString& pageName) const {
    return openPath(PagePath(folderText, pageName));
}

std::unique_ptr<PageSource> PageFolder::openPath(const QString& path) {
    if (!QFileInfo(path).isFile())
        return nullptr;
    auto source = std::make_unique<FileSource>(path);
    return source->open() ? std::move(source) : nullptr;
}

} // namespace detail

PageTimes ReadPageTimes(const QString& path) {
    const QFileInfo info(path);
    return {info.birthTime(), info.lastModified()};
}

} // namespace pagewick
