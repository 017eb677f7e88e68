#pragma once

#include <QString>

#include <functional>

namespace pagewick {

// What WriteTextFile does when the target, its symbolic links followed, exists and is not a
// regular file.
enum class SpecialTarget {
    // Nothing is written and nothing replaced; the error says what the target is.
    Refuse,
    // A FIFO or a character device (a terminal, a pipe named by /dev/stdout) is opened and
    // written to as a shell redirection would, and stays what it is. Anything else is refused.
    WriteInto,
};

// Writes text as UTF-8 to path. A regular file is replaced only once all of it is written
// (QSaveFile), so a failure never leaves a truncated or half-written file; the new file keeps the
// old one's permissions and, where the process may give them (root), its owner and group. It is a
// new file: other hard links to the old one keep the old text. A target that is not a regular file
// (a folder, FIFO, device, socket or a loop of symbolic links) is never replaced; see SpecialTarget.
// On failure returns false and, when error is given, sets it to a description that names the file.
bool WriteTextFile(const QString& path, const QString& text, QString* error = nullptr,
                   SpecialTarget special = SpecialTarget::Refuse);

// Hands every piece of a text, in order, to sink; false when the whole text could not be made
// (having said why).
using TextMaker = std::function<bool(const std::function<void(const QString&)>& sink)>;

// WriteTextFile for a text made piece by piece. A regular file is written as the pieces come, into
// the temporary file that replaces it once the whole text is written, so the text is never held
// whole; on any failure, or when make fails, the old file stays as it was. A target that is not a
// regular file gets the text made whole first, as WriteTextFile would. False when make fails
// (error is left as it is) or the write fails (error says why, when given).
bool WriteTextFileAsMade(const QString& path, const TextMaker& make, QString* error = nullptr,
                         SpecialTarget special = SpecialTarget::Refuse);

// The process's own open descriptor, open for writing, that is the very file at path (its links
// followed; the same device and inode), or -1 when there is none. Standard output comes first,
// then standard error, then the others by number. A shell that redirected a stream to a file
// ("2>>build.log") has that file open at some position; writing there, rather than replacing the
// file, keeps what is already in it, as a redirection of the shell would.
int OpenDescriptorOf(const QString& path);

// Writes all of text as UTF-8 into the open descriptor fd at its position (at the end when it was
// opened to append). On failure returns false and, when error is given, sets it to the reason.
bool WriteIntoDescriptor(int fd, const QString& text, QString* error = nullptr);

// What a file that is not a regular file is, from its stat mode, for messages: "a folder",
// "a named pipe (FIFO)", "a character device", ...
QString FileKindName(unsigned mode);

} // namespace pagewick
