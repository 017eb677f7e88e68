// pagewick-bench-corpus FOLDER PAGES [nested|same-title]: writes a folder of PAGES realistic page
// files for the benchmark; with "nested", the same pages spread over a thousand folders three levels
// deep; with "same-title", one folder whose titled pages all share one title (as generated
// documentation's redirection pages do), which a site check reports as one group.
//
// Pages are 5 to 50 KB with a head full of metadata, scripts and styles and the title within the
// first few KB. A few have no title, a few are in legacy encodings (windows-1252 and Shift_JIS
// declared by a meta element, KOI8-R undeclared), and one is a 50 MB page without a title. A few
// files that are not pages stand beside them. Everything is derived from a fixed seed, page by
// page, so a page's bytes do not depend on how many pages are asked for. A folder that already
// holds a complete corpus of the same size and generator version is left as it is.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QString>
#include <QStringEncoder>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int GeneratorVersion = 1;
constexpr std::uint64_t Seed = 0x5eed'ba5e'2024'0001;
constexpr qint64 BigPageSize = 50 * 1024 * 1024;
const QString StampName = QStringLiteral(".pagewick-corpus");

// splitmix64: tiny, fast and the same on every platform (std's distributions are not).
class Random {
public:
    explicit Random(std::uint64_t seed) : state(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state += 0x9e3779b97f4a7c15);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9;
        z = (z ^ (z >> 27)) * 0x94d049bb133111eb;
        return z ^ (z >> 31);
    }
    int below(int n) { return int(next() % std::uint64_t(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T, std::size_t N> const T& pick(const T (&items)[N]) { return items[below(int(N))]; }

private:
    std::uint64_t state;
};

const char* const EnglishWords[] = {
    "garden",  "history", "river",      "notes",   "winter",  "project", "family",   "music",    "travel",
    "recipes", "north",   "station",    "letters", "summer",  "library", "harbour",  "journal",  "bridge",
    "market",  "village", "mountain",   "weather", "archive", "photos",  "meeting",  "school",   "season",
    "evening", "railway", "lighthouse", "chapter", "review",  "guide",   "workshop", "festival", "island",
    "orchard", "century", "portrait",   "machine", "theatre", "museum",  "harvest",  "canal",    "forest",
    "the",     "of",      "and",        "a",       "in",      "for",     "with",     "on",       "from",
    "about",   "old",     "new",        "small",   "long",    "first",   "last",     "quiet",    "early"};
const char16_t* const RussianWords[] = {u"новости", u"город",   u"история", u"зима",     u"река",   u"письма",
                                        u"музей",   u"деревня", u"лето",    u"дорога",   u"школа",  u"вечер",
                                        u"сад",     u"книга",   u"станция", u"праздник", u"и",      u"в",
                                        u"на",      u"о",       u"старый",  u"новый",    u"первый", u"тихий"};
const char16_t* const JapanesePhrases[] = {
    u"今日の天気", u"駅前の商店街", u"春の花見",   u"古い写真",         u"旅行の記録",
    u"家族の歴史", u"図書館だより", u"山の散歩道", u"夏祭りのお知らせ", u"料理の覚え書き"};
const char16_t* const AccentedTitles[] = {u"Café crème, résumé & naïve façades", u"Über die Brücke – Notizen",
                                          u"São Paulo à noite", u"Smörgåsbord för alla"};
const char* const Extensions[] = {".html", ".html", ".html", ".html", ".htm", ".htm", ".HTM", ".Html"};

enum class Kind { Plain, NoTitle, Windows1252, ShiftJis, Koi8r };

Kind KindOf(int index) {
    switch (index % 500) {
    case 1:
        return Kind::NoTitle;
    case 2:
        return Kind::Windows1252;
    case 3:
        return Kind::ShiftJis;
    case 4:
        return Kind::Koi8r;
    default:
        return Kind::Plain;
    }
}

QString Words(Random& r, int count, Kind kind) {
    QString out;
    for (int i = 0; i < count; ++i) {
        if (i)
            out += u' ';
        if (kind == Kind::Koi8r)
            out += QString::fromUtf16(r.pick(RussianWords));
        else if (kind == Kind::ShiftJis && r.chance(60))
            out += QString::fromUtf16(r.pick(JapanesePhrases));
        else
            out += QString::fromLatin1(r.pick(EnglishWords));
    }
    return out;
}

QString Sentence(Random& r, Kind kind) {
    QString s = Words(r, r.between(6, 18), kind);
    s[0] = s[0].toUpper();
    return s + (r.chance(80) ? u'.' : u'?');
}

QString Title(Random& r, Kind kind) {
    switch (kind) {
    case Kind::Windows1252:
        return QString::fromUtf16(r.pick(AccentedTitles));
    case Kind::ShiftJis:
        return QString::fromUtf16(r.pick(JapanesePhrases)) + u' ' +
               QString::fromUtf16(r.pick(JapanesePhrases));
    case Kind::Koi8r:
    case Kind::NoTitle:
        return Words(r, r.between(2, 5), kind);
    case Kind::Plain:
        break;
    }
    QString t = Words(r, r.between(2, 7), kind);
    t[0] = t[0].toUpper();
    switch (r.below(12)) {
    case 0:
        return t + QStringLiteral(", ") + Words(r, 2, kind);
    case 1:
        return t + QStringLiteral(" &amp; ") + Words(r, 2, kind);
    case 2:
        return QStringLiteral("Caf&eacute; ") + t;
    case 3:
        return t + QStringLiteral("\n    ") + Words(r, 3, kind);
    case 4:
        return QString::fromUtf16(r.pick(AccentedTitles));
    default:
        return t;
    }
}

QString Script(Random& r, int size) {
    QString s = QStringLiteral("<script>\n(function () {\n  'use strict';\n");
    while (s.size() < size) {
        const int n = r.between(1, 999);
        s += QStringLiteral("  var el%1 = document.querySelector('#item-%1');\n"
                            "  if (el%1) { el%1.addEventListener('click', function (e) { e.preventDefault(); "
                            "track('%2', %1); }); }\n")
                 .arg(n)
                 .arg(QString::fromLatin1(r.pick(EnglishWords)));
    }
    return s + QStringLiteral("})();\n</script>\n");
}

QString Style(Random& r, int size) {
    QString s = QStringLiteral("<style>\n");
    while (s.size() < size) {
        s += QStringLiteral(".%1-%2 { margin: %3px %4px; color: #%5; font-size: %6%; }\n")
                 .arg(QString::fromLatin1(r.pick(EnglishWords)))
                 .arg(r.below(100))
                 .arg(r.below(40))
                 .arg(r.below(40))
                 .arg(r.below(0x1000000), 6, 16, QLatin1Char('0'))
                 .arg(r.between(80, 160));
    }
    return s + QStringLiteral("</style>\n");
}

QString Paragraph(Random& r, Kind kind) {
    QString p = QStringLiteral("<p>");
    for (int i = r.between(2, 7); i > 0; --i) {
        p += Sentence(r, kind) + u' ';
        if (r.chance(25))
            p +=
                QStringLiteral("<a href=\"page-%1.html\">%2</a> ").arg(r.below(10000)).arg(Words(r, 2, kind));
    }
    return p + QStringLiteral("</p>\n");
}

QString Body(Random& r, Kind kind, int size) {
    QString b = QStringLiteral("<body class=\"page\">\n<header><nav><ul>\n");
    for (int i = 0; i < 6; ++i)
        b += QStringLiteral("<li><a href=\"/%1/\">%1</a></li>\n")
                 .arg(QString::fromLatin1(r.pick(EnglishWords)));
    b += QStringLiteral("</ul></nav></header>\n<main><article>\n<h1>") + Words(r, 4, kind) +
         QStringLiteral("</h1>\n");
    while (b.size() < size) {
        switch (r.below(8)) {
        case 0:
            b += QStringLiteral("<h2>") + Words(r, 3, kind) + QStringLiteral("</h2>\n");
            break;
        case 1: {
            b += QStringLiteral("<ul>\n");
            for (int i = r.between(3, 8); i > 0; --i)
                b += QStringLiteral("<li>") + Sentence(r, kind) + QStringLiteral("</li>\n");
            b += QStringLiteral("</ul>\n");
            break;
        }
        case 2: {
            b += QStringLiteral("<table>\n");
            for (int i = r.between(2, 6); i > 0; --i)
                b += QStringLiteral("<tr><td>%1</td><td>%2</td></tr>\n")
                         .arg(Words(r, 2, kind))
                         .arg(r.below(100000));
            b += QStringLiteral("</table>\n");
            break;
        }
        default:
            b += Paragraph(r, kind);
        }
    }
    return b + QStringLiteral("</article></main>\n<footer><p>Last changed ") +
           QStringLiteral("%1-%2-%3")
               .arg(r.between(1998, 2024))
               .arg(r.between(1, 12), 2, 10, QLatin1Char('0'))
               .arg(r.between(1, 28), 2, 10, QLatin1Char('0')) +
           QStringLiteral("</p></footer>\n<script src=\"/js/site.js\" defer></script>\n</body>\n</html>\n");
}

QByteArray Encode(const QString& text, Kind kind) {
    const char* name = kind == Kind::Windows1252 ? "windows-1252"
                       : kind == Kind::ShiftJis  ? "Shift_JIS"
                       : kind == Kind::Koi8r     ? "KOI8-R"
                                                 : "UTF-8";
    QStringEncoder encoder(name);
    if (!encoder.isValid()) {
        std::fprintf(stderr, "pagewick-bench-corpus: this Qt cannot encode %s\n", name);
        std::exit(1);
    }
    return encoder.encode(text);
}

QString Head(Random& r, Kind kind, const QString& title) {
    QString h = QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n");
    if (kind == Kind::Windows1252)
        h += QStringLiteral("<meta charset=\"windows-1252\">\n");
    else if (kind == Kind::ShiftJis)
        h += QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">\n");
    else if (kind != Kind::Koi8r)
        h += QStringLiteral("<meta charset=\"utf-8\">\n");
    h += QStringLiteral("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                        "<meta name=\"description\" content=\"") +
         Words(r, 12, kind) + QStringLiteral("\">\n<link rel=\"stylesheet\" href=\"/css/site.css\">\n");

    QString titleElement;
    if (kind != Kind::NoTitle) {
        const bool upper = r.chance(5);
        titleElement = (upper ? QStringLiteral("<TITLE>") : QStringLiteral("<title>")) + title +
                       (upper ? QStringLiteral("</TITLE>\n") : QStringLiteral("</title>\n"));
    }
    // Half the pages name themselves right away, the rest after their scripts and styles.
    const bool titleFirst = r.chance(50);
    if (titleFirst)
        h += titleElement;
    h += Script(r, r.between(200, 2000)) + Style(r, r.between(200, 2000));
    if (!titleFirst)
        h += titleElement;
    return h + QStringLiteral("<script src=\"/js/analytics.js\" async></script>\n</head>\n");
}

bool Failed(const QFile& f) {
    std::fprintf(stderr, "pagewick-bench-corpus: cannot write %s: %s\n", qPrintable(f.fileName()),
                 qPrintable(f.errorString()));
    return false;
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return (f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size()) || Failed(f);
}

// Nested: page i goes to one of 1,000 leaf folders, s0/s0/s0 to s9/s9/s9.
QString FolderOf(int index) {
    const int f = index % 1000;
    return QStringLiteral("s%1/s%2/s%3").arg(f / 100).arg(f / 10 % 10).arg(f % 10);
}

bool WritePage(const QDir& dir, int index, bool nested, bool sameTitle) {
    Random r(Seed ^ (std::uint64_t(index) * 0x100000001b3));
    const Kind kind = KindOf(index);
    QString title = Title(r, kind);
    if (sameTitle && kind != Kind::NoTitle)
        title = QStringLiteral("Redirection");
    const int size = r.between(5 * 1024, 50 * 1024);
    const QString head = Head(r, kind, title);
    const QString text = head + Body(r, kind, size - int(head.size()));
    const QString name = QStringLiteral("page-%1-%2%3")
                             .arg(index, 6, 10, QLatin1Char('0'))
                             .arg(Words(r, 1, Kind::Plain))
                             .arg(QString::fromLatin1(r.pick(Extensions)));
    return WriteFile(dir.filePath(nested ? FolderOf(index) + u'/' + name : name), Encode(text, kind));
}

// One huge page without a title: a reader that keeps whole pages in memory or stops
// too late shows here.
bool WriteBigPage(const QDir& dir) {
    QFile f(dir.filePath(QStringLiteral("archive-complete.html")));
    if (!f.open(QIODevice::WriteOnly))
        return Failed(f);
    Random r(Seed);
    QByteArray chunk = QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n")
                           .append(Style(r, 1500))
                           .append(QStringLiteral("</head>\n<body>\n"))
                           .toUtf8();
    qint64 written = 0;
    while (written < BigPageSize) {
        while (chunk.size() < 1024 * 1024)
            chunk += Paragraph(r, Kind::Plain).toUtf8();
        if (f.write(chunk) != chunk.size())
            return Failed(f);
        written += chunk.size();
        chunk.clear();
    }
    return (f.write("</body>\n</html>\n") > 0 && f.flush()) || Failed(f);
}

} // namespace

