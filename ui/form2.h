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

    void Command1_Click(); // OK: check, apply, save
    void Command3_Click(); // the version window
    void Command4_Click(); // the font dialog

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

    QFrame *Frame1;                          // around the display options
    QFrame *Frame2;                          // around the position options
    QFrame *Frame3;                          // around the banner
    QCheckBox *Check1;                       // always in front
    std::array<QLineEdit *, 2> Text1{};      // list maximum, icon height
    std::array<QRadioButton *, 2> Option1{}; // display: list, text slots
    std::array<QRadioButton *, 7> Option3{}; // position: by AppearPosition
    std::array<QLabel *, 5> Label1{};        // the two boxes', the two groups', the banner
    QPushButton *Command1;                   // OK
    QPushButton *Command3;                   // version
    QPushButton *Command4;                   // font
    QScrollBar *VScroll1;                    // spin of the list maximum
    QScrollBar *VScroll2;                    // spin of the icon height
};

} // namespace kobako::ui
