// pagewick-cli: the index engine from the command line.

#include "cli/check.h"
#include "cli/help.h"
#include "cli/message.h"
#include "cli/watch.h"
#include "engine/files/filename.h"
#include "engine/files/paths.h"
#include "engine/files/writefile.h"
#include "engine/listing/sitewalk.h"
#include "engine/order/order.h"
#include "engine/output/atom.h"
#include "engine/output/feed.h"
#include "engine/output/index.h"
#include "engine/output/pagedetails.h"
#include "engine/output/pagetemplate.h"
#include "engine/output/sitemap.h"
#include "engine/reading/pagereader.h"
#include "translations/catalogue.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringEncoder>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <limits>
#include <optional>
#include <unistd.h>
#include <variant>

namespace {

using namespace pagewick;
using cli::PrintError;

constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

enum class Command { Help, Version, Index, Page, Rss, Atom, Sitemap, Titles, Check };

struct CommandForm {
    QLatin1StringView name;
    Command command;
};

constexpr CommandForm Commands[] = {
    {QLatin1StringView("index"), Command::Index},     {QLatin1StringView("page"), Command::Page},
    {QLatin1StringView("rss"), Command::Rss},         {QLatin1StringView("atom"), Command::Atom},
    {QLatin1StringView("sitemap"), Command::Sitemap}, {QLatin1StringView("titles"), Command::Titles},
    {QLatin1StringView("check"), Command::Check},
};

int UsageError(const QString& message) {
    PrintError(message.toUtf8());
    std::fputs(cli::UsageText().toUtf8().constData(), stderr);
    std::fflush(stderr);
    return ExitUsage;
}

// Linux hands us argv as bytes that need not be UTF-8. QCoreApplication::arguments() would turn
// undecodable bytes into U+FFFD and lose the name, so the arguments are taken from argv directly,
// in the same lossless form the engine uses for file names.
QStringList RawArguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << FileNameFromBytes(QByteArrayView(argv[i]));
    return arguments;
}

// Option values that are text rather than file names: undecodable bytes become U+FFFD.
QString TextArgument(const QString& value) {
    return QString::fromUtf8(FileNameToBytes(value));
}

// Opening the folder is the one check that tells "missing", "not a folder" and "not readable"
// apart; the scan itself reports none of them.
bool CheckFolder(const QString& folderText) {
    const QByteArray path = FileNameToBytes(EnsureTrailingSeparator(folderText));
    DIR* dir = opendir(path.constData());
    if (!dir) {
        const int error = errno;
        PrintError(
            cli::MessageBytes(QCoreApplication::translate("pagewick::cli", "cannot read folder \"%1\": %2"),
                              {FileNameToBytes(folderText), std::strerror(error)}));
        return false;
    }
    closedir(dir);
    return true;
}

// Standard output goes through stdio's buffer; a failure anywhere shows at the final flush, with
// the cause of the first one (errno is long overwritten by then).
int standardOutputError = 0;

void Put(const QByteArray& bytes) {
    if (std::fwrite(bytes.constData(), 1, bytes.size(), stdout) != size_t(bytes.size()) &&
        !standardOutputError)
        standardOutputError = errno ? errno : EIO;
}

int FinishStandardOutput() {
    if (std::fflush(stdout) != 0 && !standardOutputError)
        standardOutputError = errno ? errno : EIO;
    if (standardOutputError || std::ferror(stdout)) {
        PrintError(cli::MessageBytes(
            QCoreApplication::translate("pagewick::cli", "cannot write to standard output: %1"),
            {std::strerror(standardOutputError ? standardOutputError : EIO)}));
        return ExitFailure;
    }
    return 0;
}

// Encoded piece by piece, so a big index is not held twice, as UTF-16 and as UTF-8.
int WriteStandardOutput(const QString& text) {
    constexpr qsizetype Piece = 64 * 1024;
    QStringEncoder toUtf8(QStringEncoder::Utf8);
    for (qsizetype at = 0; at < text.size(); at += Piece)
        Put(toUtf8(QStringView(text).mid(at, Piece)));
    return FinishStandardOutput();
}

