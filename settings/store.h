#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QSettings;
class QVariant;

namespace pagewick {

// The one file every remembered setting lives in: organisation and application "Pagewick",
// ~/.config/Pagewick/Pagewick.conf (or under $XDG_CONFIG_HOME). It is used only while it, and the
// lock file QSettings takes beside it, is a regular file or not there yet: a folder, FIFO, device,
// socket or loop of links in its place is neither read nor replaced.

// Writes through write() and puts the store on disk. Returns false, with a description in error
// when given, when the store cannot be written or may not be touched.
bool WriteSettingsStore(const std::function<void(QSettings&)>& write, QString* error = nullptr);

// Calls read() on the store when it may be read and reads without error; returns whether it did.
bool ReadSettingsStore(const std::function<void(const QSettings&)>& read);

// A hand-edited store may hold anything: these read a stored value as what it was written as, and
// anything else as the default.

// A stored list of texts; one text is a list of one.
QStringList StoredTextList(const QVariant& value);

// A stored yes or no: only "true", in any letter case, is yes.
bool StoredYes(const QVariant& value);

} // namespace pagewick
