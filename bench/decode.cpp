// pagewick-bench-decode: the page decoders' speed on titles and on 1 MB of text, beside Qt's own
// (ICU) converters for the same encodings, as a floor to hold them to.
#include "engine/text/decode.h"

#include <QElapsedTimer>
#include <QStringDecoder>

#include <cstdio>

using namespace pagewick;
using namespace Qt::Literals::StringLiterals;

namespace {

// Nanoseconds a call of f takes, the best of five rounds of the given number of calls.
template <typename F> double Nanoseconds(F f, int calls) {
    double best = 1e300;
    qsizetype sink = 0;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < calls; ++i)
            sink += f().size();
        best = std::min(best, double(timer.nsecsElapsed()) / calls);
    }
    if (sink < 0)
        std::puts("");
    return best;
}

} // namespace

int main() {
    const QByteArray utf8 = u"Café à la crème – €5, naïve résumé"_s.toUtf8();
    const QByteArray latin = "Caf\xE9 \xE0 la cr\xE8me \x96 \x80"
                             "5, na\xEFve r\xE9sum\xE9";
    const QByteArray sjis = "\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x83\x79\x81\x5B\x83\x57";
    struct Case {
        const char* label;
        const char* encoding;
        QByteArray bytes;
        int calls;
    };
    const Case cases[] = {
        {"UTF-8 title", "UTF-8", utf8, 100000},
        {"UTF-8 1 MB", "UTF-8", utf8.repeated((1 << 20) / utf8.size()), 30},
        {"windows-1252 title", "windows-1252", latin, 100000},
        {"windows-1252 1 MB", "windows-1252", latin.repeated((1 << 20) / latin.size()), 30},
        {"Shift_JIS title", "Shift_JIS", sjis, 100000},
        {"Shift_JIS 1 MB", "Shift_JIS", sjis.repeated((1 << 20) / sjis.size()), 30},
    };
    std::printf("%-20s %9s %12s %12s %6s\n", "", "bytes", "Qt (ns)", "Pagewick", "ratio");
    for (const Case& c : cases) {
        const double qt = Nanoseconds(
            [&] {
                QStringDecoder decoder(c.encoding, QStringDecoder::Flag::Stateless);
                return QString(decoder.decode(c.bytes));
            },
            c.calls);
        const double ours = Nanoseconds([&] { return DecodeAs(c.encoding, c.bytes); }, c.calls);
        std::printf("%-20s %9lld %12.0f %12.0f %6.2f\n", c.label, static_cast<long long>(c.bytes.size()), qt,
                    ours, ours / qt);
    }
}