// The names of the open standard output itself. When that is a file, replacing the file would
// lose what the shell had already written to it (">>", or earlier commands of a group).
bool NamesStandardOutput(const QString& outputFile) {
    return outputFile == u'-' || outputFile == QStringLiteral("/dev/stdout") ||
           outputFile == QStringLiteral("/dev/fd/1") || outputFile == QStringLiteral("/proc/self/fd/1");
}

// Where the output goes: standard output, another descriptor the process was given that is the
// very file FILE names (after its links: "-o /dev/stderr 2>>log", "-o out.txt >>out.txt"), or -1:
// FILE itself, to be replaced.
int OutputDescriptor(const QString& outputFile) {
    if (outputFile.isNull() || NamesStandardOutput(outputFile))
        return STDOUT_FILENO;
    return OpenDescriptorOf(outputFile);
}

// To FILE when one is given, else to standard output. Into one of the process's own descriptors
// when FILE is that file, at its position; otherwise a regular file is replaced atomically, and a
// FIFO or a terminal is written into, as a shell redirection would.
int WriteOutput(const QString& outputFile, int outputFd, const QString& text) {
    if (outputFd == STDOUT_FILENO)
        return WriteStandardOutput(text);
    QString error;
    if (outputFd >= 0) {
        if (WriteIntoDescriptor(outputFd, text, &error))
            return 0;
        PrintError(
            cli::MessageBytes(QCoreApplication::translate("pagewick::cli", "cannot write to \"%1\": %2"),
                              {FileNameToBytes(outputFile), error.toUtf8()}));
        return ExitFailure;
    }
    if (!WriteTextFile(outputFile, text, &error, SpecialTarget::WriteInto)) {
        PrintError(error.toUtf8());
        return ExitFailure;
    }
    return 0;
}

// One record per page, each written as it is read: the name, a tab, the title, and a line feed
// (with null, a NUL, so that names holding line feeds can be told apart). The name is written as
// its exact bytes, and so is the path that stands in for a missing title, so a script can open
// either.
int WriteTitleLines(const QString& folderText, const QStringList& names, const PageSelection& selection,
                    bool null, PageReadAhead* readAhead) {
    const char end = null ? '\0' : '\n';
    ForEachSelectedPage(
        folderText, names, selection, WantTitle,
        [&](PageRecord&& page) {
            const QByteArray label =
                page.title ? page.title->toUtf8() : FileNameToBytes(PagePath(folderText, page.name));
            Put(FileNameToBytes(page.name) + '\t' + label + end);
        },
        readAhead);
    return FinishStandardOutput();
}

// A value from a fixed list, given as text: the index of the word, or -1.
int WordIndex(const QString& value, std::initializer_list<QLatin1StringView> words) {
    int i = 0;
    for (const QLatin1StringView word : words) {
        if (value == word)
            return i;
        ++i;
    }
    return -1;
}

void ReportSkippedFolders(const QString& folderText, const QList<SkippedFolder>& skipped) {
    for (const SkippedFolder& folder : skipped)
        PrintError(cli::MessageBytes(
            QCoreApplication::translate("pagewick::cli", "cannot read folder \"%1\": %2, left out"),
            {FileNameToBytes(PagePath(folderText, folder.name)), folder.reason.toUtf8()}));
}

// What the command line asks for: the command, its folder and every option's value, each read
// and checked before anything is read or written.
struct Request {
    Command command = Command::Help;
    QLatin1StringView name; // the command as typed, for messages
    QString folderText;
    WalkOptions walk;
    PageSelection selection;

    // Where the output goes: a null outputFile is standard output; outputFd as OutputDescriptor
    // finds it.
    QString outputFile;
    int outputFd = STDOUT_FILENO;
    bool watch = false;

    // index and page
    IndexDetails details;

    // page: the template is read once while the request is checked, and that reading serves the
    // first build (templateFresh); each later one reads it again.
    QString pageTitle;
    QString stylesheetUrl;
    bool useTemplate = false;
    QString templatePath;
    std::optional<PageTemplate> pageTemplate;
    bool templateFresh = true;

    // rss and atom; siteUrl for the sitemap too
    QString feedTitle;
    FeedOptions feed;
    QString siteUrl;

    bool lastmod = false;                                  // sitemap
    cli::CheckFormat checkFormat = cli::CheckFormat::Text; // check
    bool null = false;                                     // titles
};

