// The page reader: the one place pages are read. It streams a page through the tag tokenizer in
// growing chunks, stops as soon as the wanted facts are known, and decodes only what it keeps.

#include "engine/reading/pagereader.h"

#include "engine/output/feeddate.h"
#include "engine/reading/bytescan_p.h"
#include "engine/reading/pagefacts_p.h"
#include "engine/reading/pagereader_p.h"
#include "engine/reading/title_p.h"
#include "engine/reading/tokenizer_p.h"
#include "engine/text/decode.h"
#include "engine/text/decode_p.h"
#include "engine/text/entities.h"

#include <cstring>
#include <optional>

namespace pagewick {

namespace detail {

namespace {

// Most pages name their title within the first few kilobytes: one small read settles them, and
// copying more than that out of the page cache is what a folder of pages costs. Pages that need
// more are read in chunks that double up to a limit.
constexpr qsizetype kFirstChunk = 4 * 1024;
constexpr qsizetype kLargestChunk = 256 * 1024;
// How much of the start of an undeclared page a statistical guess sees.
constexpr qsizetype kGuessBytes = 16 * 1024;

bool IsAsciiText(QStringView text) {
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

// Runs of ASCII whitespace as one space, both ends trimmed.
QString CollapseWhitespace(QStringView text) {
    QString out;
    out.reserve(text.size());
    bool pendingSpace = false;
    for (const QChar c : text) {
        if (IsAsciiWhitespace(c.unicode())) {
            pendingSpace = !out.isEmpty();
            continue;
        }
        if (pendingSpace)
            out += u' ';
        pendingSpace = false;
        out += c;
    }
    return out;
}

// A date in ISO 8601 ("2024-05-01", "2024-05-01T10:00:00+02:00", "...Z"), as UTC. A date and time
// without an offset is taken as UTC: the page does not say where it was written.
QDateTime ParseDeclaredDate(QStringView value) {
    const QString text = value.trimmed().toString();
    if (text.size() == 10) {
        const QDate date = QDate::fromString(text, Qt::ISODate);
        return date.isValid() ? QDateTime(date, QTime(0, 0), Qt::UTC) : QDateTime();
    }
    QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!time.isValid())
        time = QDateTime::fromString(text, Qt::ISODate);
    if (!time.isValid())
        return {};
    if (time.timeSpec() == Qt::LocalTime)
        time = QDateTime(time.date(), time.time(), Qt::UTC);
    return time.toUTC();
}

// One page going through the tokenizer, chunk by chunk.
class PageRun {
public:
    PageRun(PageSource& source, PageWants wants, bool wantEncoding)
        : source(source), wants(wants), wantEncoding(wantEncoding) {}

    // With WantFindings: the UTF-8 check of the bytes read, handed on in the reading.
    Utf8Scan& scan() { return scanned; }

    PageReading run() {
        PageReading out;
        // One read: a short one is the whole page.
        headSize = source.readAt(0, head, kFirstChunk);
        if (headSize < 0) {
            headSize = 0;
            return failed(out);
        }
        headIsWhole = headSize < kFirstChunk;
        if (wants & WantFindings) {
            scan().feed(0, QByteArrayView(head, headSize));
            if (headIsWhole)
                scan().end();
        }
        qsizetype bomLength = 0;
        declared = DeclaredEncoding(QByteArrayView(head, headSize), &bomLength);

        const bool wantHead = wants & (WantDate | WantDescription);
        // A check notes what a meta element declares beneath a byte-order mark too.
        // Past the title, a declaration still in the head only changes a title that is not plain
        // ASCII, unless the encoding itself is wanted.
        Tokenizer tokenizer(declared.isEmpty() || (wants & WantFindings), wantHead,
                            wantEncoding || (wants & WantFindings));
        if (!tokenizeAsDeclared(tokenizer, bomLength))
            return failed(out);
        lateCharset = tokenizer.lateCharset();
        if (wants & WantFindings)
            noteFacts(out.facts, tokenizer, bomLength);
        if (lateCharset == kReplacementEncoding) {
            // Declared late, an encoding browsers refuse still takes the whole page, as a browser
            // reloads it: none of its text counts.
            if (wants & WantDate)
                out.date = source.lastModified();
            out.encoding = lateCharset;
            return out;
        }
        takeTitle(out, tokenizer);
        if (wantEncoding)
            encoding(tokenizer.titleBytes());
        takeHeadFacts(out, tokenizer);
        out.encoding = decided;
        out.scan = scanned;
        return out;
    }

private:
    // Where tokenizing a page stands between one chunk and the next.
    struct Progress {
        QByteArray buffer;     // the chunk read, after the bytes carried from the one before
        qsizetype carried = 0; // bytes at the buffer's start that do not yet make a whole unit
        qint64 offset = 0;     // where the next chunk is read from
        qint64 searched = 0;   // page data looked through, each byte counted once
        qint64 furthest = 0;
        qsizetype chunk = kFirstChunk;
        bool atEnd = false;
        // Skipping (see tokenize): the tokenizer as it was where skipping began, and where that was.
        std::optional<Tokenizer> saved;
        qint64 savedOffset = 0;
        qint64 exactUntil = 0; // a stretch tokenized again is not skipped a second time
        char seam[10];         // the last bytes of the chunk before, to find "<title" across chunks
        qsizetype seamSize = 0;
    };

