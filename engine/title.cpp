#include "engine/title.h"

#include "engine/decode.h"
#include "engine/filename.h"
#include "engine/paths.h"

#include <bit>
#include <cstring>
#include <type_traits>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QFile>
#include <QFileInfo>
#endif

namespace pagewick {

namespace {

// Most pages name their title within the first few kilobytes: one small read settles them, and
// copying more than that out of the page cache is what a folder of pages costs. Pages that need
// more are read in chunks that double up to a limit.
constexpr qsizetype kFirstChunk = 4 * 1024;
constexpr qsizetype kLargestChunk = 256 * 1024;
// Title text kept in memory while its closing tag is looked for; past this it is read again once found.
constexpr qsizetype kKeptTitleBytes = 1024 * 1024;

bool IsAsciiWhitespace(char16_t c) {
    return c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == ' ';
}

// Whether c, in any letter case, is the lower-case ASCII letter or sign wanted.
inline bool FoldsTo(char16_t c, char wanted) {
    return c == char16_t(wanted) || (wanted >= 'a' && wanted <= 'z' && c == char16_t(wanted - 0x20));
}

// Each kind of units offers findTag(next, from): the first "<" at or after from that is followed
// by next (in any letter case) or by nothing yet, which is all a tag search needs to stop at.
template <typename Units> qsizetype FindTagStart(const Units& u, char next, qsizetype from) {
    const qsizetype n = u.size();
    for (qsizetype i = from; i < n; ++i) {
        if (u[i] == '<' && (i + 1 == n || FoldsTo(u[i + 1], next)))
            return i;
    }
    return -1;
}

// Page text seen as a run of code units, so that the tag search works alike on text, on the bytes
// of ASCII-compatible encodings (where markup bytes are always ASCII) and on raw UTF-16.
struct ByteUnits {
    QByteArrayView bytes;
    qsizetype size() const { return bytes.size(); }
    char16_t operator[](qsizetype i) const { return uchar(bytes[i]); }
    qsizetype findTag(char next, qsizetype from) const {
#ifdef __SSE2__
        // Big pages without a title are scanned to their end; sixteen bytes at a time, comparing
        // each byte with "<" and the byte after it with the next letter, keeps that near the speed
        // of reading them.
        const char* p = bytes.data();
        const qsizetype n = bytes.size();
        const bool letter = next >= 'a' && next <= 'z';
        const __m128i lt = _mm_set1_epi8('<');
        const __m128i wanted = _mm_set1_epi8(next);
        const __m128i fold = _mm_set1_epi8(letter ? 0x20 : 0);
        const auto hits = [&](qsizetype at) {
            const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at));
            const __m128i after = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at + 1));
            return _mm_and_si128(_mm_cmpeq_epi8(here, lt), _mm_cmpeq_epi8(_mm_or_si128(after, fold), wanted));
        };
        // Sixty-four bytes with one test while nothing is found, then sixteen to place a find.
        for (; from + 65 <= n; from += 64) {
            const __m128i any = _mm_or_si128(_mm_or_si128(hits(from), hits(from + 16)),
                                             _mm_or_si128(hits(from + 32), hits(from + 48)));
            if (_mm_movemask_epi8(any))
                break;
        }
        for (; from + 17 <= n; from += 16) {
            if (const int mask = _mm_movemask_epi8(hits(from)))
                return from + std::countr_zero(unsigned(mask));
        }
#endif
        return FindTagStart(*this, next, from);
    }
};

struct Utf16Units {
    QByteArrayView bytes;
    bool bigEndian;
    qsizetype size() const { return bytes.size() / 2; }
    char16_t operator[](qsizetype i) const {
        const uchar a = uchar(bytes[2 * i]), b = uchar(bytes[2 * i + 1]);
        return bigEndian ? char16_t(a << 8 | b) : char16_t(b << 8 | a);
    }
    qsizetype findTag(char next, qsizetype from) const { return FindTagStart(*this, next, from); }
};