// The options pagewick-cli knows, and what the parser found of them.
struct CommandLine {
    CommandLine() {
        parser.addOptions({help,         version, title,     feedTitle, siteUrl, output,
                           sort,         exclude, limit,     guid,      feedUrl, dates,
                           description,  lastmod, recursive, maxDepth,  format,  watch,
                           templateFile, css,     details,   null});
    }
    bool isSet(const QCommandLineOption& option) const { return parser.isSet(option); }
    QString value(const QCommandLineOption& option) const { return parser.value(option); }
    // An option's value that is text rather than a file name.
    QString text(const QCommandLineOption& option) const { return TextArgument(parser.value(option)); }

    QCommandLineParser parser;
    const QCommandLineOption help{QStringList{QStringLiteral("h"), QStringLiteral("help")}};
    const QCommandLineOption version{QStringList{QStringLiteral("v"), QStringLiteral("version")}};
    const QCommandLineOption title{QStringLiteral("title"), QString(), QStringLiteral("TEXT")};
    const QCommandLineOption feedTitle{QStringLiteral("feed-title"), QString(), QStringLiteral("TEXT")};
    const QCommandLineOption siteUrl{QStringLiteral("site-url"), QString(), QStringLiteral("URL")};
    const QCommandLineOption output{
        {QStringLiteral("o"), QStringLiteral("output")}, QString(), QStringLiteral("FILE")};
    const QCommandLineOption sort{QStringLiteral("sort"), QString(), QStringLiteral("ORDER")};
    const QCommandLineOption exclude{QStringLiteral("exclude"), QString(), QStringLiteral("GLOB")};
    const QCommandLineOption limit{QStringLiteral("limit"), QString(), QStringLiteral("N")};
    const QCommandLineOption guid{QStringLiteral("guid")};
    const QCommandLineOption feedUrl{QStringLiteral("feed-url"), QString(), QStringLiteral("URL")};
    const QCommandLineOption dates{QStringLiteral("dates")};
    const QCommandLineOption description{QStringLiteral("description"), QString(), QStringLiteral("FROM")};
    const QCommandLineOption lastmod{QStringLiteral("lastmod")};
    const QCommandLineOption recursive{QStringLiteral("recursive")};
    const QCommandLineOption maxDepth{QStringLiteral("max-depth"), QString(), QStringLiteral("N")};
    const QCommandLineOption format{QStringLiteral("format"), QString(), QStringLiteral("FORMAT")};
    const QCommandLineOption watch{QStringLiteral("watch")};
    const QCommandLineOption templateFile{QStringLiteral("template"), QString(), QStringLiteral("FILE")};
    const QCommandLineOption css{QStringLiteral("css"), QString(), QStringLiteral("URL")};
    const QCommandLineOption details{QStringLiteral("details"), QString(), QStringLiteral("LIST")};
    const QCommandLineOption null{QStringList{QStringLiteral("z"), QStringLiteral("null")}};
};

// Each step of checking a command line fills in its part of the request, or says what is wrong
// (as the message of a usage error).
using CheckStep = QString (*)(const CommandLine& line, Request& request);

QString CheckCommand(const CommandLine& line, Request& request) {
    const QStringList positional = line.parser.positionalArguments();
    if (positional.isEmpty())
        return QCoreApplication::translate("pagewick::cli", "no command given");
    const QString& commandName = positional.first();
    const auto form = std::find_if(std::begin(Commands), std::end(Commands),
                                   [&](const CommandForm& f) { return f.name == commandName; });
    if (form == std::end(Commands))
        return QCoreApplication::translate("pagewick::cli", "unknown command \"%1\"")
            .arg(TextArgument(commandName));
    if (positional.size() < 2)
        return QCoreApplication::translate("pagewick::cli", "%1: FOLDER is missing").arg(form->name);
    if (positional.size() > 2)
        return QCoreApplication::translate("pagewick::cli", "%1: unexpected argument \"%2\"")
            .arg(form->name, TextArgument(positional[2]));
    request.command = form->command;
    request.name = form->name;
    request.folderText = positional[1];
    return {};
}

