// pagewick-bench-preview [PAGES...]: times View in Browser on an index of each number of pages
// (default 10000 and 100000), offscreen: from the call until the window is laid out and idle.
// Prints the time per page of each against its goal (0.4 s up to 10,000 pages, 2.5 s above), and
// the ratio of the time per page of the largest to the smallest (1.0 is linear).

#include "ui/frmBrowser.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QElapsedTimer>
#include <QTextBrowser>
#include <QTextDocument>
#include <cstdio>
#include <ctime>

namespace {

using namespace Qt::StringLiterals;

// An index as Create HTML writes it, with references in its titles as real titles have them.
QString IndexOf(int pages) {
    QString index = u"<ul>\r\n"_s;
    index.reserve(qsizetype(pages) * 80);
    for (int i = 0; i < pages; ++i) {
        index += u"<li><a href=\"page-%1.htm\">Page %1 &amp; notes &mdash; caf&#233; %2</a>\r\n"_s.arg(i).arg(
            i % 7 ? u"walk"_s : u"&lt;draft&gt;"_s);
    }
    return index + u"</ul>"_s;
}

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// The wall-clock time View in Browser takes, and the processor time it uses (which other work on
// a busy machine does not inflate).
std::pair<double, double> SecondsToShow(int pages) {
    const QString index = IndexOf(pages);
    pagewick::frmBrowser browser;
    browser.show();
    QApplication::processEvents();
    auto* page = browser.findChild<QTextBrowser*>(u"brwBrowser"_s);
    QElapsedTimer timer;
    const double cpuStart = CpuSeconds();
    timer.start();
    browser.showIndex(index, u"/srv/site"_s);
    // Until the whole document is laid out and every event it caused is handled.
    page->document()->documentLayout()->documentSize();
    QApplication::processEvents();
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    const double cpu = CpuSeconds() - cpuStart;
    if (page->document()->blockCount() != pages) {
        std::fprintf(stderr, "pagewick-bench-preview: %d blocks for %d pages\n",
                     page->document()->blockCount(), pages);
        std::exit(1);
    }
    return {seconds, cpu};
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // each figure as soon as it is known
    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.append(QByteArray(argv[i]).toInt());
    if (sizes.isEmpty())
        sizes = {10000, 100000};
    if (sizes.contains(0)) {
        std::fprintf(stderr, "usage: pagewick-bench-preview [PAGES...]\n");
        return 2;
    }
    double firstPerPage = 0;
    double lastPerPage = 0;
    for (const int pages : sizes) {
        const auto [seconds, cpu] = SecondsToShow(pages);
        lastPerPage = seconds / pages;
        if (firstPerPage == 0)
            firstPerPage = lastPerPage;
        const double goal = pages <= 10000 ? 0.4 : 2.5;
        std::printf("preview of %7d pages:  %.3f s (processor %.3f s)  %.2f us/page  (goal < %.1f s: %s)\n",
                    pages, seconds, cpu, lastPerPage * 1e6, goal, seconds < goal ? "ok" : "MISSED");
    }
    if (sizes.size() > 1)
        std::printf("preview per-page ratio, %d/%d pages:  %.2f\n", sizes.last(), sizes.first(),
                    lastPerPage / firstPerPage);
    return 0;
}
