#pragma once

// A folder of the odd things real folders hold: pages that are not files, names no web address
// can carry as they stand, text in every encoding and none, a 200 MB page without a title, and a
// page that goes away between the scan and the build. Built once per test binary.

#include "engine/files/filename.h"
#include "engine/files/paths.h"
#include "engine/output/index.h"

#include "clirun.h"
#include "xmloracle.h"
#include <QByteArray>
#include <QDir>
#include <QList>

#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>
#include <QXmlStreamReader>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace hostile {

// What a page's label in the index and the feed must be.
enum class Label {
    Title,   // exactly the given title
    Path,    // the page's full path, since the page has no usable title
    NotPath, // some title read from the page, whatever its encoding gave
    Any,     // random bytes: a title or the path
};

struct Page {
    QByteArray name; // the exact bytes on disk
    Label label = Label::Title;
    QString title;         // with Label::Title
    bool vanishes = false; // the page deleted between the scan and the build

    QString fileName() const { return pagewick::FileNameFromBytes(name); }
};

inline constexpr qint64 kSparseSize = 200LL * 1024 * 1024;
inline constexpr int kLongTitleLength = 100000;
inline constexpr int kCasePages = 100;

// The page that vanishes (it is titled "Soon gone" while it is there).
inline const QByteArray kVanishingName = "vanishing.htm";