// Every option is either required by the command or refused: an option that would be silently
// ignored usually means a mistyped command line.
QString CheckOptionUse(const CommandLine& line, Request& request) {
    struct OptionUse {
        const QCommandLineOption& option;
        bool required;
        bool allowed;
    };
    const Command command = request.command;
    const bool feed = command == Command::Rss || command == Command::Atom;
    const bool listing = command == Command::Index || command == Command::Page || command == Command::Titles;
    const bool written = command != Command::Titles && command != Command::Check;
    const OptionUse uses[] = {
        {line.title, command == Command::Page, command == Command::Page},
        {line.feedTitle, feed, feed},
        {line.siteUrl, feed || command == Command::Sitemap, feed || command == Command::Sitemap},
        {line.output, false, written},
        {line.sort, false, listing || feed},
        {line.exclude, false, true},
        {line.limit, false, feed},
        {line.guid, false, command == Command::Rss},
        {line.feedUrl, command == Command::Atom, feed},
        {line.dates, false, command == Command::Rss},
        {line.description, false, feed},
        {line.lastmod, false, command == Command::Sitemap},
        {line.format, false, command == Command::Check},
        {line.watch, false, written},
        {line.templateFile, false, command == Command::Page},
        {line.css, false, command == Command::Page},
        {line.details, false, command == Command::Index || command == Command::Page},
        {line.null, false, command == Command::Titles},
    };
    for (const OptionUse& use : uses) {
        const QString optionName = QStringLiteral("--") + use.option.names().last();
        if (use.required && !line.isSet(use.option))
            return QCoreApplication::translate("pagewick::cli", "%1: %2 %3 is missing")
                .arg(request.name, optionName, use.option.valueName());
        if (!use.allowed && line.isSet(use.option))
            return QCoreApplication::translate("pagewick::cli", "%1 does not take %2")
                .arg(request.name, optionName);
    }
    return {};
}

// --sort, --exclude and --limit.
QString CheckSelection(const CommandLine& line, Request& request) {
    PageSelection& selection = request.selection;
    if (line.isSet(line.sort)) {
        const int order =
            WordIndex(line.value(line.sort),
                      {QLatin1StringView("name"), QLatin1StringView("natural"), QLatin1StringView("date")});
        if (order < 0)
            return QCoreApplication::translate("pagewick::cli",
                                               "%1: --sort takes name, natural or date, not \"%2\"")
                .arg(request.name, line.text(line.sort));
        selection.order = PageOrder(order);
    }
    for (const QString& pattern : line.parser.values(line.exclude)) {
        if (!IsValidExcludePattern(pattern))
            return QCoreApplication::translate("pagewick::cli", "%1: --exclude \"%2\" is not a wildcard")
                .arg(request.name, TextArgument(pattern));
        selection.excludes << pattern;
    }
    if (line.isSet(line.limit)) {
        bool ok = false;
        const qulonglong n = line.value(line.limit).toULongLong(&ok);
        if (!ok || n < 1 || line.value(line.limit).startsWith(u'+'))
            return QCoreApplication::translate("pagewick::cli",
                                               "%1: --limit takes a whole number from 1 up, not \"%2\"")
                .arg(request.name, line.text(line.limit));
        selection.limit = int(std::min<qulonglong>(n, std::numeric_limits<int>::max()));
    }
    return {};
}

// The feeds' options, and the site address every output that publishes addresses holds to.
QString CheckFeedAndSite(const CommandLine& line, Request& request) {
    FeedOptions& feed = request.feed;
    feed.selection = request.selection;
    feed.guid = line.isSet(line.guid);
    (request.command == Command::Atom ? feed.atomUrl : feed.rssUrl) = line.text(line.feedUrl);
    feed.dates = line.isSet(line.dates);
    if (line.isSet(line.description)) {
        const int from =
            WordIndex(line.value(line.description), {QLatin1StringView("title"), QLatin1StringView("meta")});
        if (from < 0)
            return QCoreApplication::translate("pagewick::cli",
                                               "%1: --description takes title or meta, not \"%2\"")
                .arg(request.name, line.text(line.description));
        feed.description = FeedDescription(from);
    }
    if (line.isSet(line.feedUrl) && line.value(line.feedUrl).isEmpty())
        return QCoreApplication::translate("pagewick::cli", "%1: --feed-url is empty").arg(request.name);
    request.feedTitle = line.text(line.feedTitle);
    request.siteUrl = line.text(line.siteUrl);
    request.lastmod = line.isSet(line.lastmod);
    const Command command = request.command;
    const QString problem =
        command == Command::Rss       ? FeedAddressProblem(FeedFormat::Rss, request.siteUrl, feed)
        : command == Command::Atom    ? FeedAddressProblem(FeedFormat::Atom, request.siteUrl, feed)
        : command == Command::Sitemap ? SitemapAddressProblem(request.siteUrl)
                                      : QString();
    return problem.isEmpty() ? QString() : QStringLiteral("%1: %2").arg(request.name, problem);
}

