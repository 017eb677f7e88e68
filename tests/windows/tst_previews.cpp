#include "modaldriver.h"
#include "ui/frmBrowser.h"
#include "ui/frmTextpad.h"
#include "ui/twips.h"

#include <QAbstractTextDocumentLayout>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextList>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

using pagewick::frmBrowser;
using pagewick::frmTextpad;

// Calls back for each child an object is given.
class ChildWatcher : public QObject {
public:
    explicit ChildWatcher(std::function<void(QObject*)> added) : added(std::move(added)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ChildAdded)
            added(static_cast<QChildEvent*>(event)->child());
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void(QObject*)> added;
};

class PreviewsTest : public QObject {
    Q_OBJECT

private:
    // The text a rendered page shows, line by line, without the spaces left by source line breaks.
    static QStringList renderedLines(const QTextBrowser* page) {
        QStringList lines = page->toPlainText().split(u'\n');
        for (QString& line : lines)
            line = line.trimmed();
        return lines;
    }

    // A text format's properties, readable in a failure message.
    static QString describe(const QTextFormat& format) {
        QStringList out;
        const auto properties = format.properties();
        for (auto it = properties.begin(); it != properties.end(); ++it)
            out << u"%1=%2"_s.arg(it.key(), 0, 16).arg(it.value().toString());
        return out.join(u' ');
    }

    static QWidget* controlOf(QWidget* window) {
        if (auto* browser = window->findChild<QTextBrowser*>(u"brwBrowser"_s))
            return browser;
        return window->findChild<QPlainTextEdit*>(u"txtDisplay"_s);
    }

private Q_SLOTS:
    void controlSize_data() {
        QTest::addColumn<QSize>("outer");
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QSize>("margins");
        QTest::addColumn<QSize>("expected"); // invalid: the control keeps its size

        QTest::newRow("margins larger than the frame")
            << QSize(316, 234) << QSize(312, 230) << QSize(5, 23) << QSize(311, 211);
        QTest::newRow("no frame") << QSize(312, 213) << QSize(312, 213) << QSize(3, 13) << QSize(309, 200);
        QTest::newRow("frame wider than the margin is clamped")
            << QSize(330, 260) << QSize(312, 213) << QSize(3, 13) << QSize(312, 213);
        QTest::newRow("clamped in one direction only")
            << QSize(316, 240) << QSize(312, 213) << QSize(3, 13) << QSize(312, 213);
        QTest::newRow("exactly the margins") << QSize(3, 13) << QSize(1, 1) << QSize(3, 13) << QSize(0, 0);
        QTest::newRow("narrower than the margin")
            << QSize(2, 300) << QSize(2, 280) << QSize(3, 13) << QSize();
        QTest::newRow("lower than the margin") << QSize(300, 12) << QSize(296, 8) << QSize(3, 13) << QSize();
        QTest::newRow("minimised") << QSize(0, 0) << QSize(0, 0) << QSize(5, 23) << QSize();
    }

    void controlSize() {
        QFETCH(QSize, outer);
        QFETCH(QSize, client);
        QFETCH(QSize, margins);
        QFETCH(QSize, expected);
        const auto size = pagewick::PreviewControlSize(outer, client, margins);
        QCOMPARE(size.has_value(), expected.isValid());
        if (size)
            QCOMPARE(*size, expected);
    }

    // Each window keeps its own margins, the control sits at the top-left corner and never
    // reaches past the client area; a window smaller than its margins leaves the control alone.
    void resizeRule_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("marginWidth"); // twips
        QTest::addColumn<int>("marginHeight");
        QTest::addColumn<QSize>("size");

