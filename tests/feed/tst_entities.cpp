#include "engine/text/entities.h"

#include <QHash>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>

using namespace pagewick;
using namespace Qt::Literals::StringLiterals;

namespace {

QString Name(const EntityRow& row) {
    const QString ref = QStringView(row.reference).toString();
    return ref.mid(1, ref.size() - 2);
}

// Row by row with QString::replace, which scans left to right without rescanning replacements:
// slow, but plainly the rule, so the fast version is checked against it.
QString FlattenSlowly(QString text) {
    for (const EntityRow& row : EntityFlatteningTable())
        text.replace(QStringView(row.reference).toString(), QStringView(row.replacement).toString());
    return text;
}

} // namespace

class EntitiesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tableOrder() {
        QStringList names;
        for (const EntityRow& row : EntityFlatteningTable())
            names << Name(row);
        QCOMPARE(
            names.join(u' '),
            u"Aacute aacute agrave Eacute eacute egrave ecirc Iacute iacute Oacute oacute Uacute uacute "
            "ugrave Ntilde ntilde nbsp iexcl cent pound curren yen brvbar sect uml copy ordf laquo not shy "
            "reg macr deg plusmn sup2 sup3 micro ordm raquo frac14 frac12 frac34 iquest Agrave Atilde Auml "
            "Ccedil Egrave Eacute Euml Igrave Iacute Icirc Iuml Ntilde Ograve Oacute Ocirc Otilde Ouml "
            "Ugrave Uacute Ucirc Uuml Yacute szlig agrave aacute acirc atilde auml ccedil egrave eacute "
            "ecirc euml igrave iacute iuml ntilde ograve oacute otilde ouml divide ugrave uacute ucirc "
            "uuml yacute yuml"_s);
    }

    void repeatedRows() {
        const auto table = EntityFlatteningTable();
        QHash<QString, QString> first;
        QList<int> repeats; // 1-based row numbers
        for (int i = 0; i < int(table.size()); ++i) {
            const QString ref = QStringView(table[i].reference).toString();
            const QString rep = QStringView(table[i].replacement).toString();
            if (first.contains(ref)) {
                repeats << i + 1;
                QCOMPARE(rep, first.value(ref));
            } else {
                first.insert(ref, rep);
            }
        }
        QCOMPARE(int(table.size()), 91);
        QCOMPARE(first.size(), 76);
        QCOMPARE(repeats, (QList<int>{49, 52, 55, 57, 62, 67, 68, 73, 74, 75, 78, 80, 82, 86, 87}));
    }

    // Every row gives the character the HTML list names, except the plain look-alikes.
    void replacement_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("expected");
        const QHash<QString, QString> lookAlikes = {
            {u"nbsp"_s, u" "_s},   {u"cent"_s, u"%"_s},     {u"curren"_s, u"$"_s},   {u"yen"_s, u"Y"_s},
            {u"brvbar"_s, u"|"_s}, {u"sect"_s, u"/"_s},     {u"uml"_s, u"\u00FC"_s}, {u"copy"_s, u"(c)"_s},
            {u"ordf"_s, u"a"_s},   {u"laquo"_s, u"\""_s},   {u"not"_s, u"-"_s},      {u"shy"_s, u"-"_s},
            {u"reg"_s, u"TM"_s},   {u"macr"_s, u"_"_s},     {u"plusmn"_s, u"+-"_s},  {u"ordm"_s, u"o"_s},
            {u"raquo"_s, u"\""_s}, {u"frac14"_s, u"1/4"_s}, {u"frac12"_s, u"1/2"_s}, {u"frac34"_s, u"3/4"_s},
            {u"szlig"_s, u"ss"_s}, {u"divide"_s, u"/"_s},
        };
        QSet<QString> used;
        int number = 0;
        for (const EntityRow& row : EntityFlatteningTable()) {
            const QString name = Name(row);
            used << name;
            const QString expected = lookAlikes.value(name, LookUpHtmlNamedReference(name));
            QTest::addRow("%d %s", ++number, qPrintable(name))
                << name << QStringView(row.replacement).toString() << expected;
        }
        QCOMPARE(used & QSet<QString>(lookAlikes.keyBegin(), lookAlikes.keyEnd()),
                 QSet<QString>(lookAlikes.keyBegin(), lookAlikes.keyEnd()));
    }
    void replacement() {
        QFETCH(QString, replacement);
        QFETCH(QString, expected);
        QVERIFY(!expected.isEmpty());
        QCOMPARE(replacement, expected);
    }

    void flatten_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("no ampersand") << u"plain title"_s << u"plain title"_s;
        QTest::newRow("in a sentence")
            << u"Caf&eacute; &amp; cr&egrave;me"_s << u"Caf\u00E9 &amp; cr\u00E8me"_s;
        QTest::newRow("case exact") << u"&Acirc;&acirc;&EACUTE;"_s << u"&Acirc;\u00E2&EACUTE;"_s;
        QTest::newRow("not in the table")
            << u"&amp;&lt;&gt;&quot;&Ecirc;&icirc;&ocirc;&aring;&aelig;&oslash;&eth;&thorn;"_s
            << u"&amp;&lt;&gt;&quot;&Ecirc;&icirc;&ocirc;&aring;&aelig;&oslash;&eth;&thorn;"_s;
        QTest::newRow("numeric") << u"&#233;&#xE9;"_s << u"&#233;&#xE9;"_s;
        QTest::newRow("no semicolon") << u"&eacute &nbsp"_s << u"&eacute &nbsp"_s;
        QTest::newRow("nbsp and guillemets") << u"&laquo;a&nbsp;b&raquo;"_s << u"\"a b\""_s;
        QTest::newRow("look-alikes") << u"&copy;&reg;&frac12;&szlig;&yen;&cent;"_s << u"(c)TM1/2ssY%"_s;
        QTest::newRow("adjacent and at the ends")
            << u"&eacute;&eacute;x&eacute;"_s << u"\u00E9\u00E9x\u00E9"_s;
        QTest::newRow("ampersand doubled") << u"&&eacute;"_s << u"&\u00E9"_s;
        // A letter replacement completes a reference; only a later row replaces it.
        QTest::newRow("chain to a repeated row") << u"&E&ordf;cute;"_s << u"\u00C9"_s;
        QTest::newRow("chain to a later row") << u"&&ordf;uml;"_s << u"\u00E4"_s;
        QTest::newRow("chain to an earlier row") << u"&&ordm;rdf;"_s << u"&ordf;"_s;
        QTest::newRow("chain to no row") << u"&&ordf;cute;"_s << u"&acute;"_s;
        QTest::newRow("not rescanned in its own row") << u"&&ordm;rdm;"_s << u"&ordm;"_s;
    }
    void flatten() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(FlattenEntities(text), expected);
    }

    // Random mixes of references, fragments of references and chains, against the plain rule.
    void flattenLikeRowByRow_data() {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed = 1; seed <= 30; ++seed)
            QTest::addRow("seed %u", seed) << seed;
    }
    void flattenLikeRowByRow() {
        QFETCH(quint32, seed);
        static const QStringList pieces = {
            u"&"_s,      u"&&"_s,     u"E"_s,        u"a"_s,       u"cute;"_s,  u"uml;"_s,    u"rdm;"_s,
            u"&ordf;"_s, u"&ordm;"_s, u"&eacute;"_s, u"&Eacute"_s, u";"_s,      u"x y"_s,     u"&amp;"_s,
            u"&yen;"_s,  u"&reg;"_s,  u"&szlig;"_s,  u"&#233;"_s,  u"\u00E9"_s, u"&frac34;"_s};
        QRandomGenerator rng(seed);
        QString text;
        for (int i = 0; i < 300; ++i)
            text += pieces[rng.bounded(int(pieces.size()))];
        QCOMPARE(FlattenEntities(text), FlattenSlowly(text));
    }

    void flattenLongText() {
        const QString filler(2'000'000, u'x');
        const QString text = u"&eacute;"_s + filler + u"&E&ordf;cute;&amp;"_s + filler + u"&uuml;"_s;
        const QString expected = u"\u00E9"_s + filler + u"\u00C9&amp;"_s + filler + u"\u00FC"_s;
        QCOMPARE(FlattenEntities(text), expected);
        QCOMPARE(FlattenEntities(filler), filler);

        const QString dense = u"&eacute;&copy;"_s.repeated(100'000);
        QCOMPARE(FlattenEntities(dense), u"\u00E9(c)"_s.repeated(100'000));
    }

    void resolve_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("attribute");
        QTest::addColumn<QString>("expected");
        QTest::newRow("named") << u"Tom &amp; Jerry &mdash;"_s << false << u"Tom & Jerry \u2014"_s;
        QTest::newRow("numeric") << u"&#65;&#x42;&#X43;&#0068"_s << false << u"ABCD"_s;
        QTest::newRow("C1 as windows-1252")
            << u"&#128;&#x81;&#146;&#150;&#159;"_s << false << u"\u20AC\u0081\u2019\u2013\u0178"_s;
        QTest::newRow("no character") << u"&#0;&#xD800;&#xDFFF;&#x110000;&#99999999999999;"_s << false
                                      << u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"_s;
        QTest::newRow("legacy without semicolon") << u"&copy 2020, &eacute;t&eacutex &AMP &lt&gt"_s << false
                                                  << u"\u00A9 2020, \u00E9t\u00E9x & <>"_s;
        QTest::newRow("longest legacy prefix")
            << u"&notit; &notin; &notin"_s << false << u"\u00ACit; \u2209 \u00ACin"_s;
        QTest::newRow("not legacy, no semicolon") << u"&hellip &mdash x"_s << false << u"&hellip &mdash x"_s;
        QTest::newRow("unknown and bare")
            << u"&bogus; & &; &#; &#x;"_s << false << u"&bogus; & &; &#; &#x;"_s;
        QTest::newRow("wrong case") << u"&COPY; &Copy"_s << false << u"\u00A9 &Copy"_s;
        QTest::newRow("attribute: legacy before a letter or =")
            << u"?a=1&copy=2&notx&copy 3&amp;"_s << true << u"?a=1&copy=2&notx\u00A9 3&"_s;
        QTest::newRow("attribute: with semicolon") << u"&copy;=&notin;x"_s << true << u"\u00A9=\u2209x"_s;
        QTest::newRow("read once") << u"&amp;copy; &amp;#65;"_s << false << u"&copy; &#65;"_s;
    }
    void resolve() {
        QFETCH(QString, text);
        QFETCH(bool, attribute);
        QFETCH(QString, expected);
        QCOMPARE(
            ResolveCharacterReferences(text, attribute ? ReferencesIn::AttributeValue : ReferencesIn::Text),
            expected);
    }

    void lookUp_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected"); // null: unknown
        QTest::newRow("first") << u"AElig"_s << u"\u00C6"_s;
        QTest::newRow("last") << u"zwnj"_s << u"\u200C"_s;
        QTest::newRow("eacute") << u"eacute"_s << u"\u00E9"_s;
        QTest::newRow("case matters") << u"Eacute"_s << u"\u00C9"_s;
        QTest::newRow("hellip") << u"hellip"_s << u"\u2026"_s;
        QTest::newRow("nbsp") << u"nbsp"_s << u"\u00A0"_s;
        QTest::newRow("amp") << u"amp"_s << u"&"_s;
        QTest::newRow("outside the BMP") << u"Afr"_s << u"\U0001D504"_s;
        QTest::newRow("two characters") << u"nvlt"_s << u"<\u20D2"_s;
        QTest::newRow("longest") << u"CounterClockwiseContourIntegral"_s << u"\u2233"_s;
        QTest::newRow("unknown") << u"bogus"_s << QString();
        QTest::newRow("wrong case") << u"EACUTE"_s << QString();
        QTest::newRow("with semicolon") << u"eacute;"_s << QString();
        QTest::newRow("prefix of a name") << u"eacut"_s << QString();
        QTest::newRow("empty") << QString() << QString();
    }
    void lookUp() {
        QFETCH(QString, name);
        QFETCH(QString, expected);
        const QString value = LookUpHtmlNamedReference(name);
        QCOMPARE(value.isNull(), expected.isNull());
        QCOMPARE(value, expected);
    }
};

QTEST_GUILESS_MAIN(EntitiesTest)
#include "tst_entities.moc"