// --recursive, and --max-depth N (which implies it).
QString CheckWalk(const CommandLine& line, Request& request) {
    request.walk.recursive = line.isSet(line.recursive) || line.isSet(line.maxDepth);
    if (line.isSet(line.maxDepth)) {
        bool ok = false;
        request.walk.maxDepth = line.value(line.maxDepth).toInt(&ok);
        if (!ok || request.walk.maxDepth < 0)
            return QCoreApplication::translate("pagewick::cli",
                                               "%1: --max-depth takes a whole number, 0 or more")
                .arg(request.name);
    }
    return {};
}

// -o FILE and --watch. The descriptor is found before anything is opened, so only what the
// process was given can match.
QString CheckOutput(const CommandLine& line, Request& request) {
    request.outputFile = line.isSet(line.output) ? line.value(line.output) : QString();
    request.outputFd = OutputDescriptor(request.outputFile);
    request.watch = line.isSet(line.watch);
    if (request.watch && (!line.isSet(line.output) || request.outputFd >= 0))
        return QCoreApplication::translate("pagewick::cli", "%1: --watch needs -o FILE").arg(request.name);
    return {};
}

// --format, --details, -z.
QString CheckReportForm(const CommandLine& line, Request& request) {
    if (line.isSet(line.format)) {
        const QString value = line.text(line.format);
        if (value != QStringLiteral("text") && value != QStringLiteral("json"))
            return QCoreApplication::translate("pagewick::cli", "%1: --format takes text or json, not \"%2\"")
                .arg(request.name, value);
        request.checkFormat =
            value == QStringLiteral("json") ? cli::CheckFormat::Json : cli::CheckFormat::Text;
    }
    if (line.isSet(line.details)) {
        QString why;
        const std::optional<QList<IndexDetail>> shown = ParseIndexDetails(line.text(line.details), &why);
        if (!shown)
            return QStringLiteral("%1: --details: %2").arg(request.name, why);
        request.details.shown = *shown;
    }
    request.null = line.isSet(line.null);
    return {};
}

// The page's title, stylesheet and template. The template is read, and must make a page, before
// any page is: a mistake in it is bad usage.
QString CheckPage(const CommandLine& line, Request& request) {
    request.pageTitle = line.text(line.title);
    request.stylesheetUrl = line.text(line.css);
    request.useTemplate = line.isSet(line.templateFile);
    request.templatePath = line.value(line.templateFile);
    if (request.useTemplate) {
        QString why;
        request.pageTemplate = LoadPageTemplate(request.templatePath, request.stylesheetUrl, &why);
        if (!request.pageTemplate)
            return QStringLiteral("%1: %2").arg(request.name, why);
    }
    return {};
}

// The request the arguments make, or what is wrong with them. --help and --version stand alone.
std::variant<Request, QString> ParseRequest(const QStringList& arguments) {
    CommandLine line;
    if (!line.parser.parse(arguments))
        return line.parser.errorText();
    Request request;
    if (line.isSet(line.help) || line.isSet(line.version)) {
        request.command = line.isSet(line.help) ? Command::Help : Command::Version;
        return request;
    }
    // In this order, so that of several mistakes the first one met is named.
    for (const CheckStep step : {CheckCommand, CheckOptionUse, CheckSelection, CheckFeedAndSite, CheckWalk,
                                 CheckOutput, CheckReportForm, CheckPage}) {
        if (QString problem = step(line, request); !problem.isEmpty())
            return problem;
    }
    return request;
}

SitemapOptions SitemapOptionsOf(const Request& request) {
    SitemapOptions options;
    options.selection = request.selection;
    options.lastmod = request.lastmod;
    return options;
}

