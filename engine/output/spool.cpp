#include "engine/output/spool_p.h"

#include <QStringDecoder>

namespace pagewick::detail {

void TextSpool::append(const QString& text) {
    // Encoded straight onto the end of what waits, with no text of its own in between.
    const qsizetype had = pending.size();
    pending.resize(had + encoder.requiredSpace(text.size()));
    char* end = encoder.appendToBuffer(pending.data() + had, text);
    pending.truncate(end - pending.constData());
    if (pending.size() < kInMemory || fileFailed)
        return;
    if (!file) {
        file = std::make_unique<QTemporaryFile>();
        if (!file->open()) {
            file.reset();
            fileFailed = true;
            return;
        }
    }
    const qint64 before = file->size();
    if (file->write(pending) != pending.size() || !file->flush()) {
        // A full temporary folder: what is not written whole stays in memory, and so does the rest.
        file->resize(before);
        file->seek(before);
        fileFailed = true;
        return;
    }
    pending.clear();
}

void TextSpool::replay(const std::function<void(const QString&)>& sink) {
    QStringDecoder fromUtf8(QStringDecoder::Utf8);
    // Bytes up to a line break decoded in one piece, straight into the text handed on. A line
    // break is never part of a longer UTF-8 sequence, so no character is cut in two there.
    const auto hand = [&](QByteArrayView before, QByteArrayView bytes) {
        QString text(before.size() + bytes.size(), Qt::Uninitialized);
        QChar* end = fromUtf8.appendToBuffer(text.data(), before);
        end = fromUtf8.appendToBuffer(end, bytes);
        text.truncate(end - text.constData());
        if (!text.isEmpty())
            sink(text);
    };
    if (file) {
        file->flush();
        file->seek(0);
        QByteArray chunk(kInMemory, Qt::Uninitialized);
        // Pieces end at a line break; the rest of a chunk goes on with the next.
        QByteArray carried;
        for (qint64 n = file->read(chunk.data(), chunk.size()); n > 0;
             n = file->read(chunk.data(), chunk.size())) {
            const QByteArrayView read(chunk.constData(), n);
            const qsizetype cut = read.lastIndexOf('\n') + 1;
            if (cut > 0) {
                hand(carried, read.first(cut));
                carried.clear();
            }
            carried.append(read.sliced(cut));
        }
        file.reset();
        pending.prepend(carried);
    }
    hand({}, pending);
    pending.clear();
}

} // namespace pagewick::detail
