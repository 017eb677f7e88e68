#include "engine/listing/scan.h"
#include "engine/listing/sitewalk.h"
#include "engine/order/nameorder.h"
#include "engine/order/order.h"
#include "fixture.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

using namespace pagewick;

class OrderTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void order_data();
    void order();
    void selection_data();
    void selection();
};

void OrderTest::order_data() {
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("sorted");
    // The natural order (runs of digits read as numbers); empty where it is the same as sorted.
    QTest::addColumn<QStringList>("natural");
    QTest::newRow("letter case ignored") << QStringList{u"d.htm"_s, u"C.htm"_s, u"b.htm"_s}
                                         << QStringList{u"b.htm"_s, u"C.htm"_s, u"d.htm"_s} << QStringList();
    QTest::newRow("case twins, one way")
        << QStringList{u"a.htm"_s, u"A.htm"_s} << QStringList{u"A.htm"_s, u"a.htm"_s} << QStringList();
    QTest::newRow("case twins, other way")
        << QStringList{u"A.htm"_s, u"a.htm"_s} << QStringList{u"A.htm"_s, u"a.htm"_s} << QStringList();
    QTest::newRow("twins among others")
        << QStringList{u"b.htm"_s, u"B.htm"_s, u"a.HTM"_s, u"A.htm"_s, u"a.htm"_s}
        << QStringList{u"A.htm"_s, u"a.HTM"_s, u"a.htm"_s, u"B.htm"_s, u"b.htm"_s} << QStringList();
    QTest::newRow("prefix first") << QStringList{u"page10.htm"_s, u"page1.htm"_s, u"Page.htm"_s}
                                  << QStringList{u"Page.htm"_s, u"page1.htm"_s, u"page10.htm"_s}
                                  // Natural: a name's number comes before any longer text that
                                  // follows the same letters.
                                  << QStringList{u"page1.htm"_s, u"page10.htm"_s, u"Page.htm"_s};
    QTest::newRow("accented letters with their letters")
        << QStringList{u"zebra.htm"_s, u"éclair.htm"_s, u"Éclair.htm"_s, u"eclair.htm"_s, u"Ecrin.htm"_s}
        << QStringList{u"eclair.htm"_s, u"Éclair.htm"_s, u"éclair.htm"_s, u"Ecrin.htm"_s, u"zebra.htm"_s}
        << QStringList();
    QTest::newRow("numbers stay alphabetical")
        << QStringList{u"page2.htm"_s, u"page10.htm"_s, u"page1.htm"_s}
        << QStringList{u"page1.htm"_s, u"page10.htm"_s, u"page2.htm"_s}
        << QStringList{u"page1.htm"_s, u"page2.htm"_s, u"page10.htm"_s};
    QTest::newRow("ASCII punctuation and digits")
        << QStringList{u"b-c.htm"_s, u"b_c.htm"_s, u"b.c.htm"_s, u"b c.htm"_s,
                       u"b1.htm"_s,  u"B~.htm"_s,  u"b!.htm"_s,  u"bc.htm"_s}
        << QStringList{u"b c.htm"_s, u"b_c.htm"_s, u"b-c.htm"_s, u"b!.htm"_s,
                       u"b.c.htm"_s, u"B~.htm"_s,  u"b1.htm"_s,  u"bc.htm"_s}

        << QStringList{u"b1.htm"_s, u"b c.htm"_s, u"b_c.htm"_s, u"b-c.htm"_s,
                       u"b!.htm"_s, u"b.c.htm"_s, u"B~.htm"_s,  u"bc.htm"_s};
    QTest::newRow("other scripts and letters")
        << QStringList{u"Ñu.htm"_s, u"ob.htm"_s, u"Straße.htm"_s, u"strasse.htm"_s, u"ńa.htm"_s}
        << QStringList{u"ńa.htm"_s, u"Ñu.htm"_s, u"ob.htm"_s, u"strasse.htm"_s, u"Straße.htm"_s}
        << QStringList();
    // Relative paths go part by part: a folder's pages stay together, and the folder stands where
    // its name falls among the names beside it.
    QTest::newRow("folder among pages")
        << QStringList{u"c.htm"_s, u"blog/b.htm"_s, u"a.htm"_s, u"blog/a.htm"_s, u"blog.htm"_s}
        << QStringList{u"a.htm"_s, u"blog/a.htm"_s, u"blog/b.htm"_s, u"blog.htm"_s, u"c.htm"_s}
        << QStringList();
    QTest::newRow("folders equal but for case stay apart")
        << QStringList{u"a/z.htm"_s, u"A/y.htm"_s, u"a/b.htm"_s, u"A/c.htm"_s}
        << QStringList{u"A/c.htm"_s, u"A/y.htm"_s, u"a/b.htm"_s, u"a/z.htm"_s} << QStringList();
    QTest::newRow("deeper first where the folder sorts first")
        << QStringList{u"x/2025/b.htm"_s, u"x/a.htm"_s, u"x/2024/c.htm"_s, u"x/2025/a.htm"_s}
        << QStringList{u"x/2024/c.htm"_s, u"x/2025/a.htm"_s, u"x/2025/b.htm"_s, u"x/a.htm"_s}
        << QStringList();
    QTest::newRow("a folder's name is compared whole")
        << QStringList{u"ab/x.htm"_s, u"a/y.htm"_s, u"a b/z.htm"_s}
        << QStringList{u"a/y.htm"_s, u"a b/z.htm"_s, u"ab/x.htm"_s} << QStringList();
    // Sub-folders in the natural order: each level by its numbers, a folder's pages together.
    QTest::newRow("numbered folders") << QStringList{u"p10/a.htm"_s, u"p2.htm"_s,     u"p2/b.htm"_s,
                                                     u"p1/x.htm"_s,  u"p2/a10.htm"_s, u"p2/a9.htm"_s}
                                      << QStringList{u"p1/x.htm"_s,  u"p10/a.htm"_s, u"p2/a10.htm"_s,
                                                     u"p2/a9.htm"_s, u"p2/b.htm"_s,  u"p2.htm"_s}
                                      << QStringList{u"p1/x.htm"_s, u"p2/a9.htm"_s, u"p2/a10.htm"_s,
                                                     u"p2/b.htm"_s, u"p2.htm"_s,    u"p10/a.htm"_s};
    QTest::newRow("numbers equal but for zeros, by name")
        << QStringList{u"v02/a.htm"_s, u"v2/a.htm"_s, u"V2/a.htm"_s, u"v3.htm"_s}
        << QStringList{u"v02/a.htm"_s, u"V2/a.htm"_s, u"v2/a.htm"_s, u"v3.htm"_s}
        << QStringList{u"v02/a.htm"_s, u"V2/a.htm"_s, u"v2/a.htm"_s, u"v3.htm"_s};
}