        for (const auto& [window, mw, mh] :
             {std::tuple{"browser", 50, 200}, std::tuple{"scratchpad", 70, 350}}) {
            QTest::addRow("%s, first shown", window) << QString::fromLatin1(window) << mw << mh << QSize();
            QTest::addRow("%s, larger", window) << QString::fromLatin1(window) << mw << mh << QSize(640, 480);
            QTest::addRow("%s, smaller", window) << QString::fromLatin1(window) << mw << mh << QSize(120, 90);
            QTest::addRow("%s, below its margins", window)
                << QString::fromLatin1(window) << mw << mh << QSize(1, 1);
        }
    }

    void resizeRule() {
        QFETCH(QString, window);
        QFETCH(int, marginWidth);
        QFETCH(int, marginHeight);
        QFETCH(QSize, size);

        std::unique_ptr<QWidget> preview;
        if (window == u"browser"_s)
            preview = std::make_unique<frmBrowser>();
        else if (window == u"scratchpad"_s)
            preview = std::make_unique<frmTextpad>();
        else
            QFAIL(qPrintable(u"no such window: "_s + window));
        preview->show();
        QVERIFY(QTest::qWaitForWindowExposed(preview.get()));
        QWidget* control = controlOf(preview.get());
        QVERIFY(control);

        const qreal dpi = preview->logicalDpiX();
        const QSize margins(pagewick::TwipsToPixels(marginWidth, dpi),
                            pagewick::TwipsToPixels(marginHeight, dpi));
        const QSize before = control->size();
        if (size.isValid()) {
            preview->resize(size);
            QTRY_COMPARE(preview->size(), size);
        }

        QCOMPARE(control->pos(), QPoint(0, 0));
        const QSize outer = preview->frameGeometry().size();
        const QSize wanted = outer - margins;
        if (wanted.width() < 0 || wanted.height() < 0) {
            QCOMPARE(control->size(), before);
            return;
        }
        QCOMPARE(control->size(), wanted.boundedTo(preview->size()));
        QVERIFY(preview->rect().contains(control->geometry()));
    }

    void windowsAtCreation() {
        frmBrowser browser;
        frmTextpad textpad;
        QCOMPARE(browser.windowTitle(), u"Pagewick Browser"_s);
        QCOMPARE(textpad.windowTitle(), u"Pagewick Scratchpad"_s);
        QVERIFY(browser.isWindow() && textpad.isWindow());
        const qreal dpi = browser.logicalDpiX();
        const QSize client(pagewick::TwipsToPixels(4680, dpi), pagewick::TwipsToPixels(3195, dpi));
        QCOMPARE(browser.size(), client);
        QCOMPARE(textpad.size(), client);

        auto* display = textpad.findChild<QPlainTextEdit*>(u"txtDisplay"_s);
        QVERIFY(display);
        QVERIFY(display->toPlainText().isEmpty());
        QVERIFY(!display->isReadOnly());
        QCOMPARE(display->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        auto* page = browser.findChild<QTextBrowser*>(u"brwBrowser"_s);
        QVERIFY(page);
        QVERIFY(page->toPlainText().isEmpty());
        // Screen readers announce each window's one control by the window's caption.
        QCOMPARE(page->accessibleName(), browser.windowTitle());
        QCOMPARE(display->accessibleName(), textpad.windowTitle());
    }

    void browserShowsTheIndex() {
        frmBrowser browser;
        browser.showIndex(u"<ul>\r\n<li><a href=\"a.htm\">Alpha &amp; Omega</a>\r\n"
                          "<li><a href=\"b.htm\"><b>Beta</b></a>\r\n</ul>"_s,
                          u"/srv/site"_s);
        QVERIFY(browser.isVisible());
        auto* page = browser.findChild<QTextBrowser*>(u"brwBrowser"_s);
        // Rendered as HTML: markup gone, references resolved.
        QCOMPARE(renderedLines(page), (QStringList{u"Alpha & Omega"_s, u"Beta"_s}));

        // Shown again: the new index replaces the old one.
        browser.showIndex(u"<ul>\r\n</ul>"_s, u"/srv/other"_s);
        QVERIFY(browser.isVisible());
        QCOMPARE(page->toPlainText().trimmed(), QString());
    }

    // Whatever the index names, nothing is read: not a picture, not a FIFO (which would block
    // the opening for ever), not a device that never ends. The preview shows the index at once.
    void browserLoadsNothing_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("picture") << "picture";
        QTest::newRow("FIFO") << "fifo";
        QTest::newRow("endless device") << "zero";
        QTest::newRow("remote") << "remote";
    }

    void browserLoadsNothing() {
        QFETCH(QString, kind);
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        QUrl url;
        if (kind == u"picture"_s) {
            url = QUrl::fromLocalFile(tmp.filePath(u"logo.png"_s));
            QImage image(4, 4, QImage::Format_RGB32);
            image.fill(Qt::red);
            QVERIFY(image.save(url.toLocalFile()));
        } else if (kind == u"fifo"_s) {
            url = QUrl::fromLocalFile(tmp.filePath(u"pipe"_s));
            QVERIFY(::mkfifo(QFile::encodeName(url.toLocalFile()).constData(), 0600) == 0);
        } else if (kind == u"zero"_s) {
            if (::geteuid() != 0)
                QSKIP("making a device node needs root");
            url = QUrl::fromLocalFile(tmp.filePath(u"zero"_s));
            QVERIFY(::mknod(QFile::encodeName(url.toLocalFile()).constData(), S_IFCHR | 0600,
                            makedev(1, 5)) == 0);
        } else if (kind == u"remote"_s) {
            url = QUrl(u"http://example.com/logo.png"_s);
        } else {
            QFAIL(qPrintable(u"no such kind: "_s + kind));
        }

        frmBrowser browser;
        auto* page = browser.findChild<QTextBrowser*>(u"brwBrowser"_s);
        for (const int type : {int(QTextDocument::ImageResource), int(QTextDocument::StyleSheetResource)}) {
            // Answered, and empty: no answer at all would let the document read the file itself.
            const QVariant answer = page->loadResource(type, url);
            QVERIFY(answer.isValid());
            QVERIFY(answer.toByteArray().isEmpty());
            QVERIFY(page->document()->resource(type, url).toByteArray().isEmpty());
        }

        // Titles naming it, escaped as an index writes them and as raw markup, and the control
        // given the markup itself.
        const QString img = u"<img src=\"%1\">"_s.arg(url.toString());
        const QString escaped = QString(img).replace(u'<', u"&lt;"_s).replace(u'>', u"&gt;"_s);
        browser.showIndex(
            u"<ul>\r\n<li><a href=\"a.htm\">%1</a>\r\n<li><a href=\"b.htm\">B%2</a>\r\n</ul>"_s.arg(escaped,
                                                                                                    img),
            tmp.path());
        page->document()->documentLayout()->documentSize();
        QCOMPARE(renderedLines(page), (QStringList{img, u"B"_s}));
        page->setHtml(img + u"<link rel=\"stylesheet\" href=\"%1\">"_s.arg(url.toString()));
        page->document()->documentLayout()->documentSize();
        QVERIFY(page->document()->resource(QTextDocument::ImageResource, url).toByteArray().isEmpty());
    }

    // Each page's label shows as a browser shows that line of the index, in the formats Qt's
    // HTML reader gives the same list.
    void previewRendersLikeHtml_data() {
        QTest::addColumn<QString>("label"); // as the index holds it
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << "Alpha"
                               << "Alpha";
        QTest::newRow("named references") << "Tom &amp; Jerry &mdash; caf&eacute;"
                                          << "Tom & Jerry \u2014 caf\u00e9";
        QTest::newRow("numeric references") << "&#65;&#x42;&#X43;&#233;"
                                            << "ABC\u00e9";
        QTest::newRow("escaped markup") << "&lt;b&gt;News&lt;/b&gt;"
                                        << "<b>News</b>";
        QTest::newRow("unknown and bare ampersands") << "a &nosuch; b & c &"
                                                     << "a &nosuch; b & c &";
        QTest::newRow("markup of an older index") << "<b>Beta</b> <i>x</i>"
                                                  << "Beta x";
        QTest::newRow("path label with a line break") << "/srv/a&#13;&#10;b.htm"
                                                      << "/srv/a b.htm";
        QTest::newRow("runs of white space") << "  a \t\r\n  b  "
                                             << "a b";
        QTest::newRow("no-break spaces kept") << "a&nbsp;&nbsp;b"
                                              << "a\u00a0\u00a0b";
        QTest::newRow("no character") << "&#0;&#x110000;&#xD800;"
                                      << "\ufffd\ufffd\ufffd";
        // As the page reader reads a meta description: the same rules in both places.
        QTest::newRow("numeric reference without its semicolon") << "a&#66 c"
                                                                 << "aB c";
        QTest::newRow("C1 code points as windows-1252") << "&#150;&#x80;"
                                                        << "\u2013\u20ac";
        QTest::newRow("legacy name without its semicolon") << "&copy 2020 &notit;"
                                                           << "\u00a9 2020 \u00acit;";
        // Details follow the link as text: the first "</a>" ends the label.
        QTest::newRow("details after the link")
            << "Alpha</a> <time datetime=\"2024-05-03T00:00:00Z\">2024-05-03</time> <span "
               "class=\"description\">Fish &amp; chips</span>"
            << "Alpha 2024-05-03 Fish & chips";
    }

    void previewRendersLikeHtml() {
        QFETCH(QString, label);
        QFETCH(QString, shown);
        const QString index = u"<ul>\r\n<li><a href=\"my%20page.htm\">%1</a>\r\n"
                              "<li><a href=\"b.htm\">B</a>\r\n</ul>"_s.arg(label);
        frmBrowser browser;
        browser.showIndex(index, u"/srv/site"_s);
        const QTextDocument* preview = browser.findChild<QTextBrowser*>(u"brwBrowser"_s)->document();
        QTextDocument html;
        html.setDefaultFont(preview->defaultFont());
        html.setHtml(
            u"<ul>\r\n<li><a href=\"my%20page.htm\">A</a>\r\n<li><a href=\"b.htm\">B</a>\r\n</ul>"_s);

        QCOMPARE(preview->defaultFont(), QTextBrowser().document()->defaultFont());
        QCOMPARE(preview->documentMargin(), QTextBrowser().document()->documentMargin());
        QCOMPARE(preview->blockCount(), html.blockCount());
        QCOMPARE(preview->firstBlock().text(), shown);
        QCOMPARE(preview->lastBlock().text(), u"B"_s);
        for (QTextBlock ours = preview->firstBlock(), theirs = html.firstBlock(); ours.isValid();
             ours = ours.next(), theirs = theirs.next()) {
            QVERIFY(ours.textList() && theirs.textList());
            QCOMPARE(ours.textList(), preview->firstBlock().textList()); // one list
            QCOMPARE(ours.textList()->format(), theirs.textList()->format());
            QCOMPARE(describe(ours.blockFormat()), describe(theirs.blockFormat()));
            QCOMPARE(describe(ours.begin().fragment().charFormat()),
                     describe(theirs.begin().fragment().charFormat()));
        }
    }

    // Built while the busy pointer shows, and not built again for the same index.
    void previewBuiltOncePerIndex() {
        frmBrowser browser;
        auto* page = browser.findChild<QTextBrowser*>(u"brwBrowser"_s);
        // Each build makes a new document in the control (seen as it is made, still a bare QObject).
        int builds = 0;
        bool busyThroughout = true;
        ChildWatcher watcher([&](QObject*) {
            ++builds;
            busyThroughout = busyThroughout && QGuiApplication::overrideCursor() &&
                             QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
        });
        page->installEventFilter(&watcher);

        const QString index = u"<ul>\r\n<li><a href=\"a.htm\">A</a>\r\n</ul>"_s;
        browser.showIndex(index, u"/srv/site"_s);
        QCOMPARE(builds, 1);
        QVERIFY(busyThroughout);
        QVERIFY(!QGuiApplication::overrideCursor());
        const QTextDocument* shown = page->document();

        browser.hide();
        browser.showIndex(QString(index), u"/srv/other"_s); // same text, another copy
        QCOMPARE(builds, 1);
        QCOMPARE(page->document(), shown);
        QVERIFY(browser.isVisible());
        browser.showIndex(u"<ul>\r\n</ul>"_s, u"/srv/other"_s);
        QCOMPARE(builds, 2);
        QVERIFY(busyThroughout);
        QVERIFY(page->document()->isEmpty());
    }

    void linkResolvesAgainstTheFolder_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("href");
        QTest::addColumn<QString>("url");  // encoded
        QTest::addColumn<QString>("file"); // what the user's browser is given to open

        const auto row = [](const char* name, const char* folder, const char* href, const char* url,
                            const QString& file) {
            QTest::newRow(name) << QString::fromUtf8(folder) << QString::fromUtf8(href)
                                << QString::fromUtf8(url) << file;
        };
        row("plain", "/srv/site", "a.htm", "file:///srv/site/a.htm", u"/srv/site/a.htm"_s);
        row("folder with final separator", "/srv/site/", "a.htm", "file:///srv/site/a.htm",
            u"/srv/site/a.htm"_s);
        row("root folder", "/", "a.htm", "file:///a.htm", u"/a.htm"_s);
        row("space in the name", "/srv/site", "my%20page.htm", "file:///srv/site/my%20page.htm",
            u"/srv/site/my page.htm"_s);
        row("hash in the name", "/srv/site", "a%23b.htm", "file:///srv/site/a%23b.htm",
            u"/srv/site/a#b.htm"_s);
        row("percent in the name", "/srv/site", "100%25.htm", "file:///srv/site/100%25.htm",
            u"/srv/site/100%.htm"_s);
        row("hash and space in the folder", "/srv/my site#2", "a.htm", "file:///srv/my%20site%232/a.htm",
            u"/srv/my site#2/a.htm"_s);
        row("UTF-8 name", "/srv/site", "caf%C3%A9.htm", "file:///srv/site/caf%C3%A9.htm",
            u"/srv/site/café.htm"_s);
        // A name that is no valid UTF-8 keeps its byte in the address handed on.
        row("non-UTF-8 name byte kept", "/srv/site", "caf%E9.htm", "file:///srv/site/caf%E9.htm", QString());
        row("web address stays", "/srv/site", "https://example.com/x.htm", "https://example.com/x.htm",
            QString());
    }

    void linkResolvesAgainstTheFolder() {
        QFETCH(QString, folder);
        QFETCH(QString, href);
        QFETCH(QString, url);
        QFETCH(QString, file);
        const QUrl resolved = frmBrowser::ResolveLink(folder, QUrl(href));
        QCOMPARE(QString::fromLatin1(resolved.toEncoded()), url);
        if (!file.isNull())
            QCOMPARE(resolved.toLocalFile(), file);
    }

    // A link followed from the keyboard, as a user would: Tab to it, Enter. Pages of the folder and
    // web pages open outside the preview, which keeps showing the index; anything else is
    // refused, with a message naming the address.
    void clickedLinkOpensOutside_data() {
        QTest::addColumn<QString>("href");
        QTest::addColumn<QString>("opened"); // empty: refused
        QTest::newRow("page") << u"my%20page.htm"_s << u"file:///srv/site/my%20page.htm"_s;
        QTest::newRow("page in a sub-folder") << u"sub/a.htm"_s << u"file:///srv/site/sub/a.htm"_s;
        QTest::newRow("web page") << u"http://example.com/a.htm"_s << u"http://example.com/a.htm"_s;
        QTest::newRow("secure web page") << u"https://example.com/"_s << u"https://example.com/"_s;
        QTest::newRow("script") << u"javascript:alert(1)"_s << QString();
        QTest::newRow("system file") << u"file:///etc/passwd"_s << QString();
        QTest::newRow("out of the folder") << u"../../bin/sh"_s << QString();
        QTest::newRow("out of the folder, encoded") << u"%2e%2e/x.htm"_s << QString();
        QTest::newRow("folder with a longer name") << u"file:///srv/site2/a.htm"_s << QString();
        QTest::newRow("the folder itself") << u"file:///srv/site/"_s << QString();
        QTest::newRow("another machine's share") << u"file://host/share/x.desktop"_s << QString();
        QTest::newRow("other scheme") << u"ftp://example.com/a.htm"_s << QString();
    }

    void clickedLinkOpensOutside() {
        QFETCH(QString, href);
        QFETCH(QString, opened);

        frmBrowser browser;
        QList<QUrl> handedOut;
        browser.setLinkOpener([&](const QUrl& url) { handedOut.append(url); });
        QSignalSpy spy(&browser, &frmBrowser::linkOpened);
        const QString index = u"<ul>\r\n<li><a href=\"%1\">Page</a>\r\n</ul>"_s.arg(href);
        browser.showIndex(index, u"/srv/site"_s);
        auto* page = browser.findChild<QTextBrowser*>(u"brwBrowser"_s);
        ModalDriver driver;
        QString refusal;
        if (opened.isEmpty()) {
            driver.expect<QMessageBox>([&](QMessageBox* box) {
                QCOMPARE(box->windowTitle(), u"Pagewick"_s);
                refusal = box->text();
                box->accept();
            });
        }
        page->setFocus();
        QTest::keyClick(page, Qt::Key_Tab);
        QTest::keyClick(page, Qt::Key_Return);
        QVERIFY2(driver.problemsLeft().isEmpty(), qPrintable(driver.problemsLeft().join(u"; ")));

        if (opened.isEmpty()) {
            QVERIFY(handedOut.isEmpty());
            QCOMPARE(spy.count(), 0);
            const QUrl address = frmBrowser::ResolveLink(u"/srv/site"_s, QUrl(href));
            QVERIFY2(refusal.contains(address.toDisplayString()), qPrintable(refusal));
        } else {
            QCOMPARE(handedOut.size(), 1);
            QCOMPARE(QString::fromLatin1(handedOut.at(0).toEncoded()), opened);
            QCOMPARE(spy.count(), 1);
        }
        QCOMPARE(renderedLines(page), QStringList{u"Page"_s});
        QVERIFY(page->source().isEmpty());
    }

    void scratchpadLastOneWins() {
        frmTextpad textpad;
        auto* display = textpad.findChild<QPlainTextEdit*>(u"txtDisplay"_s);
        const QString index = u"<ul>\r\n<li><a href=\"a.htm\">A</a>\r\n</ul>"_s;
        const QString feed = u"<?xml version=\"1.0\"?>\r\n<rss version=\"2.0\"></rss>"_s;

        textpad.showText(index);
        QVERIFY(textpad.isVisible());
        QCOMPARE(display->toPlainText(), QString(index).replace(u"\r\n"_s, u"\n"_s));
        textpad.showText(feed);
        QCOMPARE(display->toPlainText(), QString(feed).replace(u"\r\n"_s, u"\n"_s));
    }

    void scratchpadEditsStayInTheWindow() {
        frmTextpad textpad;
        auto* display = textpad.findChild<QPlainTextEdit*>(u"txtDisplay"_s);
        const QString shared = u"<ul>\r\n</ul>"_s;
        const QString copy = shared;
        textpad.showText(shared);
        display->setFocus();
        QTest::keyClick(display, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(display, u"edited"_s);
        QVERIFY(display->toPlainText().endsWith(u"edited"_s));
        QCOMPARE(shared, copy);

        // The next view overwrites the edit.
        textpad.showText(shared);
        QCOMPARE(display->toPlainText(), u"<ul>\n</ul>"_s);
    }

    // Escape and Ctrl+W close either window from its control, as they close a desktop's viewer
    // windows; it opens again on the next view. Other keys go to the control.
    void closedByKeys_data() {
        QTest::addColumn<bool>("browser");
        QTest::addColumn<QKeyCombination>("keys");
        QTest::addColumn<bool>("closes");
        for (const bool browser : {false, true}) {
            const char* name = browser ? "browser" : "scratchpad";
            QTest::addRow("%s, Escape", name) << browser << QKeyCombination(Qt::Key_Escape) << true;
            QTest::addRow("%s, Ctrl+W", name) << browser << QKeyCombination(Qt::CTRL, Qt::Key_W) << true;
            QTest::addRow("%s, W", name) << browser << QKeyCombination(Qt::Key_W) << false;
            QTest::addRow("%s, Ctrl+End", name) << browser << QKeyCombination(Qt::CTRL, Qt::Key_End) << false;
        }
    }
    void closedByKeys() {
        QFETCH(bool, browser);
        QFETCH(QKeyCombination, keys);
        QFETCH(bool, closes);
        frmBrowser browserWindow;
        frmTextpad textpad;
        const QString index = u"<ul>\r\n<li><a href=\"a.htm\">A</a>\r\n</ul>"_s;
        const auto show = [&] {
            if (browser)
                browserWindow.showIndex(index, u"/srv/site"_s);
            else
                textpad.showText(index);
        };
        QWidget* window = browser ? static_cast<QWidget*>(&browserWindow) : &textpad;
        show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QWidget* control = controlOf(window);
        control->setFocus();
        QTest::keyClick(control, keys.key(), keys.keyboardModifiers());
        QCOMPARE(window->isVisible(), !closes);
        show();
        QVERIFY(window->isVisible());
    }

    void scratchpadSelectAllAndCopy() {
        frmTextpad textpad;
        auto* display = textpad.findChild<QPlainTextEdit*>(u"txtDisplay"_s);
        textpad.showText(u"<rss>\r\n<channel>é</channel>\r\n</rss>"_s);
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(display, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(display, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), u"<rss>\n<channel>é</channel>\n</rss>"_s);
    }
};

QTEST_MAIN(PreviewsTest)
#include "tst_previews.moc"
