#include "ui/previewwindow.h"

#include "ui/twips.h"

#include <QKeyEvent>

namespace pagewick {

std::optional<QSize> PreviewControlSize(QSize outerSize, QSize clientSize, QSize margins) {
    const QSize size = outerSize - margins;
    if (size.width() < 0 || size.height() < 0)
        return std::nullopt;
    return size.boundedTo(clientSize);
}

PreviewWindow::PreviewWindow(const char* name, const QString& caption, QSize marginsInTwips, QWidget* parent)
    : QWidget(parent, Qt::Window), marginsInTwips(marginsInTwips) {
    setObjectName(QLatin1String(name));
    setWindowTitle(caption);
    ResizeInTwips(this, 4680, 3195);
}

void PreviewWindow::setControl(QWidget* fitted) {
    control = fitted;
    fitControl();
}

void PreviewWindow::bringForward() {
    show();
    raise();
    activateWindow();
}

void PreviewWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitControl();
}

// The frame is known only once the window is on screen, and a window manager may add it later
// still: it then moves the client area, without resizing it.
void PreviewWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    fitControl();
}

void PreviewWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    fitControl();
}

// Keys the control leaves alone reach the window.
void PreviewWindow::keyPressEvent(QKeyEvent* event) {
    // Ctrl+W also where the platform's key for closing a window is another.
    const bool ctrlW = event->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_W);
    if (event->matches(QKeySequence::Cancel) || event->matches(QKeySequence::Close) || ctrlW) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PreviewWindow::fitControl() {
    if (!control)
        return;
    const QSize margins(TwipsToPixels(marginsInTwips.width(), logicalDpiX()),
                        TwipsToPixels(marginsInTwips.height(), logicalDpiY()));
    if (const auto size = PreviewControlSize(frameGeometry().size(), this->size(), margins))
        control->setGeometry(0, 0, size->width(), size->height());
}

} // namespace pagewick
