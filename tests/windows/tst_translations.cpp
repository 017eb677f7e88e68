#include "engine/output/atom.h"
#include "engine/output/feed.h"
#include "engine/output/index.h"
#include "engine/output/pagedetails.h"
#include "engine/output/sitemap.h"
#include "fixture.h"
#include "translations/catalogue.h"
#include "ui/frmBrowse.h"
#include "ui/frmFeedOptions.h"
#include "ui/frmMain.h"
#include "ui/frmPageOptions.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <QXmlStreamReader>

#include <memory>

using namespace pagewick;
using namespace Qt::Literals::StringLiterals;

namespace {

// One entry of a catalogue, as Qt Linguist shows it.
struct Entry {
    QString context;
    QString source;
    QString translation;
    QString type; // "unfinished", "obsolete", "vanished", or empty for a finished entry
};

QList<Entry> ReadCatalogue(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return {};
    }
    QList<Entry> entries;
    QString context;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"name") {
            context = xml.readElementText();
        } else if (xml.name() == u"message") {
            Entry entry{context, {}, {}, {}};
            while (xml.readNextStartElement()) {
                if (xml.name() == u"source") {
                    entry.source = xml.readElementText();
                } else if (xml.name() == u"translation") {
                    entry.type = xml.attributes().value(u"type"_s).toString();
                    entry.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
                } else {
                    xml.skipCurrentElement();
                }
            }
            entries << entry;
        }
    }
    if (xml.hasError())
        *error = xml.errorString();
    return entries;
}

// The %1, %2 ... a text carries, in order of number.
QStringList Placeholders(const QString& text) {
    QStringList found;
    static const QRegularExpression marker(u"%[1-9]"_s);
    for (const QRegularExpressionMatch& match : marker.globalMatch(text))
        found << match.captured();
    found.sort();
    return found;
}

// The access keys of a text: "&x" marks x; "&&" is a literal ampersand.
QString AccessKeys(const QString& text) {
    QString keys;
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&')
            continue;
        if (text[i + 1] != u'&')
            keys += text[i + 1].toLower();
        ++i;
    }
    return keys;
}

// What of a window's texts does not fit the room it is given: labels, buttons, check boxes and
// frame titles, each named by its text.
QStringList Clipped(QWidget* top) {
    QStringList clipped;
    const QList<QWidget*> widgets = top->findChildren<QWidget*>();
    for (QWidget* widget : widgets) {
        if (!widget->isVisible())
            continue;
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const int room =
                button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
            if (button->fontMetrics().horizontalAdvance(button->text()) > room)
                clipped << button->text();
        } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
            if (check->sizeHint().width() > check->width())
                clipped << check->text();
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            const bool fits = label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                                : label->sizeHint().width() <= label->width();
            if (!fits)
                clipped << label->text();
        } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
            if (frame->fontMetrics().horizontalAdvance(frame->title()) > frame->width())
                clipped << frame->title();
        }
    }
    return clipped;
}

// A window's texts that a user reads: captions, frame titles, menu entries and tool tips, each
// keyed by its control's name (and its place among its menu's entries).
QMap<QString, QString> Texts(QWidget* window) {
    QMap<QString, QString> texts;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        // The save dialogs are Qt's, in Qt's own words.
        bool qtDialog = false;
        for (QWidget* w = widget; w && !qtDialog; w = w->parentWidget())
            qtDialog = qobject_cast<QFileDialog*>(w) != nullptr;
        if (qtDialog || widget->objectName().isEmpty() || widget->objectName().startsWith(u"qt_"_s))
            continue;
        if (!widget->toolTip().isEmpty())
            texts.insert(widget->objectName() + u" tip"_s, widget->toolTip());
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            texts.insert(widget->objectName(), button->text());
        if (auto* frame = qobject_cast<QGroupBox*>(widget))
            texts.insert(widget->objectName(), frame->title());
        if (auto* menu = qobject_cast<QMenu*>(widget)) {
            const QList<QAction*> actions = menu->actions();
            for (qsizetype i = 0; i < actions.size(); ++i) {
                // Open Recent's folders are names, the same in every language.
                if (!actions[i]->isSeparator() && !actions[i]->text().startsWith(u'/'))
                    texts.insert(menu->objectName() + u'/' + QString::number(i), actions[i]->text());
            }
            texts.insert(menu->objectName() + u" title"_s, menu->title());
        }
    }
    return texts;
}

