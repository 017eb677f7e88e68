#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtGlobal>

// Writes a fixture file and returns its path; a fixture that cannot be written ends the test run.
inline QString WriteFixture(const QString& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir + u'/' + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write fixture %s", qPrintable(path));
    return path;
}
