#pragma once

#include <QWidget>

namespace pagewick {

// "Pagewick Browser": the index rendered as an HTML page.
class frmBrowser : public QWidget {
    Q_OBJECT
public:
    explicit frmBrowser(QWidget* parent = nullptr);

    // Shows the index; links are resolved against folderText. Brings the window forward.
    void showIndex(const QString& indexText, const QString& folderText);
};

} // namespace pagewick
