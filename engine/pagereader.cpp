#include "engine/pagereader.h"

#include "engine/paths.h"
#include "engine/title.h"

#include <QFileInfo>

namespace pagewick {

struct FolderPageReader::Private {
    QString folderText;
    FolderTitleReader titles;
    explicit Private(const QString& folderText) : folderText(folderText), titles(folderText) {}
};

FolderPageReader::FolderPageReader(const QString& folderText) : d(new Private(folderText)) {}

FolderPageReader::~FolderPageReader() {
    delete d;
}

PageRecord FolderPageReader::read(const QString& pageName, unsigned wants) const {
    PageRecord record{pageName, d->titles.read(pageName), {}, {}};
    if (wants & WantDate)
        record.date = QFileInfo(PagePath(d->folderText, pageName)).lastModified().toUTC();
    return record;
}

QList<PageRecord> ReadPages(const QString& folderText, const QStringList& pageNames, unsigned wants) {
    const FolderPageReader reader(folderText);
    QList<PageRecord> records;
    records.reserve(pageNames.size());
    for (const QString& name : pageNames)
        records.append(reader.read(name, wants));
    return records;
}

} // namespace pagewick
