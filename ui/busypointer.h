#pragma once

#include <QApplication>
#include <QWidget>

namespace pagewick {

// The busy pointer for as long as a build runs, restored however the build ends.
class BusyPointer {
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

// The busy pointer over one window only: a command shows it from the press on, while its prompts,
// windows of their own, keep the ordinary pointer as they wait for the user.
class WindowBusyPointer {
public:
    explicit WindowBusyPointer(QWidget* window) : window(window) { window->setCursor(Qt::WaitCursor); }
    ~WindowBusyPointer() { window->unsetCursor(); }
    WindowBusyPointer(const WindowBusyPointer&) = delete;
    WindowBusyPointer& operator=(const WindowBusyPointer&) = delete;

private:
    QWidget* window;
};

} // namespace pagewick