    // The page through the tokenizer in the units of the encoding its start declares; false when
    // reading fails.
    bool tokenizeAsDeclared(Tokenizer& tokenizer, qsizetype bomLength) {
        if (declared == kReplacementEncoding) {
            // Text in such an encoding can hide markup in innocent-looking bytes: like a browser,
            // take none of it.
            return true;
        }
        if (declared == "UTF-16LE" || declared == "UTF-16BE") {
            const bool bigEndian = declared == "UTF-16BE";
            return tokenize(tokenizer, bomLength, [bigEndian](QByteArrayView bytes) {
                return Utf16Units{bytes, bigEndian};
            });
        }
        return tokenize(tokenizer, bomLength, [](QByteArrayView bytes) { return ByteUnits{bytes}; });
    }

    // Feeds the page to the tokenizer until it has what it wants, the page ends or the bound on
    // page data is reached; false when reading fails.
    //
    // Long stretches without the bytes "<title" cannot hold a title's start, and nothing else is
    // wanted from them: those are looked through at the speed of finding "<", without tokenizing
    // them. The tokenizer is kept as it was before the first such stretch; when "<title" turns up
    // after all, the page is tokenized again from there, so the result is always what tokenizing
    // every byte gives.
    template <typename MakeUnits> bool tokenize(Tokenizer& tokenizer, qsizetype bomLength, MakeUnits units) {
        using Units = decltype(units(QByteArrayView()));
        width = Units::width;
        Progress p;
        p.carried = (headSize - bomLength) % width;
        tokenizer.feed(units(QByteArrayView(head + bomLength, headSize - bomLength - p.carried)));
        if (p.carried)
            p.buffer.append(head[headSize - 1]);
        p.offset = p.searched = p.furthest = headSize;
        p.atEnd = headIsWhole;
        while (!tokenizer.finished() && !p.atEnd && p.searched < kSearchedBytes) {
            const qint64 chunkStart = p.offset;
            const qsizetype at = p.carried; // where the bytes read go
            const qsizetype asked = p.chunk;
            qint64 dataAt = p.offset;
            p.buffer.resize(1 + asked);
            const qsizetype n = source.readDataFrom(p.offset, p.buffer.data() + at, asked, &dataAt);
            if (n < 0)
                return false;
            if (wants & WantFindings) {
                // Each byte read is looked at once for the check too; bytes read again after a
                // skipped stretch were looked at the first time.
                const qsizetype seen = qsizetype(std::clamp<qint64>(scan().next() - dataAt, 0, n));
                scan().feed(dataAt + seen, QByteArrayView(p.buffer.constData() + at + seen, n - seen));
                if (n < asked)
                    scan().end();
            }
            if (dataAt > p.offset && p.saved) {
                // A hole while skipping: tokenize again from where skipping began.
                rewind(tokenizer, p, dataAt + n);
                continue;
            }
            if (dataAt > p.offset)
                takeHole(tokenizer, p, units, dataAt - p.offset, at, n);
            p.atEnd = n < asked; // a short read is the rest of the page
            p.searched += std::max<qint64>(0, dataAt + n - std::max(dataAt, p.furthest));
            p.furthest = std::max(p.furthest, dataAt + n);
            p.offset = dataAt + n;
            const qsizetype have = p.carried + n;
            const qsizetype whole = have - have % width;
            const QByteArrayView piece(p.buffer.constData(), whole);
            p.chunk = std::min(p.chunk * 2, kLargestChunk);
            if (skipped(tokenizer, p, piece, chunkStart))
                continue;
            tokenizer.feed(units(piece));
            p.carried = have - whole;
            if (p.carried)
                p.buffer[0] = p.buffer[whole];
        }
        // A title still open where the page ends runs to its end; one not closed within the bound
        // is no title.
        if (p.atEnd)
            tokenizer.end();
        return true;
    }

