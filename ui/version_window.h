#pragma once

#include <QDialog>

namespace kobako::ui {

// The version window: the program's name and version, and where to reach its authors. A new
// one is made for each showing and placed in the middle of the screen.
class VersionWindow : public QDialog {
    Q_OBJECT
  public:
    explicit VersionWindow(QWidget *parent);
};

} // namespace kobako::ui