struct TextUnits {
    QStringView text;
    qsizetype size() const { return text.size(); }
    char16_t operator[](qsizetype i) const { return text[i].unicode(); }
    qsizetype findTag(char next, qsizetype from) const {
        for (qsizetype i = text.indexOf(u'<', from); i >= 0; i = text.indexOf(u'<', i + 1)) {
            if (i + 1 == text.size() || FoldsTo(text[i + 1].unicode(), next))
                return i;
        }
        return -1;
    }
};

enum class Found { Yes, No, NeedMore };

struct TagMatch {
    Found found = Found::No;
    qsizetype start = -1; // the "<" of the tag (with NeedMore: the first unit to keep)
};

// Does the name at i (lower-case ASCII) match in any letter case? NeedMore when the units run out first.
template <typename Units> Found MatchesName(const Units& u, qsizetype i, const char* name) {
    for (; *name; ++name, ++i) {
        if (i >= u.size())
            return Found::NeedMore;
        char16_t c = u[i];
        if (c >= 'A' && c <= 'Z')
            c += 0x20;
        if (c != char16_t(*name))
            return Found::No;
    }
    return Found::Yes;
}

// Where the tokenizer stands inside a start tag's attributes, so that a tag can be followed across
// reads without keeping its bytes.
struct TagState {
    enum { BeforeName, Name, AfterName, BeforeValue, Quoted, Unquoted, AfterQuoted } state = BeforeName;
    char16_t quote = 0;
};

// Position just past the ">" that ends a start tag, going on from i in the given state; -1 when
// the units run out first. Attribute values may hold ">" when quoted, so this follows the
// tokenizer's attribute states.
template <typename Units> qsizetype StartTagEnd(const Units& u, qsizetype i, TagState& t) {
    for (; i < u.size(); ++i) {
        const char16_t c = u[i];
        switch (t.state) {
        case TagState::BeforeName:
        case TagState::AfterQuoted:
            if (c == '>')
                return i + 1;
            if (!IsAsciiWhitespace(c) && c != '/')
                t.state = TagState::Name;
            break;
        case TagState::Name:
            if (c == '>')
                return i + 1;
            if (c == '=')
                t.state = TagState::BeforeValue;
            else if (IsAsciiWhitespace(c) || c == '/')
                t.state = TagState::AfterName;
            break;
        case TagState::AfterName:
            if (c == '>')
                return i + 1;
            if (c == '=')
                t.state = TagState::BeforeValue;
            else if (!IsAsciiWhitespace(c) && c != '/')
                t.state = TagState::Name;
            break;
        case TagState::BeforeValue:
            if (c == '>')
                return i + 1;
            if (c == '"' || c == '\'') {
                t.quote = c;
                t.state = TagState::Quoted;
            } else if (!IsAsciiWhitespace(c)) {
                t.state = TagState::Unquoted;
            }
            break;
        case TagState::Quoted:
            if (c == t.quote)
                t.state = TagState::AfterQuoted;
            break;
        case TagState::Unquoted:
            if (c == '>')
                return i + 1;
            if (IsAsciiWhitespace(c))
                t.state = TagState::BeforeName;
            break;
        }
    }
    return -1;
}

// The first "<title" followed by ">", whitespace or "/", at or after from, through its ">".
// InTag: the tag's name is seen, its end not yet; tag holds how far its attributes went.
enum class Opening { Found, None, NeedMore, InTag };
struct OpeningTag {
    Opening found = Opening::None;
    qsizetype start = -1; // the "<" (with NeedMore: the first unit to keep)
    qsizetype end = -1;   // just past the ">"
    TagState tag;
};