// What the command reads of each page, by each output's own rule, when the pages can be read while
// the folder is still being listed: not when it reads none, or only the first few of a name order,
// nor for the check. (Were it ever to differ from what the output asks, nothing read ahead would
// be used.)
std::optional<PageWants> ReadAheadWants(const Request& request) {
    const PageSelection& selection = request.selection;
    if (selection.limit > 0 && selection.order != PageOrder::Date)
        return std::nullopt;
    switch (request.command) {
    case Command::Index:
    case Command::Page: {
        // A template's {{updated}} asks for the pages' dates.
        const bool dated =
            request.useTemplate && request.pageTemplate && request.pageTemplate->uses(PageTemplate::Updated);
        return IndexPageWants({.selection = selection, .details = request.details}, dated);
    }
    case Command::Titles:
        return PageWantsFor(selection, WantTitle);
    case Command::Rss:
        return FeedPageWants(FeedFormat::Rss, request.feed);
    case Command::Atom:
        return FeedPageWants(FeedFormat::Atom, request.feed);
    case Command::Sitemap:
        return SitemapPageWants(SitemapOptionsOf(request));
    default:
        // The check reads pages whole: the few it could read while the folder is listed would
        // not make up for the memory their findings hold.
        return std::nullopt;
    }
}

// The pages, unsorted (each output puts them in its order); sub-folders that could not be read
// are named on standard error (the check reports them with its findings). With readAhead, each
// page is offered to it as it is found.
PageListing ListPages(const Request& request, PageReadAhead* readAhead = nullptr) {
    WalkOptions walk = request.walk;
    if (readAhead)
        walk.pageFound = [readAhead](const QString& page) { readAhead->offer(page); };
    PageListing listing = WalkPageFiles(request.folderText, walk);
    if (request.command != Command::Check)
        ReportSkippedFolders(request.folderText, listing.skipped);
    return listing;
}

// The folder's pages as listed, with those read while it was listed.
struct ListedPages {
    explicit ListedPages(const Request& request) {
        if (const std::optional<PageWants> wants = ReadAheadWants(request))
            ahead.emplace(request.folderText, *wants);
        listing = ListPages(request, readAhead());
    }
    PageReadAhead* readAhead() { return ahead ? &*ahead : nullptr; }

    std::optional<PageReadAhead> ahead;
    PageListing listing;
};

IndexRequest IndexRequestOf(const Request& request, ListedPages& pages) {
    return {.folderText = request.folderText,
            .pageNames = pages.listing.pages,
            .selection = request.selection,
            .details = request.details,
            .readAhead = pages.readAhead()};
}

FeedRequest FeedRequestOf(const Request& request, ListedPages& pages) {
    return {.folderText = request.folderText,
            .pageNames = pages.listing.pages,
            .feedTitle = request.feedTitle,
            .siteUrl = request.siteUrl,
            .options = request.feed,
            .readAhead = pages.readAhead()};
}

using Sink = std::function<void(const QString&)>;

// The page through its template. The template is read again for each build but the first, so
// that watching picks up a changed template; while it cannot make a page, nothing is written.
bool ProduceTemplatePage(Request& request, ListedPages& pages, const Sink& sink) {
    if (!request.templateFresh) {
        QString why;
        request.pageTemplate = LoadPageTemplate(request.templatePath, request.stylesheetUrl, &why);
        if (!request.pageTemplate) {
            PrintError(why.toUtf8());
            return false;
        }
    }
    request.templateFresh = false;
    StreamTemplatePage(*request.pageTemplate, request.pageTitle, IndexRequestOf(request, pages), sink);
    return true;
}

bool ProducePage(Request& request, ListedPages& pages, const Sink& sink) {
    if (request.useTemplate)
        return ProduceTemplatePage(request, pages, sink);
    sink(PageDocumentStart(request.pageTitle, request.stylesheetUrl));
    StreamIndexText(IndexRequestOf(request, pages), sink);
    sink(PageDocumentEnd());
    return true;
}

// Search engines refuse a sitemap past the protocol's limits: none is written.
bool ProduceSitemap(const Request& request, ListedPages& pages, const Sink& sink) {
    const SitemapOptions options = SitemapOptionsOf(request);
    const QString problem = StreamSitemapTextWithinLimits({.folderText = request.folderText,
                                                           .pageNames = pages.listing.pages,
                                                           .siteUrl = request.siteUrl,
                                                           .options = options,
                                                           .readAhead = pages.readAhead()},
                                                          sink);
    if (problem.isEmpty())
        return true;
    PrintError(
        QCoreApplication::translate("pagewick::cli", "cannot build the sitemap: %1").arg(problem).toUtf8());
    return false;
}