    // A hole of zeros bytes before the n bytes just read at at: zeros hold no tag, so the
    // tokenizer takes them as a count.
    template <typename MakeUnits>
    void takeHole(Tokenizer& tokenizer, Progress& p, MakeUnits units, qint64 zeros, qsizetype at,
                  qsizetype n) {
        if (p.carried) {
            const char unit[2] = {p.buffer[0], '\0'};
            tokenizer.feed(units(QByteArrayView(unit, 2)));
            --zeros;
        }
        tokenizer.zeros(zeros / width, width);
        p.carried = qsizetype(zeros % width);
        if (p.carried != at && n > 0)
            std::memmove(p.buffer.data() + p.carried, p.buffer.data() + at, size_t(n));
        if (p.carried)
            p.buffer[0] = '\0';
    }

    // Whether the chunk just read (piece, from chunkStart) goes untokenized: skipped as holding
    // no title's start, or to be read again from where skipping began now that one may start in it.
    bool skipped(Tokenizer& tokenizer, Progress& p, QByteArrayView piece, qint64 chunkStart) {
        // A check wants a meta element met before the title even where no title comes: with it,
        // as with the encoding, every byte is tokenized while such an element may still come.
        const bool wantsCharset = wantEncoding || (wants & WantFindings);
        if (width != 1 || (wantsCharset && !tokenizer.charsetSettled()) || chunkStart < p.exactUntil ||
            !tokenizer.maySkip()) {
            p.seamSize = 0;
            return false;
        }
        // The seam: the end of the chunk before and the start of this one.
        const qsizetype whole = piece.size();
        const qsizetype front = std::min<qsizetype>(whole, 5);
        std::memcpy(p.seam + p.seamSize, piece.data(), size_t(front));
        const bool candidate =
            MayHoldTitleTag(QByteArrayView(p.seam, p.seamSize + front)) || MayHoldTitleTag(piece);
        p.seamSize = std::min<qsizetype>(whole, 5);
        std::memcpy(p.seam, piece.data() + whole - p.seamSize, size_t(p.seamSize));
        if (!candidate) {
            if (!p.saved) {
                p.saved = tokenizer;
                p.savedOffset = chunkStart;
            }
            return true;
        }
        if (!p.saved)
            return false;
        rewind(tokenizer, p, p.offset);
        p.atEnd = false;
        return true;
    }

    // Back to where skipping began, to tokenize every byte up to readTo.
    static void rewind(Tokenizer& tokenizer, Progress& p, qint64 readTo) {
        tokenizer = *p.saved;
        p.saved.reset();
        p.offset = p.savedOffset;
        p.exactUntil = readTo;
        p.seamSize = 0;
    }

    void takeTitle(PageReading& out, const Tokenizer& tokenizer) {
        if (!tokenizer.hasTitle())
            return;
        const QByteArray raw = tokenizer.titleBytes();
        if (tokenizer.titleReadsAsAscii())
            out.title = CleanTitle(raw.constData(), raw.size());
        else if (tokenizer.titleEndsAtTag())
            out.title = CleanTitle(DecodeBeforeTag(encoding(raw), raw));
        else
            out.title = CleanTitle(DecodeAs(encoding(raw), raw));
        out.title = NoBlankTitle(std::move(out.title));
    }

    // The description and the date, as wanted.
    void takeHeadFacts(PageReading& out, const Tokenizer& tokenizer) {
        if (wants & WantDescription) {
            if (const QString* value = tokenizer.description()) {
                QString text = width == 1 && !IsAsciiText(*value)
                                   ? DecodeAs(encoding(tokenizer.titleBytes()), value->toLatin1())
                                   : *value;
                text = CollapseWhitespace(ResolveCharacterReferences(text, ReferencesIn::AttributeValue));
                if (!text.isEmpty())
                    out.description = text;
            }
        }
        if (wants & WantDate) {
            // A date some output cannot write is no date, for every output and the order alike.
            if (const QString* value = tokenizer.date())
                out.date = PublishableDate(ParseDeclaredDate(*value));
            if (!out.date.isValid())
                out.date = PublishableDate(source.lastModified());
        }
    }

    PageReading& failed(PageReading& out) const {
        if (wants & WantFindings)
            out.facts.readError = ReadFailed();
        return out;
    }

