// pagewick-cli: the index engine from the command line.

#include "cli/help.h"
#include "engine/feed.h"
#include "engine/filename.h"
#include "engine/index.h"
#include "engine/pagereader.h"
#include "engine/paths.h"
#include "engine/scan.h"
#include "engine/writefile.h"

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

namespace {

using namespace pagewick;

constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

enum class Command { Index, Page, Rss, Titles };

struct CommandForm {
    QLatin1StringView name;
    Command command;
};

constexpr CommandForm Commands[] = {
    {QLatin1StringView("index"), Command::Index},
    {QLatin1StringView("page"), Command::Page},
    {QLatin1StringView("rss"), Command::Rss},
    {QLatin1StringView("titles"), Command::Titles},
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
        PrintError("cannot read folder \"" + FileNameToBytes(folderText) + "\": " + std::strerror(error));
        return false;
    }
    closedir(dir);
    return true;
}

// Standard output goes through stdio's buffer; a failure anywhere shows at the final flush.
void Put(const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, bytes.size(), stdout);
}

int FinishStandardOutput() {
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        PrintError(QByteArray("cannot write to standard output: ") + std::strerror(errno));
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

// To FILE when one is given, else to standard output. A regular file is replaced atomically; a
// FIFO or a terminal is written into, as a shell redirection would.
int WriteOutput(const QString& outputFile, const QString& text) {
    if (outputFile.isNull() || NamesStandardOutput(outputFile))
        return WriteStandardOutput(text);
    QString error;
    if (!WriteTextFile(outputFile, text, &error, SpecialTarget::WriteInto)) {
        PrintError(error.toUtf8());
        return ExitFailure;
    }
    return 0;
}

// One line per page; the name is written as its exact bytes, and so is the path that stands in
// for a missing title, so a script can open either.
int WriteTitleLines(const QString& folderText, const QStringList& names) {
    const FolderPageReader pages(folderText);
    for (const QString& name : names) {
        const std::optional<QString> title = pages.read(name).title;
        Put(FileNameToBytes(name) + '\t' +
            (title ? title->toUtf8() : FileNameToBytes(PagePath(folderText, name))) + '\n');
    }
    return FinishStandardOutput();
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
    parser.addOptions({help, version, title, feedTitle, siteUrl, output});

    if (!parser.parse(arguments))
        return UsageError(parser.errorText());
    if (parser.isSet(help))
        return WriteOutput(QString(), cli::HelpText());
    if (parser.isSet(version))
        return WriteOutput(QString(),
                           QStringLiteral("pagewick-cli %1\n").arg(QStringLiteral(PAGEWICK_VERSION)));

    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return UsageError(QStringLiteral("no command given"));
    const QString& commandName = positional.first();
    const auto form = std::find_if(std::begin(Commands), std::end(Commands),
                                   [&](const CommandForm& f) { return f.name == commandName; });
    if (form == std::end(Commands))
        return UsageError(QStringLiteral("unknown command \"%1\"").arg(TextArgument(commandName)));
    if (positional.size() < 2)
        return UsageError(QStringLiteral("%1: FOLDER is missing").arg(form->name));
    if (positional.size() > 2)
        return UsageError(
            QStringLiteral("%1: unexpected argument \"%2\"").arg(form->name, TextArgument(positional[2])));

    // Every option is either required by the command or refused: an option that would be
    // silently ignored usually means a mistyped command line.
    struct OptionUse {
        const QCommandLineOption& option;
        bool required;
        bool allowed;
    };
    const Command command = form->command;
    const OptionUse uses[] = {
        {title, command == Command::Page, command == Command::Page},
        {feedTitle, command == Command::Rss, command == Command::Rss},
        {siteUrl, command == Command::Rss, command == Command::Rss},
        {output, false, command == Command::Page || command == Command::Rss},
    };
    for (const OptionUse& use : uses) {
        const QString optionName = QStringLiteral("--") + use.option.names().last();
        if (use.required && !parser.isSet(use.option))
            return UsageError(
                QStringLiteral("%1: %2 %3 is missing").arg(form->name, optionName, use.option.valueName()));
        if (!use.allowed && parser.isSet(use.option))
            return UsageError(QStringLiteral("%1 does not take %2").arg(form->name, optionName));
    }

    const QString folderText = positional[1];
    if (!CheckFolder(folderText))
        return ExitFailure;

    QStringList names = ScanPageFiles(folderText);
    SortPageNames(names);
    const QString outputFile = parser.isSet(output) ? parser.value(output) : QString();

    switch (command) {
    case Command::Index:
        return WriteOutput(QString(), BuildIndexText(folderText, names));
    case Command::Page:
        // The saved page ends with one line break after the document, on standard output too.
        return WriteOutput(outputFile, BuildPageDocument(TextArgument(parser.value(title)),
                                                         BuildIndexText(folderText, names)) +
                                           QStringLiteral("\r\n"));
    case Command::Rss:
        return WriteOutput(outputFile, BuildFeedText(folderText, names, TextArgument(parser.value(feedTitle)),
                                                     TextArgument(parser.value(siteUrl))));
    case Command::Titles:
        return WriteTitleLines(folderText, names);
    }
    return ExitFailure;
}

} // namespace

int main(int argc, char** argv) {
    // A write past the file-size limit (ulimit -f) then fails with EFBIG and is reported, and the
    // old file stays, instead of the signal ending the program without a word.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pagewick-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PAGEWICK_VERSION));
    return Run(RawArguments(argc, argv));
}