template <typename Units> OpeningTag FindOpeningTag(const Units& u, qsizetype from) {
    for (qsizetype i = u.findTag('t', from); i >= 0; i = u.findTag('t', i + 1)) {
        const Found name = MatchesName(u, i + 1, "title");
        if (name == Found::No)
            continue;
        if (name == Found::NeedMore || i + 6 >= u.size())
            return {Opening::NeedMore, i, -1, {}};
        const char16_t next = u[i + 6];
        if (next != '>' && next != '/' && !IsAsciiWhitespace(next))
            continue;
        OpeningTag open{Opening::Found, i, -1, {}};
        open.end = StartTagEnd(u, i + 6, open.tag);
        if (open.end < 0)
            open.found = Opening::InTag;
        return open;
    }
    return {};
}

// The first end tag "</title" followed by ">", whitespace or "/" (as a browser ends the title),
// at or after from.
template <typename Units> TagMatch FindClosingTag(const Units& u, qsizetype from) {
    for (qsizetype i = u.findTag('/', from); i >= 0; i = u.findTag('/', i + 1)) {
        const Found name = MatchesName(u, i + 1, "/title");
        if (name == Found::No)
            continue;
        if (name == Found::NeedMore || i + 7 >= u.size())
            return {Found::NeedMore, i};
        const char16_t next = u[i + 7];
        if (next == '>' || next == '/' || IsAsciiWhitespace(next))
            return {Found::Yes, i};
    }
    return {};
}

// The title as a browser shows it: ASCII whitespace runs as one space, ends trimmed, NUL as U+FFFD.
template <typename Char> std::optional<QString> CleanTitle(const Char* raw, qsizetype size) {
    QString out(size, Qt::Uninitialized);
    char16_t* o = reinterpret_cast<char16_t*>(out.data());
    char16_t* const start = o;
    bool pendingSpace = false;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = char16_t(std::make_unsigned_t<Char>(raw[i]));
        if (IsAsciiWhitespace(c)) {
            pendingSpace = o != start;
            continue;
        }
        if (pendingSpace) {
            *o++ = u' ';
            pendingSpace = false;
        }
        *o++ = c == 0 ? char16_t(QChar::ReplacementCharacter) : c;
    }
    if (o == start)
        return std::nullopt;
    out.truncate(o - start);
    return out;
}

std::optional<QString> CleanTitle(QStringView raw) {
    return CleanTitle(reinterpret_cast<const char16_t*>(raw.utf16()), raw.size());
}

bool IsPlainAscii(QByteArrayView bytes) {
    // ESC is left out: it switches ISO-2022-JP into its two-byte sets.
    for (const char c : bytes) {
        if (uchar(c) >= 0x80 || c == 0x1B)
            return false;
    }
    return true;
}

class PageSource {
public:
    virtual ~PageSource() = default;
    // Up to size bytes from the current place; 0 at the end, -1 on failure.
    virtual qsizetype read(char* into, qsizetype size) = 0;
    // Exactly size bytes from offset.
    virtual bool readAt(qint64 offset, char* into, qsizetype size) = 0;

    qsizetype readFully(char* into, qsizetype size) {
        qsizetype done = 0;
        while (done < size) {
            const qsizetype n = read(into + done, size - done);
            if (n < 0)
                return -1;
            if (n == 0)
                break;
            done += n;
        }
        return done;
    }
};