    // What a check needs from what the reader met: the title element, and the declarations of
    // the encoding as the reader weighs them.
    void noteFacts(PageFacts& facts, const Tokenizer& tokenizer, qsizetype bomLength) const {
        facts.titleElement = tokenizer.metTitle();
        facts.titleUnclosed = tokenizer.titleUnclosed();
        // Without a byte-order mark, what the head declares is what the prescan found, unless it
        // is the UTF-16 that the pattern of NUL bytes gives (the prescan never gives UTF-16).
        std::optional<QByteArray> prescanned;
        if (bomLength == 0 && !declared.startsWith("UTF-16"))
            prescanned = declared;
        const EncodingDeclarations said =
            PageDeclarations({QByteArrayView(head, headSize), headIsWhole, lateCharset, {}, prescanned});
        facts.bomEncoding = said.bom;
        // Markup in UTF-16 is not in ASCII bytes: what it declares is not read from them.
        if (width == 1)
            facts.declaredEncoding = said.markup;
    }

    // The page's encoding, decided once; title is the title's raw bytes, for a guess.
    QByteArray encoding(QByteArrayView title) {
        if (!decided.isEmpty())
            return decided;
        EncodingClues clues{QByteArrayView(head, headSize), headIsWhole, lateCharset, title};
        QByteArray start;
        if (declared.isEmpty() && lateCharset.isEmpty() && !headIsWhole) {
            // A guess needs more of the page than the first chunk to tell one legacy encoding
            // from another: give it the page's start.
            start.resize(kGuessBytes);
            qsizetype got = 0;
            while (got < kGuessBytes) {
                const qsizetype n = source.readAt(got, start.data() + got, kGuessBytes - got);
                if (n <= 0)
                    break;
                got += n;
                if (got < kGuessBytes && n < kGuessBytes - (got - n))
                    break; // a short read: the page ends here
            }
            start.resize(got);
            if (got > headSize) {
                clues.head = start;
                clues.headIsWhole = got < kGuessBytes;
            }
        }
        decided = PageEncoding(clues);
        return decided;
    }

    PageSource& source;
    const PageWants wants;
    const bool wantEncoding;
    char head[kFirstChunk];
    qsizetype headSize = 0;
    bool headIsWhole = true;
    qsizetype width = 1;
    QByteArray declared;
    QByteArray lateCharset;
    QByteArray decided;
    Utf8Scan scanned;
};

} // namespace

qsizetype MemorySource::readAt(qint64 offset, char* into, qsizetype size) {
    if (offset >= bytes.size())
        return 0;
    const qsizetype n = std::min<qsizetype>(size, bytes.size() - qsizetype(offset));
    std::memcpy(into, bytes.data() + offset, size_t(n));
    return n;
}

PageReading ReadPage(PageSource& source, PageWants wants, bool wantEncoding) {
    return PageRun(source, wants, wantEncoding).run();
}

} // namespace detail

struct FolderPageReader::Private {
    detail::PageFolder folder;
    explicit Private(const QString& folderText) : folder(folderText) {}
};

FolderPageReader::FolderPageReader(const QString& folderText) : d(new Private(folderText)) {}

FolderPageReader::~FolderPageReader() {
    delete d;
}

PageRecord FolderPageReader::read(const QString& pageName, PageWants wants) const {
    PageRecord record{pageName, {}, {}, {}, {}};
    QString whyNot;
    if (const std::unique_ptr<detail::PageSource> source =
            d->folder.open(pageName, wants & WantFindings ? &whyNot : nullptr)) {
        detail::PageReading page = detail::ReadPage(*source, wants);
        record.title = std::move(page.title);
        record.date = page.date;
        record.description = std::move(page.description);
        if (wants & WantSize)
            record.size = source->byteSize();
        if (wants & WantFindings) {
            detail::ExaminePage(*source, page.facts, page.scan);
            if (!page.facts.readError.isEmpty() && source->notRegular())
                page.facts.readError = detail::NotRegularFile();
            record.facts = std::make_shared<const PageFacts>(std::move(page.facts));
        }
    } else if (wants & WantFindings) {
        PageFacts facts;
        facts.readError = whyNot;
        record.facts = std::make_shared<const PageFacts>(std::move(facts));
    }
    return record;
}

QList<PageRecord> ReadPages(const QString& folderText, const QStringList& pageNames, PageWants wants) {
    QList<PageRecord> records;
    records.reserve(pageNames.size());
    ForEachPage(folderText, pageNames, wants,
                [&records](PageRecord&& record) { records.append(std::move(record)); });
    return records;
}

QByteArray DetectEncoding(QByteArrayView bytes) {
    detail::MemorySource source(bytes);
    return detail::ReadPage(source, WantTitle, true).encoding;
}

QString DecodePage(QByteArrayView bytes) {
    qsizetype bomLength = 0;
    DeclaredEncoding(bytes.first(std::min<qsizetype>(bytes.size(), 1024)), &bomLength);
    return DecodeAs(DetectEncoding(bytes), bytes.sliced(bomLength));
}

} // namespace pagewick
