#pragma once

#include <QWidget>

namespace pagewick {

// "Pagewick Scratchpad": generated code as editable plain text, for copying.
class frmTextpad : public QWidget {
    Q_OBJECT
public:
    explicit frmTextpad(QWidget* parent = nullptr);

    // Replaces the scratchpad's text and brings the window forward.
    void showText(const QString& text);
};

} // namespace pagewick
