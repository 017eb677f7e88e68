#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace pagewick {

// "Pagewick Scratchpad": generated code as editable plain text, for copying.
class frmTextpad : public QWidget {
    Q_OBJECT
public:
    explicit frmTextpad(QWidget* parent = nullptr);

    // Replaces the scratchpad's text and brings the window forward.
    void showText(const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void fitDisplay();

    QPlainTextEdit* txtDisplay;
};

} // namespace pagewick