// The search state for one page: a window over its bytes that moves forward chunk by chunk,
// keeping only what a tag or the title may still need.
template <typename Units>
std::optional<QString> ReadTitleWith(PageSource& source, const char* head, qsizetype headSize,
                                     const QByteArray& encoding, qsizetype bomLength, Units units) {
    bool atEnd = headSize < kFirstChunk;
    qsizetype chunk = kFirstChunk;       // the next read's size
    QByteArray buffer;                   // in use once the first chunk is not enough
    QByteArrayView data(head, headSize); // the bytes in view, from file offset dataOffset
    qint64 dataOffset = 0;
    qsizetype begin = bomLength; // bytes of data before begin are no longer needed
    const qsizetype width = std::is_same_v<Units, Utf16Units> ? 2 : 1;

    enum { BeforeTitle, InOpeningTag, InTitle } phase = BeforeTitle;
    TagState tag;               // while in the opening tag
    qsizetype from = 0;         // where the search resumes, in units after begin
    qsizetype titleStart = 0;   // in units after begin, while the title text is kept
    qint64 droppedTitleAt = -1; // file offset of the title text once it is no longer kept
    qsizetype titleEnd = -1;

    for (;;) {
        units.bytes = data.sliced(begin);
        if (phase == BeforeTitle) {
            const OpeningTag open = FindOpeningTag(units, from);
            if (open.found == Opening::Found) {
                phase = InTitle;
                titleStart = from = open.end;
                continue;
            }
            if (atEnd)
                return std::nullopt;
            if (open.found == Opening::InTag) {
                // The rest of the tag is followed as it comes; none of its bytes are needed.
                phase = InOpeningTag;
                tag = open.tag;
            }
            // Nothing before a partly seen tag name can matter any more.
            const qsizetype keep = open.found == Opening::NeedMore ? open.start : units.size();
            begin += keep * width;
            from = 0;
        } else if (phase == InOpeningTag) {
            const qsizetype end = StartTagEnd(units, from, tag);
            if (end >= 0) {
                phase = InTitle;
                titleStart = from = end;
                continue;
            }
            if (atEnd)
                return std::nullopt;
            begin += units.size() * width;
            from = 0;
        } else {
            const TagMatch close = FindClosingTag(units, from);
            if (close.found == Found::Yes) {
                titleEnd = close.start;
                break;
            }
            if (atEnd)
                return std::nullopt;
            from = close.found == Found::NeedMore ? close.start : units.size();
            if (droppedTitleAt < 0 && (from - titleStart) * width > kKeptTitleBytes)
                droppedTitleAt = dataOffset + begin + titleStart * width;
            if (droppedTitleAt >= 0) {
                begin += from * width;
                from = 0;
            }
        }

        // Move the kept bytes to the front of the buffer and read the next chunk after them.
        if (data.data() == head)
            buffer = data.sliced(begin).toByteArray();
        else
            buffer.remove(0, begin);
        dataOffset += begin;
        begin = 0;
        const qsizetype kept = buffer.size();
        buffer.resize(kept + chunk);
        const qsizetype n = source.read(buffer.data() + kept, chunk);
        chunk = std::min(chunk * 2, kLargestChunk);
        if (n < 0)
            return std::nullopt;
        buffer.resize(kept + n);
        atEnd = n == 0;
        data = buffer;
    }

    // The title's bytes, from memory or read again when it outgrew what is kept.
    QByteArray reread;
    QByteArrayView bytes;
    const qint64 titleEndOffset = dataOffset + begin + titleEnd * width;
    if (droppedTitleAt >= 0) {
        reread.resize(titleEndOffset - droppedTitleAt);
        if (!source.readAt(droppedTitleAt, reread.data(), reread.size()))
            return std::nullopt;
        bytes = reread;
    } else {
        bytes = data.sliced(begin + titleStart * width, (titleEnd - titleStart) * width);
    }

    if (width == 1 && IsPlainAscii(bytes))
        return CleanTitle(bytes.data(), bytes.size());
    QByteArray decodeAs = encoding;
    if (decodeAs.isEmpty()) {
        // Undeclared: judge by the first chunk and by the title itself when it lies beyond it.
        const QByteArrayView first(head, headSize);
        decodeAs = GuessEncoding(first, !(headSize < kFirstChunk),
                                 titleEndOffset <= headSize ? QByteArrayView() : bytes);
    }
    return CleanTitle(DecodeAs(decodeAs, bytes));
}

std::optional<QString> ReadTitleFrom(PageSource& source) {
    char head[kFirstChunk];
    const qsizetype headSize = source.readFully(head, kFirstChunk);
    if (headSize < 0)
        return std::nullopt;
    qsizetype bomLength = 0;
    const QByteArray encoding = DeclaredEncoding(QByteArrayView(head, headSize), &bomLength);
    if (encoding == kReplacementEncoding)
        return std::nullopt;
    if (encoding == "UTF-16LE" || encoding == "UTF-16BE")
        return ReadTitleWith(source, head, headSize, encoding, bomLength,
                             Utf16Units{{}, encoding == "UTF-16BE"});
    return ReadTitleWith(source, head, headSize, encoding, bomLength, ByteUnits{});
}