void OrderTest::order() {
    QFETCH(QStringList, names);
    QFETCH(QStringList, sorted);
    QFETCH(QStringList, natural);
    if (natural.isEmpty())
        natural = sorted;
    // Run in the C locale, where the order is the language-neutral one, and in a language of its own.
    const QLocale saved;
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::French, QLocale::France)}) {
        QLocale::setDefault(locale);
        QStringList paths = names;
        SortPagePaths(paths);
        QCOMPARE(paths, sorted);
        QVERIFY(std::is_sorted(paths.cbegin(), paths.cend(), [](const QString& a, const QString& b) {
            return PageNameOrder().pathLess(a, b);
        }));
        if (std::none_of(names.cbegin(), names.cend(), [](const QString& n) { return n.contains(u'/'); })) {
            QStringList list = names;
            PageNameOrder().sortNames(list);
            QCOMPARE(list, sorted);
            for (qsizetype i = 1; i < list.size(); ++i)
                QVERIFY(PageNameOrder().nameLess(list[i - 1], list[i]));
        }
        // Every way the engine puts names in an order gives the same one: a list sorted whole, pairs
        // compared, a selection's names and read pages.
        for (const bool numeric : {false, true}) {
            const PageNameOrder nameOrder(numeric);
            const QStringList& expected = numeric ? natural : sorted;
            QStringList list = names;
            nameOrder.sortPaths(list);
            QCOMPARE(list, expected);
            for (qsizetype i = 1; i < list.size(); ++i) {
                QVERIFY(nameOrder.pathLess(list[i - 1], list[i]));
                QVERIFY(!nameOrder.pathLess(list[i], list[i - 1]));
            }
            const PageOrder pageOrder = numeric ? PageOrder::Natural : PageOrder::Name;
            QCOMPARE(SelectPageNames(names, PageSelection{pageOrder, {}, 0}), expected);
            QList<PageRecord> records;
            for (const QString& name : std::as_const(names)) {
                records.append(PageRecord());
                records.last().name = name;
            }
            OrderPages(records, pageOrder);
            QStringList ordered;
            for (const PageRecord& record : std::as_const(records))
                ordered << record.name;
            QCOMPARE(ordered, expected);
        }
    }
    QLocale::setDefault(saved);
}