int main(int argc, char** argv) {
    const bool nested = argc == 4 && QByteArrayView(argv[3]) == "nested";
    const bool sameTitle = argc == 4 && QByteArrayView(argv[3]) == "same-title";
    const int pages = argc == 3 || nested || sameTitle ? std::atoi(argv[2]) : 0;
    if (pages < 1) {
        std::fprintf(stderr, "usage: pagewick-bench-corpus FOLDER PAGES [nested|same-title]\n");
        return 2;
    }
    QDir dir(QString::fromLocal8Bit(argv[1]));
    const QByteArray stamp = QStringLiteral("pages %1, generator %2%3\n")
                                 .arg(pages)
                                 .arg(GeneratorVersion)
                                 .arg(nested      ? QStringLiteral(", nested")
                                      : sameTitle ? QStringLiteral(", same title")
                                                  : QString())
                                 .toUtf8();
    QFile stampFile(dir.filePath(StampName));
    if (stampFile.open(QIODevice::ReadOnly) && stampFile.readAll() == stamp) {
        std::printf("corpus: reusing %s (%d pages)\n", argv[1], pages);
        return 0;
    }
    stampFile.close();

    std::printf("corpus: writing %d pages into %s\n", pages, argv[1]);
    std::fflush(stdout);
    if ((dir.exists() && !dir.removeRecursively()) || !dir.mkpath(QStringLiteral(".")) ||
        !dir.mkpath(QStringLiteral("drafts")))
        return std::fprintf(stderr, "pagewick-bench-corpus: cannot make %s\n", argv[1]), 1;

    // Beside the pages: files the scan must pass over (and, flat, a page in a sub-folder).
    bool ok =
        WriteFile(dir.filePath(QStringLiteral("style.css")), "body { margin: 0 }\n") &&
        WriteFile(dir.filePath(QStringLiteral("notes.txt")), "to do\n") &&
        WriteFile(dir.filePath(QStringLiteral("logo.png")), QByteArray(2048, '\x89')) &&
        WriteFile(dir.filePath(QStringLiteral(".draft.html")), "<title>Hidden</title>\n") &&
        (nested || WriteFile(dir.filePath(QStringLiteral("drafts/next.html")), "<title>Next</title>\n"));
    if (nested) {
        // The folders, and a hidden one with a page the walk must pass over.
        for (int f = 0; ok && f < 1000; ++f)
            ok = dir.mkpath(FolderOf(f));
        ok = ok && dir.mkpath(QStringLiteral(".cache")) &&
             WriteFile(dir.filePath(QStringLiteral(".cache/old.html")), "<title>Cached</title>\n");
    }
    ok = ok && WriteBigPage(dir);
    for (int i = 1; ok && i < pages; ++i)
        ok = WritePage(dir, i, nested, sameTitle);
    if (!ok)
        return 1;

    // Written last, so an interrupted run is not mistaken for a complete corpus.
    QSaveFile done(dir.filePath(StampName));
    if (!done.open(QIODevice::WriteOnly) || done.write(stamp) != stamp.size() || !done.commit())
        return std::fprintf(stderr, "pagewick-bench-corpus: cannot write the stamp\n"), 1;
    return 0;
}
