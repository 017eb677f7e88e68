#pragma once

#include <QWidget>

namespace pagewick {

class frmMain : public QWidget {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
};

} // namespace pagewick
