// pagewick-cli: the index engine from the command line.

#include "cli/check.h"
#include "cli/help.h"
#include "cli/message.h"
#include "cli/watch.h"
#include "engine/feed.h"
#include "engine/filename.h"
#include "engine/index.h"
#include "engine/order.h"
#include "engine/pagedetails.h"
#include "engine/pagereader.h"
#include "engine/pagetemplate.h"
#include "engine/paths.h"
#include "engine/scan.h"
#include "engine/sitemap.h"
#include "engine/sitewalk.h"
#include "engine/title.h"
#include "engine/writefile.h"
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
#include <unistd.h>

namespace {

using namespace pagewick;

constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

enum class Command { Index, Page, Rss, Atom, Sitemap, Titles, Check };

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

bool WriteBytes(FILE* stream, const QByteArray& bytes) {
    return std::fwrite(bytes.constData(), 1, bytes.size(), stream) == size_t(bytes.size()) &&
           std::fflush(stream) == 0;
}

void PrintError(const QByteArray& message) {
    WriteBytes(stderr, "pagewick-cli: " + message + '\n');
}

int UsageError(const QString& message) {
    PrintError(message.toUtf8());
    WriteBytes(stderr, cli::UsageText().toUtf8());
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
                    bool null) {
    const char end = null ? '\0' : '\n';
    ForEachSelectedPage(folderText, names, selection, WantTitle, [&](PageRecord&& page) {
        const QByteArray label =
            page.title ? page.title->toUtf8() : FileNameToBytes(PagePath(folderText, page.name));
        Put(FileNameToBytes(page.name) + '\t' + label + end);
    });
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

// --recursive, and --max-depth N (which implies it); nullopt for a depth that is not a number.
std::optional<WalkOptions> ParseWalkOptions(const QCommandLineParser& parser,
                                            const QCommandLineOption& recursive,
                                            const QCommandLineOption& maxDepth) {
    WalkOptions walk;
    walk.recursive = parser.isSet(recursive) || parser.isSet(maxDepth);
    if (parser.isSet(maxDepth)) {
        bool ok = false;
        walk.maxDepth = parser.value(maxDepth).toInt(&ok);
        if (!ok || walk.maxDepth < 0)
            return std::nullopt;
    }
    return walk;
}

void ReportSkippedFolders(const QString& folderText, const QList<SkippedFolder>& skipped) {
    for (const SkippedFolder& folder : skipped)
        PrintError(cli::MessageBytes(
            QCoreApplication::translate("pagewick::cli", "cannot read folder \"%1\": %2, left out"),
            {FileNameToBytes(PagePath(folderText, folder.name)), folder.reason.toUtf8()}));
}

int Run(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption title(QStringLiteral("title"), QString(), QStringLiteral("TEXT"));
    const QCommandLineOption feedTitle(QStringLiteral("feed-title"), QString(), QStringLiteral("TEXT"));
    const QCommandLineOption siteUrl(QStringLiteral("site-url"), QString(), QStringLiteral("URL"));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")}, QString(),
                                    QStringLiteral("FILE"));
    const QCommandLineOption sort(QStringLiteral("sort"), QString(), QStringLiteral("ORDER"));
    const QCommandLineOption exclude(QStringLiteral("exclude"), QString(), QStringLiteral("GLOB"));
    const QCommandLineOption limit(QStringLiteral("limit"), QString(), QStringLiteral("N"));
    const QCommandLineOption guid(QStringLiteral("guid"));
    const QCommandLineOption feedUrl(QStringLiteral("feed-url"), QString(), QStringLiteral("URL"));
    const QCommandLineOption dates(QStringLiteral("dates"));
    const QCommandLineOption description(QStringLiteral("description"), QString(), QStringLiteral("FROM"));
    const QCommandLineOption lastmod(QStringLiteral("lastmod"));
    const QCommandLineOption recursive(QStringLiteral("recursive"));
    const QCommandLineOption maxDepth(QStringLiteral("max-depth"), QString(), QStringLiteral("N"));
    const QCommandLineOption format(QStringLiteral("format"), QString(), QStringLiteral("FORMAT"));
    const QCommandLineOption watch(QStringLiteral("watch"));
    const QCommandLineOption templateFile(QStringLiteral("template"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption css(QStringLiteral("css"), QString(), QStringLiteral("URL"));
    const QCommandLineOption details(QStringLiteral("details"), QString(), QStringLiteral("LIST"));
    const QCommandLineOption null(QStringList{QStringLiteral("z"), QStringLiteral("null")});
    parser.addOptions({help,   version, title,        feedTitle, siteUrl,     output,  sort,      exclude,
                       limit,  guid,    feedUrl,      dates,     description, lastmod, recursive, maxDepth,
                       format, watch,   templateFile, css,       details,     null});

    if (!parser.parse(arguments))
        return UsageError(parser.errorText());
    if (parser.isSet(help))
        return WriteOutput(QString(), STDOUT_FILENO, cli::HelpText());
    if (parser.isSet(version))
        return WriteOutput(QString(), STDOUT_FILENO,
                           QStringLiteral("pagewick-cli %1\n").arg(QStringLiteral(PAGEWICK_VERSION)));

    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return UsageError(QCoreApplication::translate("pagewick::cli", "no command given"));
    const QString& commandName = positional.first();
    const auto form = std::find_if(std::begin(Commands), std::end(Commands),
                                   [&](const CommandForm& f) { return f.name == commandName; });
    if (form == std::end(Commands))
        return UsageError(QCoreApplication::translate("pagewick::cli", "unknown command \"%1\"")
                              .arg(TextArgument(commandName)));
    if (positional.size() < 2)
        return UsageError(
            QCoreApplication::translate("pagewick::cli", "%1: FOLDER is missing").arg(form->name));
    if (positional.size() > 2)
        return UsageError(QCoreApplication::translate("pagewick::cli", "%1: unexpected argument \"%2\"")
                              .arg(form->name, TextArgument(positional[2])));

    // Every option is either required by the command or refused: an option that would be
    // silently ignored usually means a mistyped command line.
    struct OptionUse {
        const QCommandLineOption& option;
        bool required;
        bool allowed;
    };
    const Command command = form->command;
    const bool feed = command == Command::Rss || command == Command::Atom;
    const bool listing = command == Command::Index || command == Command::Page || command == Command::Titles;
    const OptionUse uses[] = {
        {title, command == Command::Page, command == Command::Page},
        {feedTitle, feed, feed},
        {siteUrl, feed || command == Command::Sitemap, feed || command == Command::Sitemap},
        {output, false, command != Command::Titles && command != Command::Check},
        {sort, false, listing || feed},
        {exclude, false, true},
        {limit, false, feed},
        {guid, false, command == Command::Rss},
        {feedUrl, command == Command::Atom, feed},
        {dates, false, command == Command::Rss},
        {description, false, feed},
        {lastmod, false, command == Command::Sitemap},
        {format, false, command == Command::Check},
        {watch, false, command != Command::Titles && command != Command::Check},
        {templateFile, false, command == Command::Page},
        {css, false, command == Command::Page},
        {details, false, command == Command::Index || command == Command::Page},
        {null, false, command == Command::Titles},
    };
    for (const OptionUse& use : uses) {
        const QString optionName = QStringLiteral("--") + use.option.names().last();
        if (use.required && !parser.isSet(use.option))
            return UsageError(QCoreApplication::translate("pagewick::cli", "%1: %2 %3 is missing")
                                  .arg(form->name, optionName, use.option.valueName()));
        if (!use.allowed && parser.isSet(use.option))
            return UsageError(QCoreApplication::translate("pagewick::cli", "%1 does not take %2")
                                  .arg(form->name, optionName));
    }

    // The values of the options, checked before anything is read or written.
    PageSelection selection;
    if (parser.isSet(sort)) {
        const int order =
            WordIndex(parser.value(sort),
                      {QLatin1StringView("name"), QLatin1StringView("natural"), QLatin1StringView("date")});
        if (order < 0)
            return UsageError(QCoreApplication::translate(
                                  "pagewick::cli", "%1: --sort takes name, natural or date, not \"%2\"")
                                  .arg(form->name, TextArgument(parser.value(sort))));
        selection.order = PageOrder(order);
    }
    for (const QString& pattern : parser.values(exclude)) {
        if (!IsValidExcludePattern(pattern))
            return UsageError(
                QCoreApplication::translate("pagewick::cli", "%1: --exclude \"%2\" is not a wildcard")
                    .arg(form->name, TextArgument(pattern)));
        selection.excludes << pattern;
    }
    if (parser.isSet(limit)) {
        bool ok = false;
        const qulonglong n = parser.value(limit).toULongLong(&ok);
        if (!ok || n < 1 || parser.value(limit).startsWith(u'+'))
            return UsageError(QCoreApplication::translate(
                                  "pagewick::cli", "%1: --limit takes a whole number from 1 up, not \"%2\"")
                                  .arg(form->name, TextArgument(parser.value(limit))));
        selection.limit = int(std::min<qulonglong>(n, std::numeric_limits<int>::max()));
    }
    FeedOptions feedOptions;
    feedOptions.selection = selection;
    feedOptions.guid = parser.isSet(guid);
    feedOptions.feedUrl = TextArgument(parser.value(feedUrl));
    feedOptions.dates = parser.isSet(dates);
    if (parser.isSet(description)) {
        const int from =
            WordIndex(parser.value(description), {QLatin1StringView("title"), QLatin1StringView("meta")});
        if (from < 0)
            return UsageError(QCoreApplication::translate("pagewick::cli",
                                                          "%1: --description takes title or meta, not \"%2\"")
                                  .arg(form->name, TextArgument(parser.value(description))));
        feedOptions.description = FeedDescription(from);
    }
    if (parser.isSet(feedUrl) && feedOptions.feedUrl.isEmpty())
        return UsageError(
            QCoreApplication::translate("pagewick::cli", "%1: --feed-url is empty").arg(form->name));
    const QString site = TextArgument(parser.value(siteUrl));
    const QString addressProblem =
        command == Command::Rss       ? FeedAddressProblem(FeedFormat::Rss, site, feedOptions)
        : command == Command::Atom    ? FeedAddressProblem(FeedFormat::Atom, site, feedOptions)
        : command == Command::Sitemap ? SitemapAddressProblem(site)
                                      : QString();
    if (!addressProblem.isEmpty())
        return UsageError(QStringLiteral("%1: %2").arg(form->name, addressProblem));
    const std::optional<WalkOptions> walk = ParseWalkOptions(parser, recursive, maxDepth);
    if (!walk)
        return UsageError(
            QCoreApplication::translate("pagewick::cli", "%1: --max-depth takes a whole number, 0 or more")
                .arg(form->name));
    // Found before anything is opened, so only what the process was given can match.
    const QString outputFile = parser.isSet(output) ? parser.value(output) : QString();
    const int outputFd = OutputDescriptor(outputFile);
    if (parser.isSet(watch) && (!parser.isSet(output) || outputFd >= 0))
        return UsageError(
            QCoreApplication::translate("pagewick::cli", "%1: --watch needs -o FILE").arg(form->name));
    cli::CheckFormat checkFormat = cli::CheckFormat::Text;
    if (parser.isSet(format)) {
        const QString value = TextArgument(parser.value(format));
        if (value != QStringLiteral("text") && value != QStringLiteral("json"))
            return UsageError(
                QCoreApplication::translate("pagewick::cli", "%1: --format takes text or json, not \"%2\"")
                    .arg(form->name, value));
        checkFormat = value == QStringLiteral("json") ? cli::CheckFormat::Json : cli::CheckFormat::Text;
    }

    IndexDetails indexDetails;
    if (parser.isSet(details)) {
        QString why;
        const std::optional<QList<IndexDetail>> shown =
            ParseIndexDetails(TextArgument(parser.value(details)), &why);
        if (!shown)
            return UsageError(QStringLiteral("%1: --details: %2").arg(form->name, why));
        indexDetails.shown = *shown;
    }
    const QString stylesheetUrl = TextArgument(parser.value(css));
    // The template is read, and must make a page, before any page is: a mistake in it is bad usage.
    const QString templatePath = parser.value(templateFile);
    const bool useTemplate = parser.isSet(templateFile);
    std::optional<PageTemplate> pageTemplate;
    if (useTemplate) {
        QString why;
        pageTemplate = LoadPageTemplate(templatePath, stylesheetUrl, &why);
        if (!pageTemplate)
            return UsageError(QStringLiteral("%1: %2").arg(form->name, why));
    }

    const QString folderText = positional[1];
    if (!CheckFolder(folderText))
        return ExitFailure;

    // The pages, unsorted (each output puts them in its order); sub-folders that could not be read
    // are named on standard error (the check reports them with its findings).
    const auto listPages = [&] {
        PageListing listing = WalkPageFiles(folderText, *walk);
        if (command != Command::Check)
            ReportSkippedFolders(folderText, listing.skipped);
        return listing;
    };
    bool firstBuild = true; // the template read above serves the first build
    // The output handed to sink piece by piece as the pages are read; false when it cannot be made
    // (the reason is said, and nothing was handed on).
    const auto produce = [&](const std::function<void(const QString&)>& sink) {
        const QStringList names = listPages().pages;
        switch (command) {
        case Command::Page: {
            if (useTemplate) {
                // Read again for each build, so that watching picks up a changed template; while it
                // cannot make a page, nothing is written.
                if (!firstBuild) {
                    QString why;
                    pageTemplate = LoadPageTemplate(templatePath, stylesheetUrl, &why);
                    if (!pageTemplate) {
                        PrintError(why.toUtf8());
                        return false;
                    }
                }
                firstBuild = false;
                QString index;
                index.reserve(names.size() * 96);
                IndexSummary summary;
                StreamIndexText(
                    folderText, names, selection, [&index](const QString& piece) { index += piece; },
                    indexDetails, &summary, pageTemplate->uses(PageTemplate::Updated));
                sink(pageTemplate->render(TextArgument(parser.value(title)), index, summary));
                return true;
            }
            sink(PageDocumentStart(TextArgument(parser.value(title)), stylesheetUrl));
            StreamIndexText(folderText, names, selection, sink, indexDetails);
            sink(PageDocumentEnd());
            return true;
        }
        case Command::Rss:
            StreamFeedText(folderText, names, TextArgument(parser.value(feedTitle)), site, feedOptions, sink);
            return true;
        case Command::Atom:
            StreamAtomText(folderText, names, TextArgument(parser.value(feedTitle)), site, feedOptions, sink);
            return true;
        case Command::Sitemap: {
            // Search engines refuse a sitemap past the protocol's limits: none is written.
            const auto refuse = [](const QString& problem) {
                PrintError(QCoreApplication::translate("pagewick::cli", "cannot build the sitemap: %1")
                               .arg(problem)
                               .toUtf8());
                return false;
            };
            if (const QString problem = SitemapPagesProblem(FilterPageNames(names, selection.excludes), site);
                !problem.isEmpty())
                return refuse(problem);
            SitemapOptions sitemapOptions;
            sitemapOptions.selection = selection;
            sitemapOptions.lastmod = parser.isSet(lastmod);
            if (const QString problem =
                    StreamSitemapTextWithinLimit(folderText, names, site, sitemapOptions, sink);
                !problem.isEmpty())
                return refuse(problem);
            return true;
        }
        default:
            StreamIndexText(folderText, names, selection, sink, indexDetails);
            return true;
        }
    };
    // The output's text; nullopt when it cannot be made (the reason is said).
    const auto build = [&]() -> std::optional<QString> {
        QString text;
        if (!produce([&text](const QString& piece) { text += piece; }))
            return std::nullopt;
        return text;
    };
    if (parser.isSet(watch))
        return cli::WatchAndRewrite(folderText, *walk, outputFile, build,
                                    useTemplate ? QStringList{templatePath} : QStringList());

    // To standard output, every output but the check's is written as it is made.
    if (command != Command::Titles && command != Command::Check && outputFd == STDOUT_FILENO) {
        QStringEncoder toUtf8(QStringEncoder::Utf8);
        if (!produce([&toUtf8](const QString& piece) { Put(toUtf8(piece)); }))
            return ExitFailure;
        return FinishStandardOutput();
    }

    switch (command) {
    case Command::Titles:
        return WriteTitleLines(folderText, listPages().pages, selection, parser.isSet(null));
    case Command::Check: {
        PageListing listing = listPages();
        listing.pages = SelectPageNames(listing.pages, selection);
        return cli::RunCheck(folderText, listing, checkFormat);
    }
    default: {
        if (outputFd < 0) {
            // A file replaced is written as the output is made, never held whole.
            QString error;
            if (WriteTextFileAsMade(outputFile, produce, &error, SpecialTarget::WriteInto))
                return 0;
            if (!error.isEmpty())
                PrintError(error.toUtf8());
            return ExitFailure;
        }
        const std::optional<QString> text = build();
        return text ? WriteOutput(outputFile, outputFd, *text) : ExitFailure;
    }
    }
    return ExitFailure;
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
