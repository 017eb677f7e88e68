#pragma once

#include "ui/previewwindow.h"

class QPlainTextEdit;

namespace pagewick {

// "Pagewick Scratchpad": generated code as editable plain text, for copying.
class frmTextpad : public PreviewWindow {
    Q_OBJECT
public:
    explicit frmTextpad(QWidget* parent = nullptr);

    // Replaces the scratchpad's text and brings the window forward.
    void showText(const QString& text);

private:
    QPlainTextEdit* txtDisplay;
};

} // namespace pagewick
