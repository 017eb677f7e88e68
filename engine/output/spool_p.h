#pragma once

// Private to the engine: text that must wait until an output's start is known.

#include <QByteArray>
#include <QString>
#include <QStringEncoder>
#include <QTemporaryFile>

#include <functional>
#include <memory>

namespace pagewick::detail {

// Holds appended text as UTF-8: in memory up to a little, beyond that in an unnamed temporary file
// (in the system's temporary folder), and hands it back in the order it came. When no temporary
// file can be made it all stays in memory.
class TextSpool {
public:
    void append(const QString& text);
    // The text in pieces of whole lines (the last may end without a line break).
    void replay(const std::function<void(const QString&)>& sink);

private:
    static constexpr qsizetype kInMemory = 256 * 1024;
    QByteArray pending;
    QStringEncoder encoder{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
    std::unique_ptr<QTemporaryFile> file;
    bool fileFailed = false;
};

} // namespace pagewick::detail