// Every menu's access keys, and the menu bar's, are each used once.
QStringList ClashingAccessKeys(const QMenuBar* bar) {
    QStringList clashes;
    QList<QList<QAction*>> groups{bar->actions()};
    for (QAction* action : bar->actions()) {
        if (action->menu())
            groups << action->menu()->actions();
    }
    for (const QList<QAction*>& group : groups) {
        QString seen;
        for (const QAction* action : group) {
            for (const QChar key : AccessKeys(action->text())) {
                if (seen.contains(key))
                    clashes << action->text();
                seen += key;
            }
        }
    }
    return clashes;
}

} // namespace

// The window and the command line in German and French: complete catalogues, translated
// windows in which every text fits, and outputs that stay the same bytes in every language.
class TranslationsTest : public QObject {
    Q_OBJECT

    QTemporaryDir tmp;
    QString site;

    static void removeTranslations() {
        for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }

    static void addLanguageRows() {
        QTest::addColumn<QString>("language");
        QTest::newRow("German") << u"de"_s;
        QTest::newRow("French") << u"fr"_s;
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(tmp.isValid());
        site = tmp.path() + u"/site"_s;
        QVERIFY(QDir().mkpath(site));
        WriteFixture(site, u"a.htm"_s,
                     "<head><meta name=\"date\" content=\"2024-05-03T07:08:09Z\">"
                     "<meta name=\"description\" content=\"First\"><title>Alpha</title></head>");
        WriteFixture(
            site, u"b.html"_s,
            "<head><meta name=\"date\" content=\"2023-12-24T18:00:00+01:00\"><title>B&eacute;ta</title>");
        WriteFixture(site, u"c.htm"_s, "no title");
    }
    void cleanup() {
        removeTranslations();
        QLocale::setDefault(QLocale::c());
    }

