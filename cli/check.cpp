#include "cli/check.h"

#include "cli/message.h"
#include "engine/filename.h"
#include "engine/sitecheck.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace pagewick::cli {

int RunCheck(const QString& folderText, const PageListing& listing, CheckFormat format) {
    const QList<Finding> findings = CheckListedPages(folderText, listing);
    // Names are written as their bytes on disk; in JSON a byte that is not UTF-8 is the escaped lone
    // surrogate U+DC80 plus the byte.
    const QByteArray report = format == CheckFormat::Json
                                  ? FindingsJson(findings)
                                  : FileNameToBytes(FindingsText(findings, listing.pages.size()));
    if (std::fwrite(report.constData(), 1, size_t(report.size()), stdout) != size_t(report.size()) ||
        std::fflush(stdout) != 0) {
        const QByteArray message =
            "pagewick-cli: " +
            MessageBytes(QCoreApplication::translate("pagewick::cli", "cannot write to standard output: %1"),
                         {std::strerror(errno)}) +
            '\n';
        std::fwrite(message.constData(), 1, size_t(message.size()), stderr);
        return 1;
    }
    return findings.isEmpty() ? 0 : 1;
}

} // namespace pagewick::cli
