#include "form2.h"

#include "core/numbers.h"
#include "form1.h"
#include "form4.h"
#include "platform/dialogs.h"
#include "platform/fonts.h"
#include "twips_geometry.h"

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

Form2::Form2(Settings &settings, Form1 &form1, platform::Dialogs &dialogs, const FileNames &files)
    : QDialog(&form1), settings_(settings), form1_(form1), dialogs_(dialogs), files_(files) {
    setWindowTitle(tr("設定"));
    setFont(platform::japaneseFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    setFixedSize(platform::toPixels(6210), platform::toPixels(4950));
    setModal(true);
    buildControls();
    showSettings();
    connectControls();
    Form_Load();
}

// A vertical scroll bar lowers its position with its upper arrow (and the Up key); a spin
// control raises its value there. The value is the position mirrored within the range, and the
// same mirroring maps it back.
int Form2::spinValue(const QScrollBar &spin, int position) {
    return spin.minimum() + spin.maximum() - position;
}

void Form2::connectControls() {
    connect(Check1, &QCheckBox::stateChanged, this, [this](int state) {
        if (showing_)
            return;
        settings_.alwaysOnTop = state == Qt::Checked ? 1 : state == Qt::PartiallyChecked ? 2 : 0;
        Check1->setTristate(false); // the greyed state comes only from a file
    });
    connect(Text1[0], &QLineEdit::textEdited, this,
            [this](const QString &text) { settings_.setListMaxText(text.toStdString()); });
    connect(Text1[1], &QLineEdit::textEdited, this,
            [this](const QString &text) { settings_.setIconHeightText(text.toStdString()); });
    for (int i = 0; i < 2; ++i)
        connect(Option1[i], &QRadioButton::toggled, this, [this, i](bool on) {
            keepOneTabStop(Option1);
            if (on && !showing_)
                settings_.displayMode = static_cast<DisplayMode>(i);
        });
    for (int i = 0; i < 7; ++i)
        connect(Option3[i], &QRadioButton::toggled, this, [this, i](bool on) {
            keepOneTabStop(Option3);
            if (on && !showing_)
                settings_.appearPosition = static_cast<AppearPosition>(i);
        });
    keepOneTabStop(Option1);
    keepOneTabStop(Option3);
    connect(VScroll1, &QScrollBar::valueChanged, this, [this](int position) {
        if (showing_)
            return;
        settings_.setListSpin(spinValue(*VScroll1, position));
        showSettings();
    });
    connect(VScroll2, &QScrollBar::valueChanged, this, [this](int position) {
        if (showing_)
            return;
        settings_.setIconSpin(spinValue(*VScroll2, position));
        showSettings();
    });
    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    connect(Command3, &QPushButton::clicked, this, &Form2::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form2::Command4_Click);
}

void Form2::showSettings() {
    showing_ = true;
    Check1->setTristate(settings_.alwaysOnTop == 2);
    Check1->setCheckState(settings_.alwaysOnTop == 1   ? Qt::Checked
                          : settings_.alwaysOnTop == 2 ? Qt::PartiallyChecked
                                                       : Qt::Unchecked);
    const std::string *texts[] = {&settings_.listMaxText(), &settings_.iconHeightText()};
    for (int i = 0; i < 2; ++i)
        if (Text1[i]->text().toStdString() != *texts[i])
            Text1[i]->setText(QString::fromStdString(*texts[i]));
    Option1[static_cast<int>(settings_.displayMode)]->setChecked(true);
    Option3[static_cast<int>(settings_.appearPosition)]->setChecked(true);
    VScroll1->setValue(spinValue(*VScroll1, settings_.listSpin()));
    VScroll2->setValue(spinValue(*VScroll2, settings_.iconSpin()));
    showing_ = false;
}

void Form2::Form_Load() {
    centreOnScreen(*this);
}

std::optional<WriteFailure> Form2::Form2Save() {
    return kobako::Form2Save(files_, settings_);
}

// Shows why OK cannot go on and puts the focus back into the box concerned.
bool Form2::refuse(const QString &message, int box, const char *replacement) {
    dialogs_.message(message);
    if (replacement) {
        Text1[box]->setText(QString::fromUtf8(replacement));
        if (box == 0)
            settings_.setListMaxText(replacement);
        else
            settings_.setIconHeightText(replacement);
    }
    Text1[box]->setFocus();
    return false;
}

void Form2::Command1_Click() {
    form1_.setAlwaysOnTop(settings_.keepsInFront());

    const auto listMax = parseNumber(settings_.listMaxText());
    if (!listMax)
        return (void)refuse(tr("数値を入力してください。"), 0);
    const auto iconHeight = parseNumber(settings_.iconHeightText());
    if (!iconHeight)
        return (void)refuse(tr("数値を入力してください。"), 1);
    // A list maximum below one would trim the whole history away.
    const auto listMaxValue = roundToInt16(*listMax);
    if (!listMaxValue || *listMaxValue < 1)
        return (void)refuse(tr("リストの最大数は 1 から 32767 までの数値にしてください。"), 0);
    const auto iconHeightValue = roundToInt16(*iconHeight);
    if (!iconHeightValue || *iconHeightValue > Settings::kLargestIconHeight)
        return (void)refuse(
            tr("アイコンの高さは %1 以下の数値にしてください。").arg(Settings::kLargestIconHeight),
            1);
    if (*iconHeightValue < Settings::kSmallestIconHeight)
        return (void)refuse(tr("18以下は、設定できません"), 1, "18");

    form1_.setCaptionButtonHeight(*iconHeightValue);

    const bool listMode = settings_.isListMode();
    if (listMode && !form1_.listShown()) {
        form1_.switchToList();
    } else if (!listMode && !form1_.slotsShown()) {
        form1_.hideList();
        if (settings_.listMax() > Settings::kMaxSlots)
            return (void)refuse(tr("テキストボックスは最大１０個です"), 0, "10");
        form1_.showSlotsFromList();
    } else if (!listMode && settings_.listMax() > Settings::kMaxSlots) {
        return (void)refuse(tr("テキストボックスは最大１０個です"), 0, "10");
    }

    // The value checked above is the value used: 0.6 passed as 1 and must keep one entry.
    if (static_cast<size_t>(*listMaxValue) < form1_.history().list.size())
        form1_.trimList(static_cast<size_t>(*listMaxValue));

    form1_.Form_Resize();
    if (auto failure = Form2Save())
        dialogs_.message(tr("ファイル「%1」を保存できませんでした。\n理由: %2\n"
                            "設定はこのまま使われます。")
                             .arg(QString::fromStdString(failure->file),
                                  QString::fromLocal8Bit(failure->reason.c_str())));
    form1_.Form_Resize();
    accept();
}

void Form2::Command3_Click() {
    (new Form4(this))->open();
}

void Form2::Command4_Click() {
    QFont initial = form1_.listFont();
    initial.setBold(fontEffects_.bold());
    initial.setItalic(fontEffects_.italic());
    initial.setUnderline(fontEffects_.underline());
    dialogs_.chooseFont(initial, [this](const QFont &chosen) {
        fontEffects_ = chosen;
        form1_.applyFont(chosen);
    });
}

} // namespace kobako::ui