class Folder {
public:
    // Builds the folder under parent; on failure returns false with the reason in error.
    bool build(const QString& parent, QString* error) {
        // A folder name with characters that need escaping in HTML and in a web address.
        path = parent + u"/site & <co> #1 100% \u00f1"_s;
        bytes = pagewick::FileNameToBytes(path);
        if (::mkdir(bytes.constData(), 0755) != 0)
            return fail(error, "mkdir", bytes);

        const auto utf16 = [](const QString& text, QStringConverter::Encoding encoding, bool bom) {
            QStringEncoder encode(encoding,
                                  bom ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
            return QByteArray(encode(text));
        };
        const QString unicodeTitle = u"\u00dcn\u00efc\u00f6d\u00e9 \u03a9 \u65e5\u672c"_s;
        const QString unicodePage =
            u"<html><head><title>"_s + unicodeTitle + u"</title></head><body>text</body></html>"_s;

        QString longTitle;
        longTitle.reserve(kLongTitleLength);
        while (longTitle.size() < kLongTitleLength)
            longTitle += u"abcdefghi "_s;
        longTitle.back() = u'Z';

        QByteArray random(64 * 1024, Qt::Uninitialized);
        QRandomGenerator generator(20240501);
        generator.fillRange(reinterpret_cast<quint32*>(random.data()), random.size() / 4);

        struct Content {
            Page page;
            QByteArray bytes;
        };
        const QList<Content> contents = {
            {{"plain.htm", Label::Title, u"Plain page"_s},
             "<html><head><title>Plain page</title></head></html>"},
            {{"empty.htm", Label::Path, {}}, ""},
            {{"random.htm", Label::Any, {}}, random},
            {{"nul.htm", Label::Title, u"Nul\ufffdin\ufffdtitle"_s},
             QByteArray("<title>Nul\0in\0title</title>", 28)},
            {{"utf16-bom.htm", Label::Title, unicodeTitle},
             utf16(unicodePage, QStringConverter::Utf16LE, true)},
            {{"utf16be-bom.htm", Label::Title, unicodeTitle},
             utf16(unicodePage, QStringConverter::Utf16BE, true)},
            {{"utf16-nobom.htm", Label::Title, unicodeTitle},
             utf16(unicodePage, QStringConverter::Utf16LE, false)},
            {{"invalid-utf8.htm", Label::NotPath, {}}, "<title>caf\xe9 cr\xe8me \xff\xfe</title>"},
            {{"long-title.htm", Label::Title, longTitle},
             "<html><head><title>" + longTitle.toLatin1() + "</title></head></html>"},
            {{"markup.htm", Label::Title, u"Tom &amp; Jerry <b>&eacute;</b> & &bogus; \x01 ]]>"_s},
             "<title>Tom &amp; Jerry <b>&eacute;</b> & &bogus; \x01 ]]></title>"},
            {{kVanishingName, Label::Title, u"Soon gone"_s, true}, "<title>Soon gone</title>"},
            // No title, so the path is the label, and the path holds line breaks.
            {{"broken-\r\nline.htm", Label::Path, {}}, "no title here"},
            {{"lf-\nonly.htm", Label::Path, {}}, "<title> \t\r\n </title>"},
        };
        for (const Content& c : contents) {
            if (!writeFile(c.page.name, c.bytes, error))
                return false;
            pages.append(c.page);
        }

        // A big page without a title, sparse so that it costs no disk: read to its end every time.
        const QByteArray sparse = "sparse.htm";
        if (!writeFile(sparse, "<html><body>", error))
            return false;
        if (::truncate(at(sparse).constData(), kSparseSize) != 0)
            return fail(error, "truncate", sparse);
        pages.append({sparse, Label::Path, {}});

        // Names that no web address or HTML attribute can carry as they stand. Each page has a
        // title of its own, so a link that reaches the wrong file shows.
        const QByteArrayList names = {
            "with space.htm",
            "double\"quote.htm",
            "single'quote.htm",
            "amp&ersand.htm",
            "less<than>.htm",
            "hash#frag.htm",
            "percent%41%zz.htm",
            "question?mark.htm",
            "new\nline.htm",
            "back\\slash.htm",
            "tab\there.htm",
            "plus+equals=semi;comma,.htm",
            "\xc3\xb1"
            "and\xc3\xba \xce\xa9\xce\xbc\xce\xad\xce\xb3\xce\xb1 \xe6\x97\xa5\xe6\x9c\xac.htm",
            "emoji-\xf0\x9f\x98\x80.htm",
            "\xe2\x80\xae"
            "rtl-override.htm",
            "raw-\xff\xfe-\xe9-\xc0\xaf-\xed\xa0\x80.htm",
            "old.htm.bak",
            "UPPER.HTML",
        };
        for (int i = 0; i < names.size(); ++i) {
            const QString title = u"Name %1"_s.arg(i);
            if (!writeFile(names[i], "<title>" + title.toLatin1() + "</title>", error))
                return false;
            pages.append({names[i], Label::Title, title});
        }
        // Names that differ only in letter case: all of them are pages of their own.
        const QByteArray stem = "casefold";
        for (int i = 0; i < kCasePages; ++i) {
            QByteArray name = stem;
            for (int bit = 0; bit < stem.size(); ++bit) {
                if (i & (1 << bit))
                    name[bit] = char(name[bit] - 0x20);
            }
            name += i % 2 ? ".HTM" : ".htm";
            const QString title = u"Case %1"_s.arg(i);
            if (!writeFile(name, "<title>" + title.toLatin1() + "</title>", error))
                return false;
            pages.append({name, Label::Title, title});
        }

        // A link to a page is a page.
        if (::symlink("plain.htm", at("link-to-plain.htm").constData()) != 0)
            return fail(error, "symlink", "link-to-plain.htm");
        pages.append({"link-to-plain.htm", Label::Title, u"Plain page"_s});

        // Named like pages, but none of them is a page.
        if (::mkfifo(at("fifo.htm").constData(), 0644) != 0)
            return fail(error, "mkfifo", "fifo.htm");
        // One that a test writes a title into: a FIFO is not read even when it has something to give.
        if (::mkfifo(at("live-fifo.htm").constData(), 0644) != 0)
            return fail(error, "mkfifo", "live-fifo.htm");
        const QList<std::pair<QByteArray, QByteArray>> links = {
            {"zero.htm", "/dev/zero"},
            {"urandom-link.htm", "/dev/urandom"},
            {"broken.htm", "missing-target.htm"},
            {"loop-a.htm", "loop-b.htm"},
            {"loop-b.htm", "loop-a.htm"},
            {"self-loop.htm", "self-loop.htm"},
            {"folder-link.htm", "x.html"},
        };
        for (const auto& [name, target] : links) {
            if (::symlink(target.constData(), at(name).constData()) != 0)
                return fail(error, "symlink", name);
        }
        if (::mkdir(at("x.html").constData(), 0755) != 0)
            return fail(error, "mkdir", "x.html");
        for (const QByteArray& name :
             {QByteArray(".hidden.htm"), QByteArray("notes.txt"), QByteArray("x.shtml")}) {
            if (!writeFile(name, "<title>Not a page</title>", error))
                return false;
        }
        return true;
    }

    // The folder as the folder text: the path the user would type.
    QString path;
    QByteArray bytes;
    QList<Page> pages;

    QByteArray at(const QByteArray& name) const { return bytes + '/' + name; }

    const Page* find(const QString& fileName) const {
        for (const Page& page : pages) {
            if (page.fileName() == fileName)
                return &page;
        }
        return nullptr;
    }

    // The names a scan must list, present or vanished.
    QStringList pageNames() const {
        QStringList names;
        for (const Page& page : pages)
            names.append(page.fileName());
        return names;
    }

    // Removes the folder and all in it by the names' bytes (QDir cannot reach names that are not
    // UTF-8, and QTemporaryDir would leave them behind).
    bool remove() const { return !bytes.isEmpty() && RemoveTree(bytes); }

    bool removeVanishing() const { return ::unlink(at(kVanishingName).constData()) == 0; }
    bool restoreVanishing() const { return writeFile(kVanishingName, "<title>Soon gone</title>", nullptr); }

private:
    static bool RemoveTree(const QByteArray& dirPath) {
        DIR* dir = ::opendir(dirPath.constData());
        if (!dir)
            return false;
        bool removed = true;
        while (const dirent* entry = ::readdir(dir)) {
            const QByteArray name(entry->d_name);
            if (name == "." || name == "..")
                continue;
            const QByteArray child = dirPath + '/' + name;
            struct stat st;
            if (::lstat(child.constData(), &st) == 0 && S_ISDIR(st.st_mode))
                removed = RemoveTree(child) && removed;
            else
                removed = ::unlink(child.constData()) == 0 && removed;
        }
        ::closedir(dir);
        return ::rmdir(dirPath.constData()) == 0 && removed;
    }

    static bool fail(QString* error, const char* what, const QByteArray& name) {
        if (error)
            *error = u"%1 %2: %3"_s.arg(QLatin1String(what), QString::fromUtf8(name),
                                        QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }

    bool writeFile(const QByteArray& name, const QByteArray& content, QString* error) const {
        // Raw bytes, not a QString path: some names are not UTF-8.
        const int fd = ::open(at(name).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0)
            return fail(error, "open", name);
        const bool written = ::write(fd, content.constData(), size_t(content.size())) == content.size();
        ::close(fd);
        return written || fail(error, "write", name);
    }
};

// ---- The command-line program, run as a user would run it. ----

using ::CliResult;
using ::RunCli;

// ---- Checks shared by the engine, command-line and window suites. Each returns what is wrong. ----

inline QString PathLabel(const Folder& folder, const Page& page) {
    return pagewick::PagePath(folder.path, page.fileName());
}

// Plain text as HTML that reads as that text and stays on one line.
inline QString HtmlText(const QString& plain) {
    QString out = plain;
    return out.replace(u'&', u"&amp;"_s)
        .replace(u'<', u"&lt;"_s)
        .replace(u'>', u"&gt;"_s)
        .replace(u'\r', u"&#13;"_s)
        .replace(u'\n', u"&#10;"_s);
}

using xmloracle::XmlCarried;
using xmloracle::XmlLineBreaks;

// A link target must be one URL path segment whose bytes, decoded, are the file's name.
inline QString CheckLinkTarget(const QString& target, const QString& fileName) {
    static const QRegularExpression segment(u"^(?:[A-Za-z0-9._~-]|%[0-9A-F]{2})+$"_s);
    if (!segment.match(target).hasMatch())
        return u"link target %1 is not one encoded path segment"_s.arg(target);
    const QByteArray decoded = QByteArray::fromPercentEncoding(target.toLatin1());
    if (decoded != pagewick::FileNameToBytes(fileName))
        return u"link target %1 does not decode to the name %2"_s.arg(target, fileName);
    return {};
}

inline bool ExistsOnDisk(const Folder& folder, const QByteArray& name) {
    struct stat st;
    return ::lstat(folder.at(name).constData(), &st) == 0;
}

// The index: "<ul>", one line per listed page in list order, each linking its file under its label,
// "</ul>". vanished: the page deleted after the scan is still listed.
inline QStringList CheckIndex(const QString& index, const Folder& folder, const QStringList& listed,
                              bool vanished) {
    QStringList problems;
    const QStringList lines = index.split(u"\r\n"_s);
    if (lines.size() != listed.size() + 2)
        return {u"%1 index lines for %2 pages"_s.arg(lines.size() - 2).arg(listed.size())};
    if (lines.first() != u"<ul>"_s || lines.last() != u"</ul>"_s)
        problems << u"index not framed by <ul> and </ul>"_s;
    const QString head = u"<li><a href=\""_s;
    const QString tail = u"</a>"_s;
    for (qsizetype i = 0; i < listed.size(); ++i) {
        const QString& line = lines[i + 1];
        const qsizetype hrefEnd = line.indexOf(u"\">"_s, head.size());
        if (!line.startsWith(head) || !line.endsWith(tail) || hrefEnd < 0) {
            problems << u"line %1 is not a link: %2"_s.arg(i).arg(line.left(200));
            continue;
        }
        const QString target = line.mid(head.size(), hrefEnd - head.size());
        const QString label = line.mid(hrefEnd + 2, line.size() - hrefEnd - 2 - tail.size());
        const Page* page = folder.find(listed[i]);
        if (!page) {
            problems << u"line %1 lists %2, which is not a page"_s.arg(i).arg(listed[i]);
            continue;
        }
        if (const QString p = CheckLinkTarget(target, listed[i]); !p.isEmpty())
            problems << p;
        if (!(page->vanishes && vanished) && !ExistsOnDisk(folder, page->name))
            problems << u"%1 is not on disk"_s.arg(listed[i]);

        const QString path = HtmlText(PathLabel(folder, *page));
        const Label expected = page->vanishes && vanished ? Label::Path : page->label;
        // A title's "<" and ">" are text in the index; the rest stands as the page wrote it.
        QString titleLabel = page->title;
        titleLabel.replace(u'<', u"&lt;"_s).replace(u'>', u"&gt;"_s);
        if (expected == Label::Title && label != titleLabel)
            problems << u"%1 is labelled %2"_s.arg(listed[i], label.left(200));
        if (expected == Label::Path && label != path)
            problems << u"%1 is labelled %2, not its path"_s.arg(listed[i], label.left(200));
        if (expected == Label::NotPath && (label.isEmpty() || label == path))
            problems << u"%1 has no title: %2"_s.arg(listed[i], label.left(200));
    }
    return problems;
}

struct FeedItem {
    QString title;
    QString description;
    QString link;
};

// Parses the feed with a real XML reader; a parse error is the first problem.
inline QList<FeedItem> ParseFeed(const QString& feed, QStringList* problems, QString* channelTitle = nullptr,
                                 QString* channelLink = nullptr) {
    QList<FeedItem> items;
    QXmlStreamReader xml(feed);
    QStringList path;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            path.append(xml.name().toString());
            if (path == QStringList{u"rss"_s, u"channel"_s, u"item"_s})
                items.append(FeedItem());
            break;
        case QXmlStreamReader::EndElement:
            path.removeLast();
            break;
        case QXmlStreamReader::Characters:
            if (path.size() == 4 && path[2] == u"item"_s) {
                FeedItem& item = items.last();
                QString& field = path[3] == u"title"_s         ? item.title
                                 : path[3] == u"description"_s ? item.description
                                                               : item.link;
                field += xml.text();
            } else if (path.size() == 3 && path[2] == u"title"_s && channelTitle) {
                *channelTitle += xml.text();
            } else if (path.size() == 3 && path[2] == u"link"_s && channelLink) {
                *channelLink += xml.text();
            }
            break;
        default:
            break;
        }
    }
    if (xml.hasError())
        problems->append(u"feed is not XML: %1 at line %2 column %3"_s.arg(xml.errorString())
                             .arg(xml.lineNumber())
                             .arg(xml.columnNumber()));
    return items;
}

