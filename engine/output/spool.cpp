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
    if (file) {
        file->flush();
        file->seek(0);
        QByteArray chunk(kInMemory, Qt::Uninitialized);
        // Pieces end at a line break; the rest of a chunk goes on with the next.
        QString carried;
        for (qint64 n = file->read(chunk.data(), chunk.size()); n > 0;
             n = file->read(chunk.data(), chunk.size())) {
            QString text = carried + fromUtf8(QByteArrayView(chunk.constData(), n));
            const qsizetype cut = text.lastIndexOf(u'\n') + 1;
            carried = text.sliced(cut);
            text.truncate(cut);
            if (!text.isEmpty())
                sink(text);
        }
        file.reset();
        pending.prepend(carried.toUtf8());
    }
    if (!pending.isEmpty())
        sink(fromUtf8(pending));
    pending.clear();
}

} // namespace pagewick::detail