// What an output takes from a folder: the pages left after the excludes, in the chosen order, cut
// to the limit. Files are made with the given modification times (minutes after a fixed instant).
void OrderTest::selection_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QList<int>>("minutes");
    QTest::addColumn<int>("order");
    QTest::addColumn<QStringList>("excludes");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QStringList>("selected");
    const int name = int(PageOrder::Name), natural = int(PageOrder::Natural), date = int(PageOrder::Date);
    const QStringList pages{u"page10.htm"_s, u"Page2.htm"_s, u"page1.htm"_s, u"about.htm"_s};
    const QList<int> times{30, 10, 20, 10};
    QTest::newRow("name") << pages << times << name << QStringList() << 0
                          << QStringList{u"about.htm"_s, u"page1.htm"_s, u"page10.htm"_s, u"Page2.htm"_s};
    QTest::newRow("natural") << pages << times << natural << QStringList() << 0
                             << QStringList{u"about.htm"_s, u"page1.htm"_s, u"Page2.htm"_s, u"page10.htm"_s};
    QTest::newRow("natural, equal numbers by name")
        << QStringList{u"a2.htm"_s, u"a02.htm"_s, u"A2.htm"_s} << QList<int>{0, 0, 0} << natural
        << QStringList() << 0 << QStringList{u"a02.htm"_s, u"A2.htm"_s, u"a2.htm"_s};
    QTest::newRow("date, newest first, equal dates by name")
        << pages << times << date << QStringList() << 0
        << QStringList{u"page10.htm"_s, u"page1.htm"_s, u"about.htm"_s, u"Page2.htm"_s};
    QTest::newRow("limit after the order")
        << pages << times << date << QStringList() << 2 << QStringList{u"page10.htm"_s, u"page1.htm"_s};
    QTest::newRow("limit, name order")
        << pages << times << name << QStringList() << 1 << QStringList{u"about.htm"_s};
    QTest::newRow("limit above the count")
        << pages << times << natural << QStringList() << 99
        << QStringList{u"about.htm"_s, u"page1.htm"_s, u"Page2.htm"_s, u"page10.htm"_s};
    QTest::newRow("exclude star, any letter case")
        << pages << times << name << QStringList{u"PAGE*"_s} << 0 << QStringList{u"about.htm"_s};
    QTest::newRow("exclude question mark and set")
        << pages << times << name << QStringList{u"page?.htm"_s, u"[a-c]*"_s} << 0
        << QStringList{u"page10.htm"_s};
    QTest::newRow("exclude before the limit")
        << pages << times << date << QStringList{u"page10.htm"_s} << 1 << QStringList{u"page1.htm"_s};
    QTest::newRow("exclude, whole name only")
        << pages << times << name << QStringList{u"page"_s, u"*.html"_s} << 0
        << QStringList{u"about.htm"_s, u"page1.htm"_s, u"page10.htm"_s, u"Page2.htm"_s};
    QTest::newRow("exclude, negated set") << pages << times << name << QStringList{u"[!p]*"_s} << 0
                                          << QStringList{u"page1.htm"_s, u"page10.htm"_s, u"Page2.htm"_s};
    QTest::newRow("everything excluded")
        << pages << times << date << QStringList{u"*"_s} << 0 << QStringList();
}

void OrderTest::selection() {
    QFETCH(QStringList, files);
    QFETCH(QList<int>, minutes);
    QFETCH(int, order);
    QFETCH(QStringList, excludes);
    QFETCH(int, limit);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QDateTime start(QDate(2024, 5, 3), QTime(7, 8, 9), QTimeZone::utc());
    for (qsizetype i = 0; i < files.size(); ++i) {
        QFile file(WriteFixture(dir.path(), files[i], "<title>t</title>"));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(start.addSecs(minutes[i] * 60), QFileDevice::FileModificationTime));
    }
    for (const QString& pattern : std::as_const(excludes))
        QVERIFY(IsValidExcludePattern(pattern));
    const QList<PageRecord> pages =
        SelectPages(dir.path(), ScanPageFiles(dir.path()), PageSelection{PageOrder(order), excludes, limit});
    QStringList names;
    for (const PageRecord& page : pages)
        names << page.name;
    QTEST(names, "selected");
}

QTEST_GUILESS_MAIN(OrderTest)
#include "tst_order.moc"