// The feed: well-formed XML, one item per listed page in list order, each item's link the
// channel's link and the encoded name, its title and description the page's label.
inline QStringList CheckFeed(const QString& feed, const Folder& folder, const QStringList& listed,
                             bool vanished) {
    QStringList problems;
    QString channelLink;
    const QList<FeedItem> items = ParseFeed(feed, &problems, nullptr, &channelLink);
    if (!problems.isEmpty())
        return problems;
    if (items.size() != listed.size())
        return {u"%1 feed items for %2 pages"_s.arg(items.size()).arg(listed.size())};
    const QString base = pagewick::EnsureTrailingSlash(channelLink);
    for (qsizetype i = 0; i < listed.size(); ++i) {
        const FeedItem& item = items[i];
        const Page* page = folder.find(listed[i]);
        if (!page) {
            problems << u"item %1 is %2, which is not a page"_s.arg(i).arg(listed[i]);
            continue;
        }
        if (!item.link.startsWith(base))
            problems << u"item link %1 does not start with %2"_s.arg(item.link, base);
        else if (const QString p = CheckLinkTarget(item.link.mid(base.size()), listed[i]); !p.isEmpty())
            problems << p;
        if (item.title != item.description)
            problems << u"item %1: title and description differ"_s.arg(listed[i]);
        const Label expected = page->vanishes && vanished ? Label::Path : page->label;
        // A reader hands line breaks over as LF alone, as XML has them.
        const QString path = XmlLineBreaks(XmlCarried(PathLabel(folder, *page)));
        // Titles made only of letters, digits and spaces come through the XML unchanged.
        static const QRegularExpression plain(u"^[\\w ]*$"_s, QRegularExpression::UseUnicodePropertiesOption);
        if (expected == Label::Title && plain.match(page->title).hasMatch() && item.title != page->title)
            problems << u"item %1 is titled %2"_s.arg(listed[i], item.title.left(200));
        if (expected == Label::Path && item.title != path)
            problems << u"item %1 is titled %2, not its path"_s.arg(listed[i], item.title.left(200));
        if (expected == Label::NotPath && (item.title.isEmpty() || item.title == path))
            problems << u"item %1 has no title"_s.arg(listed[i]);
    }
    return problems;
}

