#include "ui/frmBrowser.h"
#include "ui/frmTextpad.h"
#include "ui/twips.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>

using pagewick::frmBrowser;
using pagewick::frmTextpad;

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

    static QWidget* controlOf(QWidget* window) {
        if (auto* browser = window->findChild<QTextBrowser*>(QStringLiteral("brwBrowser")))
            return browser;
        return window->findChild<QPlainTextEdit*>(QStringLiteral("txtDisplay"));
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
        if (window == QStringLiteral("browser"))
            preview = std::make_unique<frmBrowser>();
        else
            preview = std::make_unique<frmTextpad>();
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
        QCOMPARE(browser.windowTitle(), QStringLiteral("Pagewick Browser"));
        QCOMPARE(textpad.windowTitle(), QStringLiteral("Pagewick Scratchpad"));
        QVERIFY(browser.isWindow() && textpad.isWindow());
        const qreal dpi = browser.logicalDpiX();
        const QSize client(pagewick::TwipsToPixels(4680, dpi), pagewick::TwipsToPixels(3195, dpi));
        QCOMPARE(browser.size(), client);
        QCOMPARE(textpad.size(), client);

        auto* display = textpad.findChild<QPlainTextEdit*>(QStringLiteral("txtDisplay"));
        QVERIFY(display);
        QVERIFY(display->toPlainText().isEmpty());
        QVERIFY(!display->isReadOnly());
        QCOMPARE(display->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        auto* page = browser.findChild<QTextBrowser*>(QStringLiteral("brwBrowser"));
        QVERIFY(page);
        QVERIFY(page->toPlainText().isEmpty());
    }

    void browserShowsTheIndex() {
        frmBrowser browser;
        browser.showIndex(QStringLiteral("<ul>\r\n<li><a href=\"a.htm\">Alpha &amp; Omega</a>\r\n"
                                         "<li><a href=\"b.htm\"><b>Beta</b></a>\r\n</ul>"),
                          QStringLiteral("/srv/site"));
        QVERIFY(browser.isVisible());
        auto* page = browser.findChild<QTextBrowser*>(QStringLiteral("brwBrowser"));
        // Rendered as HTML: markup gone, references resolved.
        QCOMPARE(renderedLines(page), (QStringList{QStringLiteral("Alpha & Omega"), QStringLiteral("Beta")}));

        // Shown again: the new index replaces the old one.
        browser.showIndex(QStringLiteral("<ul>\r\n</ul>"), QStringLiteral("/srv/other"));
        QVERIFY(browser.isVisible());
        QCOMPARE(page->toPlainText().trimmed(), QString());
    }

    void browserLoadsNothing() {
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        const QString picture = tmp.filePath(QStringLiteral("logo.png"));
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(picture));

        frmBrowser browser;
        auto* page = browser.findChild<QTextBrowser*>(QStringLiteral("brwBrowser"));
        for (const QUrl& url : {QUrl::fromLocalFile(picture), QUrl(QStringLiteral("logo.png")),
                                QUrl(QStringLiteral("http://example.com/logo.png"))}) {
            QVERIFY2(page->loadResource(QTextDocument::ImageResource, url).isNull(),
                     qPrintable(url.toString()));
            QVERIFY2(page->loadResource(QTextDocument::StyleSheetResource, url).isNull(),
                     qPrintable(url.toString()));
        }
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
        row("plain", "/srv/site", "a.htm", "file:///srv/site/a.htm", QStringLiteral("/srv/site/a.htm"));
        row("folder with final separator", "/srv/site/", "a.htm", "file:///srv/site/a.htm",
            QStringLiteral("/srv/site/a.htm"));
        row("root folder", "/", "a.htm", "file:///a.htm", QStringLiteral("/a.htm"));
        row("space in the name", "/srv/site", "my%20page.htm", "file:///srv/site/my%20page.htm",
            QStringLiteral("/srv/site/my page.htm"));
        row("hash in the name", "/srv/site", "a%23b.htm", "file:///srv/site/a%23b.htm",
            QStringLiteral("/srv/site/a#b.htm"));
        row("percent in the name", "/srv/site", "100%25.htm", "file:///srv/site/100%25.htm",
            QStringLiteral("/srv/site/100%.htm"));
        row("hash and space in the folder", "/srv/my site#2", "a.htm", "file:///srv/my%20site%232/a.htm",
            QStringLiteral("/srv/my site#2/a.htm"));
        row("UTF-8 name", "/srv/site", "caf%C3%A9.htm", "file:///srv/site/caf%C3%A9.htm",
            QStringLiteral("/srv/site/café.htm"));
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

    // A link followed from the keyboard, as a user would: Tab to it, Enter. The page opens outside
    // the preview, which keeps showing the index.
    void clickedLinkOpensOutside_data() {
        QTest::addColumn<QString>("href");
        QTest::addColumn<QString>("opened"); // empty: nothing is opened
        QTest::newRow("page") << QStringLiteral("my%20page.htm")
                              << QStringLiteral("file:///srv/site/my%20page.htm");
        QTest::newRow("script") << QStringLiteral("javascript:alert(1)") << QString();
    }

    void clickedLinkOpensOutside() {
        QFETCH(QString, href);
        QFETCH(QString, opened);

        frmBrowser browser;
        QList<QUrl> handedOut;
        browser.setLinkOpener([&](const QUrl& url) { handedOut.append(url); });
        QSignalSpy spy(&browser, &frmBrowser::linkOpened);
        const QString index = QStringLiteral("<ul>\r\n<li><a href=\"%1\">Page</a>\r\n</ul>").arg(href);
        browser.showIndex(index, QStringLiteral("/srv/site"));
        auto* page = browser.findChild<QTextBrowser*>(QStringLiteral("brwBrowser"));
        page->setFocus();
        QTest::keyClick(page, Qt::Key_Tab);
        QTest::keyClick(page, Qt::Key_Return);

        if (opened.isEmpty()) {
            QVERIFY(handedOut.isEmpty());
            QCOMPARE(spy.count(), 0);
        } else {
            QCOMPARE(handedOut.size(), 1);
            QCOMPARE(QString::fromLatin1(handedOut.at(0).toEncoded()), opened);
            QCOMPARE(spy.count(), 1);
        }
        QCOMPARE(renderedLines(page), QStringList{QStringLiteral("Page")});
        QVERIFY(page->source().isEmpty());
    }

    void scratchpadLastOneWins() {
        frmTextpad textpad;
        auto* display = textpad.findChild<QPlainTextEdit*>(QStringLiteral("txtDisplay"));
        const QString index = QStringLiteral("<ul>\r\n<li><a href=\"a.htm\">A</a>\r\n</ul>");
        const QString feed = QStringLiteral("<?xml version=\"1.0\"?>\r\n<rss version=\"2.0\"></rss>");

        textpad.showText(index);
        QVERIFY(textpad.isVisible());
        QCOMPARE(display->toPlainText(),
                 QString(index).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        textpad.showText(feed);
        QCOMPARE(display->toPlainText(), QString(feed).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    }

    void scratchpadEditsStayInTheWindow() {
        frmTextpad textpad;
        auto* display = textpad.findChild<QPlainTextEdit*>(QStringLiteral("txtDisplay"));
        const QString shared = QStringLiteral("<ul>\r\n</ul>");
        const QString copy = shared;
        textpad.showText(shared);
        display->setFocus();
        QTest::keyClick(display, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(display, QStringLiteral("edited"));
        QVERIFY(display->toPlainText().endsWith(QStringLiteral("edited")));
        QCOMPARE(shared, copy);

        // The next view overwrites the edit.
        textpad.showText(shared);
        QCOMPARE(display->toPlainText(), QStringLiteral("<ul>\n</ul>"));
    }

    void scratchpadSelectAllAndCopy() {
        frmTextpad textpad;
        auto* display = textpad.findChild<QPlainTextEdit*>(QStringLiteral("txtDisplay"));
        textpad.showText(QStringLiteral("<rss>\r\n<channel>é</channel>\r\n</rss>"));
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(display, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(display, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("<rss>\n<channel>é</channel>\n</rss>"));
    }
};

QTEST_MAIN(PreviewsTest)
#include "tst_previews.moc"
