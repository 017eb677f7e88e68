#pragma once

#include <QDir>
#include <QFileInfo>
#include <QString>
#include <QtGlobal>

// Where the web standards' own test data lies (html5lib-tests, the WHATWG Encoding Standard's
// tables): $PAGEWICK_CONFORMANCE when set, else a folder shared/conformance beside the source tree
// or beside any folder above it. Empty when there is none, as in a user's clone: the tests that
// read it then skip, saying so. The source tree is given by PAGEWICK_SOURCE_DIR, a compile
// definition of the test.
inline QString ConformanceDir() {
    const QString fromEnvironment = qEnvironmentVariable("PAGEWICK_CONFORMANCE");
    if (!fromEnvironment.isEmpty())
        return QFileInfo(fromEnvironment).isDir() ? fromEnvironment : QString();
#ifdef PAGEWICK_SOURCE_DIR
    QDir dir(QStringLiteral(PAGEWICK_SOURCE_DIR));
    do {
        const QString candidate = dir.filePath(QStringLiteral("../shared/conformance"));
        if (QFileInfo(candidate).isDir())
            return QDir::cleanPath(candidate);
    } while (dir.cdUp());
#endif
    return {};
}
