#include "engine/index.h"
#include "engine/spool_p.h"
#include "engine/writefile.h"
#include "fixture.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace Qt::Literals::StringLiterals;

using namespace pagewick;

class IndexTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void alphaExample_data();
    void alphaExample();
    void indexLine_data();
    void indexLine();
    void emptyList();
    void pageDocument_data();
    void pageDocument();
    void writeReplacesFile();
    void failedWriteKeepsFile_data();
    void failedWriteKeepsFile();
    void spoolGivesBackItsText_data();
    void spoolGivesBackItsText();
};

void IndexTest::alphaExample_data() {
    QTest::addColumn<bool>("trailingSeparator");
    QTest::newRow("folder without separator") << false;
    QTest::newRow("folder with separator") << true;
}

void IndexTest::alphaExample() {
    QFETCH(bool, trailingSeparator);
    QTemporaryDir dir;
    WriteFixture(dir.path(), u"a.htm"_s, "<html><head><title>Alpha</title></head></html>");
    WriteFixture(dir.path(), u"b.html"_s, "<html><body>No title here</body></html>");
    const QString folder = dir.path() + (trailingSeparator ? u"/"_s : QString());
    QCOMPARE(BuildIndexText(folder, {u"a.htm"_s, u"b.html"_s}),
             u"<ul>\r\n<li><a href=\"a.htm\">Alpha</a>\r\n<li><a href=\"b.html\">"_s + dir.path() +
                 u"/b.html</a>\r\n</ul>"_s);
}

void IndexTest::indexLine_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // null: the page is listed but gone
    QTest::addColumn<QString>("line");       // "{folder}" stands for the folder
    QTest::newRow("title's markup is text")
        << u"t.htm"_s << QByteArray("<title>Fish & \"Chips\" <i>x</i></title>")
        << u"<li><a href=\"t.htm\">Fish & \"Chips\" &lt;i&gt;x&lt;/i&gt;</a>"_s;
    QTest::newRow("references stay as written")
        << u"t.htm"_s << QByteArray("<title>Tom &amp; Jerry &mdash; &#60;3 &bogus</title>")
        << u"<li><a href=\"t.htm\">Tom &amp; Jerry &mdash; &#60;3 &bogus</a>"_s;
    QTest::newRow("a comment opener hides nothing")
        << u"t.htm"_s << QByteArray("<title>a <!-- b</title>") << u"<li><a href=\"t.htm\">a &lt;!-- b</a>"_s;
    QTest::newRow("a script runs nowhere")
        << u"t.htm"_s << QByteArray("<title><script>alert(1)</script></title>")
        << u"<li><a href=\"t.htm\">&lt;script&gt;alert(1)&lt;/script&gt;</a>"_s;
    QTest::newRow("name encoded in the link") << u"my \"best\" #1.htm"_s << QByteArray("<title>Best</title>")
                                              << u"<li><a href=\"my%20%22best%22%20%231.htm\">Best</a>"_s;
    QTest::newRow("fallback path escaped")
        << u"R&D <new>.htm"_s << QByteArray("no title")
        << u"<li><a href=\"R%26D%20%3Cnew%3E.htm\">{folder}/R&amp;D &lt;new&gt;.htm</a>"_s;
    QTest::newRow("page gone") << u"gone.htm"_s << QByteArray()
                               << u"<li><a href=\"gone.htm\">{folder}/gone.htm</a>"_s;
}

void IndexTest::indexLine() {
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, line);
    QTemporaryDir dir;
    if (!content.isNull())
        WriteFixture(dir.path(), name, content);
    QCOMPARE(BuildIndexText(dir.path(), {name}),
             u"<ul>\r\n"_s + line.replace(u"{folder}"_s, dir.path()) + u"\r\n</ul>"_s);
}

void IndexTest::emptyList() {
    QCOMPARE(BuildIndexText(u"/nowhere"_s, {}), u"<ul>\r\n</ul>"_s);
}

void IndexTest::pageDocument_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("index");
    QTest::addColumn<QString>("document");
    QTest::newRow("title twice") << u"My Site"_s << u"<ul>\r\n</ul>"_s
                                 << u"<html><head><meta charset=\"utf-8\"><title>My Site</title></head><body>"
                                    "<h1>My Site</h1><ul>\r\n</ul></body></html>\r\n"_s;
    QTest::newRow("empty title") << QString() << u"<ul>\r\n</ul>"_s
                                 << u"<html><head><meta charset=\"utf-8\"><title></title></head><body>"
                                    "<h1></h1><ul>\r\n</ul></body></html>\r\n"_s;
}

