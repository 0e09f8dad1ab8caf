#include "settings_window.h"

#include "platform/autostart.h"
#include "platform/centring.h"
#include "platform/dialogs.h"
#include "platform/fonts.h"
#include "platform/paste_after_pick.h"
#include "platform/twips.h"
#include "settings_target.h"
#include "version_window.h"
#include "write_failure_text.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

namespace kobako::ui {

namespace {

// A group of options is one stop for Tab, on its selected option; the arrow keys move within
// it. Qt does the same itself only once an arrow key has been used.
template <size_t N> void keepOneTabStop(const std::array<QRadioButton *, N> &group) {
    for (QRadioButton *option : group)
        option->setFocusPolicy(option->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

} // namespace

SettingsWindow::SettingsWindow(Settings &settings, SettingsTarget &target,
                               platform::Dialogs &dialogs, const storage::FileNames &files,
                               QWidget *parent)
    : QDialog(parent), settings_(settings), target_(target), dialogs_(dialogs), file_(files) {
    setWindowTitle(tr("設定"));
    setFont(platform::japaneseFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    setFixedSize(platform::toPixels(6210), platform::toPixels(4950));
    setModal(true);
    buildControls();
    explainPasteBlocker();
    showSettings();
    connectControls();
    platform::centreOnScreen(*this);
}

// A vertical scroll bar lowers its position with its upper arrow (and the Up key); a spin
// control raises its value there. The value is the position mirrored within the range, and the
// same mirroring maps it back.
int SettingsWindow::spinValue(const QScrollBar &spin, int position) {
    return spin.minimum() + spin.maximum() - position;
}

void SettingsWindow::connectControls() {
    connect(alwaysOnTopBox_, &QCheckBox::stateChanged, this, [this](int state) {
        if (showing_)
            return;
        settings_.alwaysOnTop = state == Qt::Checked            ? CheckState::Checked
                                : state == Qt::PartiallyChecked ? CheckState::Greyed
                                                                : CheckState::Unchecked;
        alwaysOnTopBox_->setTristate(false); // the greyed state comes only from a file
    });
    connect(listMaxBox_, &QLineEdit::textEdited, this,
            [this](const QString &text) { settings_.setListMaxText(text.toStdString()); });
    connect(iconHeightBox_, &QLineEdit::textEdited, this,
            [this](const QString &text) { settings_.setIconHeightText(text.toStdString()); });
    for (size_t i = 0; i < displayOptions_.size(); ++i)
        connect(displayOptions_[i], &QRadioButton::toggled, this, [this, i](bool on) {
            keepOneTabStop(displayOptions_);
            if (on && !showing_)
                settings_.displayMode = static_cast<DisplayMode>(i);
        });
    for (size_t i = 0; i < positionOptions_.size(); ++i)
        connect(positionOptions_[i], &QRadioButton::toggled, this, [this, i](bool on) {
            keepOneTabStop(positionOptions_);
            if (on && !showing_)
                settings_.appearPosition = static_cast<AppearPosition>(i);
        });
    keepOneTabStop(displayOptions_);
    keepOneTabStop(positionOptions_);
    connect(listMaxSpin_, &QScrollBar::valueChanged, this, [this](int position) {
        if (showing_)
            return;
        settings_.setListSpin(spinValue(*listMaxSpin_, position));
        showSettings();
    });
    connect(iconHeightSpin_, &QScrollBar::valueChanged, this, [this](int position) {
        if (showing_)
            return;
        settings_.setIconSpin(spinValue(*iconHeightSpin_, position));
        showSettings();
    });
    callKeyBox_->setAccessibleName(tr("呼び出しキー"));
    callKeyBox_->setPlaceholderText(tr("キーなし"));
    connect(okButton_, &QPushButton::clicked, this, &SettingsWindow::onOk);
    connect(versionButton_, &QPushButton::clicked, this, &SettingsWindow::showVersion);
    connect(fontButton_, &QPushButton::clicked, this, &SettingsWindow::chooseFont);
}

void SettingsWindow::showSettings() {
    showing_ = true;
    alwaysOnTopBox_->setTristate(settings_.alwaysOnTop == CheckState::Greyed);
    alwaysOnTopBox_->setCheckState(settings_.alwaysOnTop == CheckState::Greyed
                                       ? Qt::PartiallyChecked
                                   : settings_.keepsInFront() ? Qt::Checked
                                                              : Qt::Unchecked);
    for (auto [box, text] : {std::pair{listMaxBox_, &settings_.listMaxText()},
                             std::pair{iconHeightBox_, &settings_.iconHeightText()}})
        if (box->text().toStdString() != *text)
            box->setText(QString::fromStdString(*text));
    displayOptions_[static_cast<size_t>(settings_.displayMode)]->setChecked(true);
    positionOptions_[static_cast<size_t>(settings_.appearPosition)]->setChecked(true);
    listMaxSpin_->setValue(spinValue(*listMaxSpin_, settings_.listSpin()));
    iconHeightSpin_->setValue(spinValue(*iconHeightSpin_, settings_.iconSpin()));
    showing_ = false;
}

// Shows why OK cannot go on and puts the focus back into the box concerned, with a value that
// would pass where there is one.
void SettingsWindow::refuse(const SettingsRefusal &refusal) {
    const QString why[] = {
        tr("数値を入力してください。"),
        tr("リストの最大数は 1 から 32767 までの数値にしてください。"),
        tr("アイコンの高さは %1 以下の数値にしてください。").arg(Settings::kLargestIconHeight),
        tr("18以下は、設定できません"),
        tr("テキストボックスは最大１０個です"),
    };
    dialogs_.message(why[static_cast<size_t>(refusal.problem)]);
    const bool listMax = refusal.box == SettingsBox::ListMax;
    QLineEdit *box = listMax ? listMaxBox_ : iconHeightBox_;
    if (refusal.replacement) {
        box->setText(QString::fromUtf8(refusal.replacement));
        if (listMax)
            settings_.setListMaxText(refusal.replacement);
        else
            settings_.setIconHeightText(refusal.replacement);
    }
    box->setFocus();
}

void SettingsWindow::onOk() {
    target_.keepInFront(settings_.keepsInFront());
    const CheckedNumbers numbers = checkNumbers(settings_);
    if (numbers.refusal)
        return refuse(*numbers.refusal);
    if (const auto refusal = target_.applySettings(numbers))
        return refuse(*refusal);
    if (pasteAfterPickBox_->isEnabled()) // else kept for the desktop where it works
        settings_.pasteAfterPick = pasteAfterPickBox_->isChecked();
    if (settings_.pasteAfterPick)
        platform::prepareToPaste();
    applyCallKey();
    if (const storage::WriteResult saved = file_.save(settings_); !saved.written())
        dialogs_.message(withFailure(tr("ファイル「%1」を保存できませんでした。\n理由: %2\n"
                                        "設定はこのまま使われます。"),
                                     saved.failure()));
    applyStartAtLogin();
    target_.fitDisplayToWindow();
    accept();
}

void SettingsWindow::showEvent(QShowEvent *event) {
    startAtLoginBox_->setChecked(platform::startsAtLogin()); // the user may have changed it
    pasteAfterPickBox_->setChecked(settings_.pasteAfterPick);
    callKeyBox_->setText(QString::fromStdString(settings_.callKey()));
    explainCallKey();
    QDialog::showEvent(event);
}

// A key changed is taken at once; one that cannot be is said, and kept in the file for the
// desktop where it can.
void SettingsWindow::applyCallKey() {
    const std::string keys = callKeyBox_->text().trimmed().toStdString();
    if (!callKeyBox_->isModified() || keys == settings_.callKey())
        return;
    settings_.setCallKey(keys);
    target_.takeCallKey();
    explainCallKey();
    if (const auto refusal = target_.callKeyRefusal())
        dialogs_.message(*refusal);
}

void SettingsWindow::explainCallKey() {
    const auto refusal = target_.callKeyRefusal();
    callKeyBox_->setToolTip(refusal ? *refusal
                                    : tr("呼び出しキー: どこからでも Kobako を呼び出すキー"
                                         "（Ctrl+Alt+H など）。空にすると使いません。"));
}

void SettingsWindow::applyStartAtLogin() {
    const bool on = startAtLoginBox_->isChecked();
    if (on == platform::startsAtLogin())
        return;
    if (const storage::WriteResult written = platform::setStartAtLogin(on); !written.written())
        dialogs_.message(withFailure(tr("「%1」に書き込めませんでした。\n理由: %2\n"
                                        "ログイン時の起動は変わっていません。"),
                                     written.failure()));
}

// Where the paste cannot work the box says why instead of offering it.
void SettingsWindow::explainPasteBlocker() {
    const auto blocker = platform::pasteBlocker();
    if (!blocker)
        return;
    pasteAfterPickBox_->setEnabled(false);
    pasteAfterPickBox_->setToolTip(
        *blocker == platform::PasteBlocker::Wayland
            ? tr("この Wayland のコンポジターはプログラムにキーを打たせないため、"
                 "ほかのプログラムに貼り付けられません。テキストはクリップボードに入ります。")
            : tr("X サーバーに XTEST 拡張がないため、貼り付けられません。"
                 "テキストはクリップボードに入ります。"));
}

void SettingsWindow::showVersion() {
    (new VersionWindow(this))->open();
}

void SettingsWindow::chooseFont() {
    QFont initial = target_.listFont();
    initial.setBold(fontEffects_.bold());
    initial.setItalic(fontEffects_.italic());
    initial.setUnderline(fontEffects_.underline());
    dialogs_.chooseFont(initial, [this](const QFont &chosen) {
        fontEffects_ = chosen;
        target_.applyFont(chosen);
    });
}

} // namespace kobako::ui
