#include "ui/frmTextpad.h"

#include "ui/frmBrowser.h"
#include "ui/twips.h"

#include <QFontDatabase>
#include <QPlainTextEdit>

namespace pagewick {

frmTextpad::frmTextpad(QWidget* parent) : QWidget(parent, Qt::Window), txtDisplay(new QPlainTextEdit(this)) {
    setWindowTitle(QStringLiteral("Pagewick Scratchpad"));
    resize(TwipsToPixels(4680, logicalDpiX()), TwipsToPixels(3195, logicalDpiY()));

    txtDisplay->setObjectName(QStringLiteral("txtDisplay"));
    // Markup and feed code read best, and line up, in a fixed-width font; long lines wrap so the
    // box needs no horizontal scrolling.
    txtDisplay->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    txtDisplay->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    fitDisplay();
}

void frmTextpad::showText(const QString& text) {
    txtDisplay->setPlainText(text);
    show();
    raise();
    activateWindow();
}

void frmTextpad::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitDisplay();
}

// The frame is known only once the window is on screen, and a window manager may add it later
// still: it then moves the client area, without resizing it.
void frmTextpad::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    fitDisplay();
}

void frmTextpad::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    fitDisplay();
}

void frmTextpad::fitDisplay() {
    const QSize margins(TwipsToPixels(70, logicalDpiX()), TwipsToPixels(350, logicalDpiY()));
    if (const auto size = PreviewControlSize(frameGeometry().size(), this->size(), margins))
        txtDisplay->setGeometry(0, 0, size->width(), size->height());
}

} // namespace pagewick
