#pragma once

#include "core/settings.h"
#include "core/settings_checks.h"
#include "storage/settings_file.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace kobako::platform {
class Dialogs;
}

namespace kobako::ui {

class SettingsTarget;

// The settings window. Its controls show the settings record and every change made in them is
// in the record at once; OK checks the numbers, applies what changed to the history window and
// writes the settings file. Closing it through its frame applies nothing more.
class SettingsWindow : public QDialog {
    Q_OBJECT
  public:
    SettingsWindow(Settings &settings, SettingsTarget &target, platform::Dialogs &dialogs,
                   const storage::FileNames &files, QWidget *parent);

    void onOk(); // check, apply, save
    void showVersion();
    void chooseFont();

  protected:
    void showEvent(QShowEvent *event) override;

  private:
    static int spinValue(const QScrollBar &spin, int position);
    void buildControls();
    void connectControls();
    void showSettings();
    void refuse(const SettingsRefusal &refusal);
    void applyStartAtLogin();
    void explainPasteBlocker();
    void applyCallKey();
    void explainCallKey();

    Settings &settings_;
    SettingsTarget &target_;
    platform::Dialogs &dialogs_;
    storage::SettingsFile file_;
    bool showing_ = false;
    QFont fontEffects_; // bold, italic and underline of the last font chosen

    QCheckBox *alwaysOnTopBox_;
    QCheckBox *startAtLoginBox_; // the system's record, not a setting
    QCheckBox *pasteAfterPickBox_;
    QLineEdit *listMaxBox_;
    QLineEdit *iconHeightBox_;
    QLineEdit *callKeyBox_;
    std::array<QRadioButton *, 2> displayOptions_{};  // by DisplayMode
    std::array<QRadioButton *, 7> positionOptions_{}; // by AppearPosition
    QLabel *banner_;
    QPushButton *okButton_;
    QPushButton *versionButton_;
    QPushButton *fontButton_;
    QScrollBar *listMaxSpin_;
    QScrollBar *iconHeightSpin_;
};

} // namespace kobako::ui