// A chain of folders, each named "d" inside the one before, far deeper than a path may be long or
// a program may recurse, with a page at its bottom. Made and removed a level at a time relative to
// the level above (mkdirat, unlinkat): no path to the bottom is ever spelled out.
class DeepChain {
public:
    static inline const QByteArray kBottomPage = "bottom.htm";

    DeepChain() = default;
    DeepChain(const DeepChain&) = delete;
    DeepChain& operator=(const DeepChain&) = delete;
    ~DeepChain() { remove(); }

    // Makes depth folders under top (which must exist), and the page at the bottom.
    bool build(const QByteArray& top, int depth, const QByteArray& page, QString* error) {
        base = top;
        levels = 0;
        int at = ::open(top.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (at < 0)
            return failed(error, "open");
        for (; levels < depth; ++levels) {
            if (::mkdirat(at, "d", 0755) != 0) {
                ::close(at);
                return failed(error, "mkdirat");
            }
            const int next = ::openat(at, "d", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            ::close(at);
            if (next < 0)
                return failed(error, "openat");
            at = next;
        }
        levels = depth;
        const int fd = ::openat(at, kBottomPage.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        ::close(at);
        if (fd < 0)
            return failed(error, "openat page");
        const bool written = ::write(fd, page.constData(), size_t(page.size())) == page.size();
        ::close(fd);
        return written || failed(error, "write");
    }

    // The bottom page's path from the top: "d/d/.../bottom.htm".
    QString pagePath() const {
        QByteArray path;
        path.reserve(levels * 2 + kBottomPage.size());
        for (int i = 0; i < levels; ++i)
            path += "d/";
        return pagewick::FileNameFromBytes(path + kBottomPage);
    }

    // Removes the chain from the bottom up.
    bool remove() {
        if (base.isEmpty())
            return true;
        int at = ::open(base.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (at < 0)
            return false;
        int depth = 0;
        for (;; ++depth) {
            const int next = ::openat(at, "d", O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (next < 0)
                break;
            ::close(at);
            at = next;
        }
        ::unlinkat(at, kBottomPage.constData(), 0);
        bool removed = true;
        for (; depth > 0; --depth) {
            const int up = ::openat(at, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            ::close(at);
            if (up < 0)
                return false;
            at = up;
            removed = ::unlinkat(at, "d", AT_REMOVEDIR) == 0 && removed;
        }
        ::close(at);
        base.clear();
        return removed;
    }

private:
    static bool failed(QString* error, const char* what) {
        if (error)
            *error = u"%1: %2"_s.arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }

    QByteArray base;
    int levels = 0;
};

} // namespace hostile