#ifdef Q_OS_UNIX

class FdSource : public PageSource {
public:
    explicit FdSource(int fd) : fd(fd) {}
    qsizetype read(char* into, qsizetype size) override {
        for (;;) {
            const ssize_t n = ::read(fd, into, size_t(size));
            if (n >= 0 || errno != EINTR)
                return n;
        }
    }
    bool readAt(qint64 offset, char* into, qsizetype size) override {
        while (size > 0) {
            const ssize_t n = ::pread(fd, into, size_t(size), off_t(offset));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            into += n;
            offset += n;
            size -= n;
        }
        return true;
    }

private:
    int fd;
};

// A folder is opened only to open pages relative to it.
#ifdef O_PATH
constexpr int kFolderOpenFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;
#else
constexpr int kFolderOpenFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif

// The title of the page at path, relative to folderFd.
std::optional<QString> ReadTitleAt(int folderFd, const QByteArray& path) {
    if (path.isEmpty() || path.contains('\0'))
        return std::nullopt;
    // Non-blocking, so that opening a FIFO returns at once; only regular files are read.
    const int fd = ::openat(folderFd, path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat st;
    std::optional<QString> title;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        FdSource source(fd);
        title = ReadTitleFrom(source);
    }
    ::close(fd);
    return title;
}

#else

class QFileSource : public PageSource {
public:
    explicit QFileSource(QFile& file) : file(file) {}
    qsizetype read(char* into, qsizetype size) override { return file.read(into, size); }
    bool readAt(qint64 offset, char* into, qsizetype size) override {
        return file.seek(offset) && file.read(into, size) == size;
    }

private:
    QFile& file;
};

#endif

} // namespace

std::optional<QString> FindTitle(QStringView pageText) {
    const TextUnits units{pageText};
    const OpeningTag open = FindOpeningTag(units, 0);
    if (open.found != Opening::Found)
        return std::nullopt;
    const TagMatch close = FindClosingTag(units, open.end);
    if (close.found != Found::Yes)
        return std::nullopt;
    return CleanTitle(pageText.sliced(open.end, close.start - open.end));
}

std::optional<QString> ReadPageTitle(const QString& path) {
#ifdef Q_OS_UNIX
    return ReadTitleAt(AT_FDCWD, FileNameToBytes(path));
#else
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QFileSource source(file);
    return ReadTitleFrom(source);
#endif
}

FolderTitleReader::FolderTitleReader(const QString& folderText) : folderText(folderText) {
#ifdef Q_OS_UNIX
    const QByteArray folder = FileNameToBytes(EnsureTrailingSeparator(folderText));
    if (!folder.contains('\0'))
        folderFd = ::open(folder.constData(), kFolderOpenFlags);
#endif
}

FolderTitleReader::~FolderTitleReader() {
#ifdef Q_OS_UNIX
    if (folderFd >= 0)
        ::close(folderFd);
#endif
}

std::optional<QString> FolderTitleReader::read(const QString& pageName) const {
#ifdef Q_OS_UNIX
    // An absolute name would leave the folder behind, where the joined path does not.
    if (folderFd >= 0 && !pageName.startsWith(u'/'))
        return ReadTitleAt(folderFd, FileNameToBytes(pageName));
#endif
    return ReadPageTitle(PagePath(folderText, pageName));
}

QString ExtractTitle(const QString& path) {
    return ReadPageTitle(path).value_or(path);
}

QString FlattenLineBreaks(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\n')
            out += u' ';
        else if (c != u'\r')
            out += c;
    }
    return out;
}

} // namespace pagewick
