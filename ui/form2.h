#pragma once

#include "core/settings.h"
#include "storage/three_files.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace kobako::platform {
class Dialogs;
}

namespace kobako::ui {

class Form1;

// The settings window. Its controls show the settings record and every change made in them is
// in the record at once; OK checks the numbers, applies what changed to the history window and
// writes the settings file. Closing it through its frame applies nothing more.
class Form2 : public QDialog {
    Q_OBJECT
  public:
    Form2(Settings &settings, Form1 &form1, platform::Dialogs &dialogs, const FileNames &files);

    std::optional<WriteFailure> Form2Save();

    void Command1_Click();
    void Command3_Click();
    void Command4_Click();

  private:
    static int spinValue(const QScrollBar &spin, int position);
    void Form_Load();
    void buildControls();
    void connectControls();
    void showSettings();
    bool refuse(const QString &message, int box, const char *replacement = nullptr);

    Settings &settings_;
    Form1 &form1_;
    platform::Dialogs &dialogs_;
    const FileNames &files_;
    bool showing_ = false;
    QFont fontEffects_; // bold, italic and underline of the last font chosen

    QFrame *Frame1;
    QFrame *Frame2;
    QFrame *Frame3;
    QCheckBox *Check1;
    std::array<QLineEdit *, 2> Text1{};
    std::array<QRadioButton *, 2> Option1{};
    std::array<QRadioButton *, 7> Option3{};
    std::array<QLabel *, 5> Label1{};
    QPushButton *Command1;
    QPushButton *Command3;
    QPushButton *Command4;
    QScrollBar *VScroll1;
    QScrollBar *VScroll2;
};

} // namespace kobako::ui
