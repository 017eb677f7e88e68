#pragma once

#include <QSize>
#include <QString>
#include <QWidget>
#include <optional>

namespace pagewick {

// The size a preview's one control takes in a window of the given outer size (caption and frame
// included) and client size: the outer size less the margins, never past the client area.
// nullopt when the window is smaller than its margins, so the control keeps its size.
std::optional<QSize> PreviewControlSize(QSize outerSize, QSize clientSize, QSize margins);

// A window that shows one control, anchored at its top-left corner and kept fitted to the window
// (PreviewControlSize, with margins in twips) whenever the window is resized or shown. Escape and
// Ctrl+W close it, as they close a desktop's viewer windows.
class PreviewWindow : public QWidget {
    Q_OBJECT
protected:
    // name is the window's objectName: its class name.
    PreviewWindow(const char* name, const QString& caption, QSize marginsInTwips, QWidget* parent);

    // The control to keep fitted; a child of this window.
    void setControl(QWidget* control);

    // Shows the window, in front, with the focus.
    void bringForward();

    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fitControl();

    QWidget* control = nullptr;
    QSize marginsInTwips;
};

} // namespace pagewick