    // Every entry translated, with the same placeholders, as many access keys and the same line
    // breaks at either end as its English source.
    void catalogues_data() { addLanguageRows(); }
    void catalogues() {
        QFETCH(QString, language);
        QString error;
        const QList<Entry> entries = ReadCatalogue(
            QStringLiteral(PAGEWICK_SOURCE_DIR "/translations/pagewick_") + language + u".ts"_s, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(entries.size() > 100);
        QStringList faults;
        for (const Entry& entry : entries) {
            const QString where = entry.context + u": "_s + entry.source.left(60);
            if (!entry.type.isEmpty())
                faults << entry.type + u": "_s + where;
            else if (entry.translation.trimmed().isEmpty())
                faults << u"empty: "_s + where;
            else if (Placeholders(entry.translation) != Placeholders(entry.source))
                faults << u"placeholders: "_s + where;
            else if (AccessKeys(entry.translation).size() != AccessKeys(entry.source).size())
                faults << u"access keys: "_s + where;
            else if (entry.translation.startsWith(u'\n') != entry.source.startsWith(u'\n') ||
                     entry.translation.endsWith(u'\n') != entry.source.endsWith(u'\n'))
                faults << u"line breaks: "_s + where;
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }

    // The catalogues hold every text of the sources: lupdate run over a copy of each finds
    // nothing new. Run `make translations` to bring them up to date, then translate.
    void cataloguesAreCurrent() {
        const QString lupdate = QStringLiteral(PAGEWICK_LUPDATE);
        if (!QFile::exists(lupdate))
            QSKIP("lupdate is not installed (qt6-l10n-tools)");
        QStringList copies;
        for (const QString& language : TranslatedLanguages()) {
            const QString copy = tmp.path() + u"/pagewick_"_s + language + u".ts"_s;
            QFile::remove(copy);
            QVERIFY(QFile::copy(
                QStringLiteral(PAGEWICK_SOURCE_DIR "/translations/pagewick_") + language + u".ts"_s, copy));
            QVERIFY(QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner));
            copies << copy;
        }
        QCOMPARE(copies.size(), 2);
        QProcess process;
        process.setWorkingDirectory(QStringLiteral(PAGEWICK_SOURCE_DIR));
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(lupdate,
                      QStringList{u"-silent"_s, u"-no-obsolete"_s, u"-locations"_s, u"none"_s, u"-I"_s,
                                  u"."_s, u"app"_s, u"cli"_s, u"ui"_s, u"engine"_s, u"settings"_s, u"-ts"_s} +
                          copies);
        QVERIFY(process.waitForFinished(-1));
        QCOMPARE(process.exitCode(), 0);
        for (const QString& copy : copies) {
            QString error;
            QStringList untranslated;
            for (const Entry& entry : ReadCatalogue(copy, &error)) {
                if (!entry.type.isEmpty())
                    untranslated << entry.context + u": "_s + entry.source.left(60);
            }
            QVERIFY2(error.isEmpty(), qPrintable(error));
            QVERIFY2(untranslated.isEmpty(),
                     qPrintable(copy + u" after lupdate, not translated:\n"_s + untranslated.join(u'\n')));
        }
    }

    // The user's first language with a catalogue wins; without one, English, and Qt's own
    // catalogue is not installed either, so no dialog mixes two languages.
    void languageChoice_data() {
        QTest::addColumn<QStringList>("uiLanguages");
        QTest::addColumn<QString>("installed");
        QTest::newRow("German") << QStringList{u"de-DE"_s} << u"de"_s;
        QTest::newRow("Swiss French") << QStringList{u"fr-CH"_s} << u"fr"_s;
        QTest::newRow("Spanish: English") << QStringList{u"es-ES"_s} << QString();
        QTest::newRow("English") << QStringList{u"en-GB"_s} << QString();
    }
    void languageChoice() {
        QFETCH(QStringList, uiLanguages);
        QFETCH(QString, installed);
        const QLocale locale(uiLanguages.first());
        QCOMPARE(InstallTranslations(*qApp, locale), installed);
        QCOMPARE(qApp->findChildren<QTranslator*>().isEmpty(), installed.isEmpty());
        QCOMPARE(QCoreApplication::translate("pagewick::frmMain", "Create HTML") == u"Create HTML"_s,
                 installed.isEmpty());
    }

    // The main window and its menus in the language, every text fitting, no access key twice.
    void mainWindow_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("menus");
        QTest::addColumn<QString>("create");
        QTest::newRow("German") << u"de"_s << QStringList{u"&Datei"_s, u"&Feed"_s, u"&Hilfe"_s}
                                << u"HTML erstellen"_s;
        QTest::newRow("French") << u"fr"_s << QStringList{u"&Fichier"_s, u"F&lux"_s, u"&Aide"_s}
                                << u"Créer le HTML"_s;
    }
    void mainWindow() {
        QFETCH(QString, language);
        QFETCH(QStringList, menus);
        QFETCH(QString, create);
        QCOMPARE(InstallTranslations(*qApp, QLocale(language)), language);
        frmMain window(nullptr, site);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* bar = window.findChild<QMenuBar*>(u"mnuBar"_s);
        QVERIFY(bar);
        QStringList titles;
        for (QAction* action : bar->actions())
            titles << action->text();
        QCOMPARE(titles, menus);
        QCOMPARE(window.findChild<QPushButton*>(u"cmdCreate"_s)->text(), create);

        // Every caption, menu entry and tool tip differs from the English one.
        const QMap<QString, QString> translated = Texts(&window);
        removeTranslations();
        frmMain englishWindow(nullptr, site);
        const QMap<QString, QString> english = Texts(&englishWindow);
        QCOMPARE(translated.keys(), english.keys());
        QStringList untranslated;
        for (auto it = english.cbegin(); it != english.cend(); ++it) {
            if (translated.value(it.key()) == it.value())
                untranslated << it.key() + u": "_s + it.value();
        }
        QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(u'\n')));
        // The captions are short enough that the window needs no smaller font than in English.
        QVERIFY(window.font().pointSizeF() >= englishWindow.font().pointSizeF());
        QVERIFY2(Clipped(&window).isEmpty(), qPrintable(Clipped(&window).join(u'\n')));
        QVERIFY2(ClashingAccessKeys(bar).isEmpty(), qPrintable(ClashingAccessKeys(bar).join(u'\n')));
    }

    // The dialogs in the language, their standard buttons in Qt's words for it, every text fitting
    // and none left in English.
    void dialogs_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("dialog"); // the dialog's class
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("cancel");
        QTest::newRow("Feed Options, German")
            << u"de"_s << u"frmFeedOptions"_s << u"Feed-Optionen"_s << u"Abbrechen"_s;
        QTest::newRow("Feed Options, French")
            << u"fr"_s << u"frmFeedOptions"_s << u"Options du flux"_s << u"Annuler"_s;
        QTest::newRow("Page Options, German")
            << u"de"_s << u"frmPageOptions"_s << u"Seitenoptionen"_s << u"Abbrechen"_s;
        QTest::newRow("Page Options, French")
            << u"fr"_s << u"frmPageOptions"_s << u"Options de la page"_s << u"Annuler"_s;
    }
    void dialogs() {
        QFETCH(QString, language);
        QFETCH(QString, dialog);
        QFETCH(QString, title);
        QFETCH(QString, cancel);
        if (dialog != u"frmPageOptions"_s && dialog != u"frmFeedOptions"_s)
            QFAIL(qPrintable(u"no such dialog: "_s + dialog));
        const auto make = [&dialog]() -> std::unique_ptr<QDialog> {
            if (dialog == u"frmPageOptions"_s)
                return std::make_unique<frmPageOptions>();
            return std::make_unique<frmFeedOptions>();
        };
        const QMap<QString, QString> english = Texts(make().get());
        QCOMPARE(InstallTranslations(*qApp, QLocale(language)), language);

        const std::unique_ptr<QDialog> options = make();
        options->show();
        QVERIFY(QTest::qWaitForWindowExposed(options.get()));
        QCOMPARE(options->windowTitle(), title);
        QVERIFY2(Clipped(options.get()).isEmpty(), qPrintable(Clipped(options.get()).join(u'\n')));
        const QMap<QString, QString> translated = Texts(options.get());
        QCOMPARE(translated.keys(), english.keys());
        QStringList untranslated;
        for (auto it = english.cbegin(); it != english.cend(); ++it) {
            if (translated.value(it.key()) == it.value())
                untranslated << it.key() + u": "_s + it.value();
        }
        QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(u'\n')));
        QTranslator qt;
        if (qt.load(QLocale(language), u"qtbase"_s, u"_"_s,
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            auto* buttons = options->findChild<QDialogButtonBox*>();
            QVERIFY(buttons);
            QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text().remove(u'&'), cancel);
        } else {
            qWarning("Qt's own %s catalogue is not installed (qt6-translations-l10n): standard buttons not "
                     "checked",
                     qPrintable(language));
        }

        frmBrowse picker;
        picker.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picker));
        QCOMPARE(picker.findChild<QPushButton*>(u"cmdCancel"_s)->text(), cancel);
        QVERIFY2(Clipped(&picker).isEmpty(), qPrintable(Clipped(&picker).join(u'\n')));
    }

    // The index (with its details too), the page, the feeds and the sitemap are the same bytes in
    // every language and under every locale; feed dates keep their English names.
    void outputs_data() { addLanguageRows(); }
    void outputs() {
        QFETCH(QString, language);
        const QStringList names{u"a.htm"_s, u"b.html"_s, u"c.htm"_s};
        FeedOptions feed;
        feed.guid = true;
        feed.dates = true;
        feed.rssUrl = u"https://example.org/feed.xml"_s;
        feed.atomUrl = u"https://example.org/atom.xml"_s;
        feed.description = FeedDescription::Meta;
        SitemapOptions sitemap;
        sitemap.lastmod = true;
        const auto build = [&] {
            const QString index = BuildIndexText(site, names);
            return QStringList{index,
                               BuildPageDocument(u"Pages"_s, index),
                               BuildFeedText({.folderText = site,
                                              .pageNames = names,
                                              .feedTitle = u"News"_s,
                                              .siteUrl = u"https://example.org/"_s,
                                              .options = feed}),
                               BuildAtomText({.folderText = site,
                                              .pageNames = names,
                                              .feedTitle = u"News"_s,
                                              .siteUrl = u"https://example.org/"_s,
                                              .options = feed}),
                               BuildSitemapText({.folderText = site,
                                                 .pageNames = names,
                                                 .siteUrl = u"https://example.org/"_s,
                                                 .options = sitemap}),
                               BuildIndexText({.folderText = site,
                                               .pageNames = names,
                                               .details = IndexDetails{{IndexDetail::Date, IndexDetail::Size,
                                                                        IndexDetail::Description},
                                                                       std::nullopt}})};
        };
        const QStringList english = build();
        QVERIFY(english[2].contains(u"Fri, 03 May 2024 07:08:09 +0000"_s));
        QCOMPARE(InstallTranslations(*qApp, QLocale(language)), language);
        QLocale::setDefault(QLocale(language));
        QCOMPARE(build(), english);
    }
};

QTEST_MAIN(TranslationsTest)
#include "tst_translations.moc"