void IndexTest::pageDocument() {
    QFETCH(QString, title);
    QFETCH(QString, index);
    QFETCH(QString, document);
    QCOMPARE(BuildPageDocument(title, index), document);
}

void IndexTest::writeReplacesFile() {
    QTemporaryDir dir;
    const QString path = WriteFixture(dir.path(), u"index.htm"_s, "old content that is longer");
    QString error;
    QVERIFY(WriteTextFile(path, u"Ünïcode\r\n"_s, &error));
    QVERIFY(error.isEmpty());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("\xC3\x9Cn\xC3\xAF"
                                        "code\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"index.htm"_s});
}

void IndexTest::failedWriteKeepsFile_data() {
    QTest::addColumn<QString>("relative");
    QTest::addColumn<bool>("sizeLimit");
    QTest::newRow("under a regular file") << u"keep.htm/index.htm"_s << false;
    QTest::newRow("onto a folder") << u"folder"_s << false;
    QTest::newRow("write fails midway") << u"keep.htm"_s << true;
}

void IndexTest::failedWriteKeepsFile() {
    QFETCH(QString, relative);
    QFETCH(bool, sizeLimit);
    QTemporaryDir dir;
    const QByteArray old = "the old page";
    WriteFixture(dir.path(), u"keep.htm"_s, old);
    QVERIFY(QDir(dir.path()).mkpath(u"folder/inside"_s));
    const QString path = dir.path() + u'/' + relative;

    // A file-size limit makes writing fail even for root.
    rlimit saved{};
    if (sizeLimit) {
        std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit small = saved;
        small.rlim_cur = 4;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    }
    QString error;
    const bool written = WriteTextFile(path, QString(100000, u'x'), &error);
    if (sizeLimit)
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &saved), 0);

    QVERIFY(!written);
    QVERIFY2(error.contains(path), qPrintable(error));
    QFile kept(dir.path() + u"/keep.htm"_s);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), old);
    QVERIFY(QFileInfo(dir.path() + u"/folder/inside"_s).isDir());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"keep.htm"_s});
}

// The text a feed holds back until its start is known comes back whole and in order, in pieces of
// whole lines, whether it stayed in memory, went to a temporary file, or could not.
void IndexTest::spoolGivesBackItsText_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("tempFolder"); // "" the usual one; "missing"; "limited" (the file cannot grow)
    QTest::newRow("nothing") << 0 << QString();
    QTest::newRow("a little, in memory") << 100 << QString();
    QTest::newRow("megabytes, in a temporary file") << 40000 << QString();
    QTest::newRow("no temporary folder") << 40000 << u"missing"_s;
    QTest::newRow("a temporary file that stops growing") << 40000 << u"limited"_s;
}

void IndexTest::spoolGivesBackItsText() {
    QFETCH(int, lines);
    QFETCH(QString, tempFolder);
    QTemporaryDir dir;
    const QByteArray savedTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", tempFolder == u"missing"_s ? QFile::encodeName(dir.path() + u"/gone"_s)
                                                 : QFile::encodeName(dir.path()));
    rlimit saved{};
    if (tempFolder == u"limited"_s) {
        std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit small = saved;
        small.rlim_cur = 1536 * 1024; // the first megabyte goes to the file, the second does not fit
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    }
    QString given;
    QStringList pieces;
    {
        detail::TextSpool spool;
        for (int i = 0; i < lines; ++i) {
            const QString line = u"<entry>\u00e9t\u00e9 \U0001F600 %1</entry>\r\n"_s.arg(i);
            spool.append(line);
            given += line;
        }
        spool.replay([&pieces](const QString& piece) { pieces << piece; });
    }
    if (tempFolder == u"limited"_s)
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &saved), 0);
    qputenv("TMPDIR", savedTemp);
    QCOMPARE(pieces.join(QString()), given);
    for (qsizetype i = 0; i + 1 < pieces.size(); ++i)
        QVERIFY(pieces[i].endsWith(u'\n'));
    // The temporary file goes with the spool.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

QTEST_GUILESS_MAIN(IndexTest)
#include "tst_index.moc"
