#include "ui/about.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace pagewick {

QString AboutText() {
    // The Qt the program runs on can be newer than the one it was built with; both are worth
    // knowing in a report of a fault.
    const QString runtimeQt = QString::fromLatin1(qVersion());
    const QString builtQt = QStringLiteral(QT_VERSION_STR);
    const QString qt =
        runtimeQt == builtQt
            ? runtimeQt
            : QCoreApplication::translate("pagewick::AboutBox", "%1 (built with %2)").arg(runtimeQt, builtQt);
    return QCoreApplication::translate(
               "pagewick::AboutBox",
               "<h3>Pagewick %1</h3>"
               "<p>Builds an HTML index, RSS and Atom feeds and a sitemap from a folder of web "
               "pages.</p>"
               "<p>Licence: proprietary, all rights reserved.</p>"
               "<p>Built with:</p><ul>"
               "<li>Qt %2, under the GNU LGPL version 3</li>"
               "<li>uchardet %3, under the MPL 1.1, GNU GPL 2 or GNU LGPL 2.1</li>"
               "</ul>")
        .arg(QStringLiteral(PAGEWICK_VERSION), qt, QStringLiteral(PAGEWICK_UCHARDET_VERSION));
}

void ShowAboutBox(QWidget* parent, const QIcon& icon) {
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::translate("pagewick::AboutBox", "About Pagewick"),
                    AboutText(), QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("frmAbout"));
    box.setTextFormat(Qt::RichText);
    box.setIconPixmap(icon.pixmap(64));
    box.exec();
}

} // namespace pagewick
