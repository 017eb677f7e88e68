// Replays the fuzz targets' seed inputs and every input a fuzz run found a fault with through the
// same checks, so that a fault once found stays fixed in every build, not only in fuzzing builds.

#include "fuzz/checks.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

using Check = QString (*)(QByteArrayView);
Q_DECLARE_METATYPE(Check)

namespace {

struct Target {
    const char* name;
    Check check;
};

const Target Targets[] = {
    {"title", pagewick::fuzz::CheckPageTitle},
    {"flatten", pagewick::fuzz::CheckFlatten},
    {"feed", pagewick::fuzz::CheckFeed},
    {"template", pagewick::fuzz::CheckPageTemplate},
};

QStringList InputsOf(const QString& kind, const char* target) {
    const QDir dir(QStringLiteral(PAGEWICK_FUZZ_DIR "/%1/%2").arg(kind, QLatin1String(target)));
    QStringList paths;
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
        paths.append(dir.filePath(name));
    return paths;
}

} // namespace

class FuzzInputsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyTargetHasSeeds() {
        for (const Target& target : Targets)
            QVERIFY2(!InputsOf(u"corpus"_s, target.name).isEmpty(), target.name);
    }

    void inputPassesItsCheck_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<Check>("check");
        for (const QString& kind : {u"corpus"_s, u"regressions"_s}) {
            for (const Target& target : Targets) {
                for (const QString& path : InputsOf(kind, target.name))
                    QTest::newRow(qPrintable(kind + u'/' + QLatin1String(target.name) + u'/' +
                                             QFileInfo(path).fileName()))
                        << path << target.check;
            }
        }
    }

    void inputPassesItsCheck() {
        QFETCH(QString, path);
        QFETCH(Check, check);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString problem = check(file.readAll());
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
};

QTEST_GUILESS_MAIN(FuzzInputsTest)
#include "tst_fuzzinputs.moc"
