#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// Writes a fixture file and returns its path; a fixture that cannot be written ends the test run.
inline QString WriteFixture(const QString& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir + u'/' + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write fixture %s", qPrintable(path));
    return path;
}

// The names in plain code-point order, for comparing lists whose order is not the point.
inline QStringList Sorted(QStringList names) {
    names.sort();
    return names;
}

// The folder of the web standards' conformance data (html5lib-tests/, whatwg-encoding/): the
// environment's PAGEWICK_CONFORMANCE, else the first shared/conformance found walking up from the
// source folder (a clone beside the shared data); empty when there is none.
inline QString ConformanceDir() {
    const QString given = qEnvironmentVariable("PAGEWICK_CONFORMANCE");
    if (!given.isEmpty())
        return QDir(given).exists() ? given : QString();
#ifdef PAGEWICK_SOURCE_DIR
    QDir dir(QString::fromUtf8(PAGEWICK_SOURCE_DIR));
    do {
        if (dir.exists(QStringLiteral("shared/conformance")))
            return dir.filePath(QStringLiteral("shared/conformance"));
    } while (dir.cdUp());
#endif
    return {};
}
