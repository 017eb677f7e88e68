#include "cli/check.h"

#include "engine/filename.h"
#include "engine/pagefacts.h"
#include "engine/pagereader.h"
#include "engine/paths.h"
#include "engine/sitecheck.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace pagewick::cli {

int RunCheck(const QString& folderText, const PageListing& listing, CheckFormat format) {
    const QList<PageRecord> records = ReadPages(folderText, listing.pages, WantTitle);
    QList<PageFacts> facts;
    facts.reserve(listing.pages.size());
    const QByteArray folder = FileNameToBytes(EnsureTrailingSeparator(folderText));
    const int folderFd =
        folder.contains('\0') ? -1 : ::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    for (const QString& name : listing.pages)
        facts.append(folderFd >= 0 ? ExaminePageAt(folderFd, FileNameToBytes(name))
                                   : ExaminePage(folderText, name));
    if (folderFd >= 0)
        ::close(folderFd);

    const QList<Finding> findings = CheckSite(records, facts, listing.skipped);
    // Names are written as their bytes on disk; JSON can only carry them as Unicode text.
    const QByteArray report = format == CheckFormat::Json
                                  ? FindingsJson(findings)
                                  : FileNameToBytes(FindingsText(findings, records.size()));
    if (std::fwrite(report.constData(), 1, size_t(report.size()), stdout) != size_t(report.size()) ||
        std::fflush(stdout) != 0) {
        const QByteArray message =
            QByteArray("pagewick-cli: cannot write to standard output: ") + std::strerror(errno) + '\n';
        std::fwrite(message.constData(), 1, size_t(message.size()), stderr);
        return 1;
    }
    return findings.isEmpty() ? 0 : 1;
}

} // namespace pagewick::cli
