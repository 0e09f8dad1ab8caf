#pragma once

#include <QDialog>

namespace kobako::ui {

// The version window: the program's name and version, and where to reach its authors. A new
// one is made for each showing and placed in the middle of the screen.
class Form4 : public QDialog {
    Q_OBJECT
  public:
    explicit Form4(QWidget *parent);

  private:
    void Form_Load();
};

} // namespace kobako::ui