// The output handed to sink piece by piece as the pages are read; false when it cannot be made
// (the reason is said, and nothing was handed on).
bool Produce(Request& request, const Sink& sink) {
    ListedPages pages(request);
    switch (request.command) {
    case Command::Page:
        return ProducePage(request, pages, sink);
    case Command::Rss:
        StreamFeedText(FeedRequestOf(request, pages), sink);
        return true;
    case Command::Atom:
        StreamAtomText(FeedRequestOf(request, pages), sink);
        return true;
    case Command::Sitemap:
        return ProduceSitemap(request, pages, sink);
    default:
        StreamIndexText(IndexRequestOf(request, pages), sink);
        return true;
    }
}

// The output's text; nullopt when it cannot be made (the reason is said).
std::optional<QString> Build(Request& request) {
    QString text;
    if (!Produce(request, [&text](const QString& piece) { text += piece; }))
        return std::nullopt;
    return text;
}

// To standard output, or into the file that replaces FILE, the output is written as it is made;
// into another of the process's descriptors once it is whole.
int WriteRequestedOutput(Request& request) {
    if (request.outputFd == STDOUT_FILENO) {
        QStringEncoder toUtf8(QStringEncoder::Utf8);
        if (!Produce(request, [&toUtf8](const QString& piece) { Put(toUtf8(piece)); }))
            return ExitFailure;
        return FinishStandardOutput();
    }
    if (request.outputFd < 0) {
        QString error;
        const auto make = [&request](const Sink& sink) { return Produce(request, sink); };
        if (WriteTextFileAsMade(request.outputFile, make, &error, SpecialTarget::WriteInto))
            return 0;
        if (!error.isEmpty())
            PrintError(error.toUtf8());
        return ExitFailure;
    }
    const std::optional<QString> text = Build(request);
    return text ? WriteOutput(request.outputFile, request.outputFd, *text) : ExitFailure;
}

int WatchRequestedOutput(Request& request) {
    return cli::WatchAndRewrite(
        request.folderText, request.walk, request.outputFile, [&request] { return Build(request); },
        request.useTemplate ? QStringList{request.templatePath} : QStringList());
}

int Check(const Request& request) {
    PageListing listing = ListPages(request);
    listing.pages = SelectPageNames(listing.pages, request.selection);
    return cli::RunCheck(request.folderText, listing, request.checkFormat);
}

int Execute(Request& request) {
    switch (request.command) {
    case Command::Help:
        return WriteStandardOutput(cli::HelpText());
    case Command::Version:
        return WriteStandardOutput(QStringLiteral("pagewick-cli %1\n").arg(QStringLiteral(PAGEWICK_VERSION)));
    default:
        break;
    }
    if (!CheckFolder(request.folderText))
        return ExitFailure;
    if (request.watch)
        return WatchRequestedOutput(request);
    switch (request.command) {
    case Command::Titles: {
        ListedPages pages(request);
        return WriteTitleLines(request.folderText, pages.listing.pages, request.selection, request.null,
                               pages.readAhead());
    }
    case Command::Check:
        return Check(request);
    default:
        return WriteRequestedOutput(request);
    }
}

int Run(const QStringList& arguments) {
    std::variant<Request, QString> parsed = ParseRequest(arguments);
    if (const QString* problem = std::get_if<QString>(&parsed))
        return UsageError(*problem);
    return Execute(std::get<Request>(parsed));
}

} // namespace

int main(int argc, char** argv) {
    // A standard stream the caller closed (">&-") keeps its number taken, by a folder opened only
    // for reading: a write to it then fails with "Bad file descriptor" and is reported, where the
    // next file opened would otherwise take the number and receive the output.
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) < 0 && errno == EBADF) {
            const int placeholder = ::open("/", O_RDONLY | O_DIRECTORY);
            if (placeholder >= 0 && placeholder != fd) {
                ::dup2(placeholder, fd);
                ::close(placeholder);
            }
        }
    }
    // A write past the file-size limit (ulimit -f) then fails with EFBIG and is reported, and the
    // old file stays, instead of the signal ending the program without a word.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pagewick-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PAGEWICK_VERSION));
    InstallTranslations(app);
    return Run(RawArguments(argc, argv));
}
