#include "cli/check.h"

#include "cli/message.h"
#include "engine/check/sitecheck.h"
#include "engine/files/filename.h"
#include "engine/reading/pagereader.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace pagewick::cli {

int RunCheck(const QString& folderText, const PageListing& listing, CheckFormat format) {
    // The report is written as the findings come: a finding about one page as soon as that page
    // is read, the groups of pages that share a title at the end. Names are written as their bytes
    // on disk; in JSON a byte that is not UTF-8 is the escaped lone surrogate U+DC80 plus the byte.
    const bool json = format == CheckFormat::Json;
    const auto put = [](const QByteArray& bytes) {
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    };
    if (json)
        put(FindingsJsonStart());
    qsizetype written = 0;
    SiteCheck check([&](const Finding& finding) {
        put(json ? FindingJson(finding, written == 0) : FileNameToBytes(FindingText(finding)));
        ++written;
    });
    check.addSkipped(listing.skipped);
    ForEachPage(folderText, listing.pages, WantTitle | WantFindings,
                [&check](PageRecord&& record) { check.add(record); });
    check.finish();
    put(json ? FindingsJsonEnd(written == 0) : FindingsSummary(written, listing.pages.size()).toUtf8());
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        PrintError(
            MessageBytes(QCoreApplication::translate("pagewick::cli", "cannot write to standard output: %1"),
                         {std::strerror(errno)}));
        return 1;
    }
    return written == 0 ? 0 : 1;
}

} // namespace pagewick::cli
