#include "form2.h"

#include "core/numbers.h"
#include "form1.h"
#include "form4.h"
#include "platform/dialogs.h"
#include "platform/fonts.h"
#include "twips_geometry.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

namespace kobako::ui {

namespace {

const QString kNotANumber = QStringLiteral("数値を入力してください。");
const QString kAtMostTenBoxes = QStringLiteral("テキストボックスは最大１０個です");

QFont gothic(double points) {
    return platform::japaneseFont(QStringLiteral("ＭＳ ゴシック"), points);
}
QFont proportionalGothic() {
    return platform::japaneseFont(QStringLiteral("ＭＳ Ｐゴシック"), 9.75);
}

} // namespace

Form2::Form2(Settings &settings, Form1 &form1, platform::Dialogs &dialogs, const FileNames &files)
    : QDialog(&form1), settings_(settings), form1_(form1), dialogs_(dialogs), files_(files) {
    setWindowTitle(QStringLiteral("設定"));
    setFont(platform::japaneseFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    setFixedSize(platform::toPixels(6210), platform::toPixels(4950));
    setModal(true);
    buildControls();
    showSettings();
    connectControls();
    Form_Load();
}

void Form2::buildControls() {
    auto frame = [this](float left, float top, float width, float height) {
        auto *box = new QFrame(this);
        box->setFrameShape(QFrame::StyledPanel);
        placeInTwips(box, left, top, width, height);
        return box;
    };
    auto label = [](QWidget *parent, const QString &text, const QFont &font, float left, float top,
                    float width, float height) {
        auto *caption = new QLabel(text, parent);
        caption->setFont(font);
        placeInTwips(caption, left, top, width, height);
        caption->resize(std::max(caption->width(), caption->sizeHint().width()),
                        std::max(caption->height(), caption->sizeHint().height()));
        return caption;
    };
    // Japanese fallback fonts run wider than the designed ones: a caption may grow to the right
    // where the window has room, so that it is never cut.
    auto option = [](QWidget *parent, const QString &text, float left, float top, float width) {
        auto *button = new QRadioButton(text, parent);
        placeInTwips(button, left, top, width, 270);
        button->resize(std::max(button->width(), button->sizeHint().width()), button->height());
        return button;
    };

    // Created in tab order.
    Frame1 = frame(135, 1440, 3000, 1140);
    Option1[0] = option(Frame1, QStringLiteral("リストボックス"), 1305, 300, 1365);
    Option1[1] = option(Frame1, QStringLiteral("テキストボックス"), 1305, 705, 1575);
    Check1 = new QCheckBox(QStringLiteral("常に手前に表示する"), this);
    Check1->setFont(proportionalGothic());
    placeInTwips(Check1, 3645, 1800, 2070, 300);
    Text1[0] = new QLineEdit(this);
    placeInTwips(Text1[0], 5145, 2340, 600, 285);
    Text1[1] = new QLineEdit(this);
    placeInTwips(Text1[1], 5145, 2775, 600, 270);
    Frame2 = frame(150, 2775, 3000, 2055);
    const float optionPlaces[7][3] = {{1170, 720, 750}, {1170, 1125, 750}, {1170, 1530, 750},
                                      {2130, 735, 750}, {2130, 1125, 750}, {2130, 1530, 750},
                                      {1170, 300, 1275}};
    const char *positionCaptions[7] = {"右上", "右中", "右下",      "左上",
                                       "左中", "左下", "指定しない"};
    for (int i : {6, 0, 1, 2, 3, 4, 5})
        Option3[i] = option(Frame2, QString::fromUtf8(positionCaptions[i]), optionPlaces[i][0],
                            optionPlaces[i][1], optionPlaces[i][2]);
    Command1 = new QPushButton(QStringLiteral("ＯＫ"), this);
    Command1->setFont(gothic(9));
    placeInTwips(Command1, 5085, 4275, 960, 450);
    Label1[0] = label(this, QStringLiteral("リストの最大数 : "), proportionalGothic(), 3645, 2370,
                      1395, 195);
    Label1[1] = label(this, QStringLiteral("アイコンの高さ : "), proportionalGothic(), 3645, 2820,
                      1350, 195);
    Label1[2] =
        label(Frame1, QStringLiteral("表示形式 : "), proportionalGothic(), 60, 300, 945, 195);
    Label1[3] =
        label(Frame2, QStringLiteral("出現位置 : "), proportionalGothic(), 60, 300, 945, 195);
    Frame3 = frame(870, -15, 4455, 1335);
    Label1[4] = label(Frame3,
                      QStringLiteral("Kobako  Ver1.3\nクリップボード履歴の小箱\n"
                                     "Kobako の開発者一同"),
                      gothic(11.25), 60, 135, 4350, 1155);
    Label1[4]->setAlignment(Qt::AlignCenter);
    Label1[4]->setAutoFillBackground(true);
    Label1[4]->setStyleSheet(QStringLiteral("color: white; background: #1f3fa0;"));
    Command3 = new QPushButton(QStringLiteral("バージョン情報"), this);
    placeInTwips(Command3, 3390, 3570, 1440, 450);
    Command4 = new QPushButton(QStringLiteral("フォント設定"), this);
    Command4->setFont(gothic(9));
    placeInTwips(Command4, 3405, 4275, 1425, 450);
    VScroll1 = new QScrollBar(Qt::Vertical, this);
    placeInTwips(VScroll1, 5760, 2340, 315, 315);
    VScroll2 = new QScrollBar(Qt::Vertical, this);
    placeInTwips(VScroll2, 5760, 2760, 315, 315);
    for (QScrollBar *spin : {VScroll1, VScroll2}) {
        spin->setSingleStep(1);
        spin->setPageStep(1);
    }
    VScroll1->setRange(Settings::kListSpinMin, Settings::kListSpinMax);
    VScroll2->setRange(Settings::kIconSpinMin, Settings::kIconSpinMax);
    for (QLineEdit *box : Text1) {
        box->setFont(proportionalGothic());
        box->raise(); // above a label that grew into it
    }

    Text1[0]->setObjectName(QStringLiteral("Text1_0"));
    Text1[1]->setObjectName(QStringLiteral("Text1_1"));
    Check1->setObjectName(QStringLiteral("Check1"));
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    VScroll2->setObjectName(QStringLiteral("VScroll2"));
    Command1->setObjectName(QStringLiteral("Command1"));
    for (int i = 0; i < 2; ++i)
        Option1[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
    for (int i = 0; i < 7; ++i)
        Option3[i]->setObjectName(QStringLiteral("Option3_%1").arg(i));
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
            if (on && !showing_)
                settings_.displayMode = static_cast<DisplayMode>(i);
        });
    for (int i = 0; i < 7; ++i)
        connect(Option3[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on && !showing_)
                settings_.appearPosition = static_cast<AppearPosition>(i);
        });
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
    return ui::Form2Save(files_, settings_);
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
        return (void)refuse(kNotANumber, 0);
    const auto iconHeight = parseNumber(settings_.iconHeightText());
    if (!iconHeight)
        return (void)refuse(kNotANumber, 1);
    // A list maximum below one would trim the whole history away.
    const auto listMaxValue = roundToInt16(*listMax);
    if (!listMaxValue || *listMaxValue < 1)
        return (void)refuse(
            QStringLiteral("リストの最大数は 1 から 32767 までの数値にしてください。"), 0);
    const auto iconHeightValue = roundToInt16(*iconHeight);
    if (!iconHeightValue || *iconHeightValue > Settings::kLargestIconHeight)
        return (void)refuse(QStringLiteral("アイコンの高さは %1 以下の数値にしてください。")
                                .arg(Settings::kLargestIconHeight),
                            1);
    if (*iconHeightValue < Settings::kSmallestIconHeight)
        return (void)refuse(QStringLiteral("18以下は、設定できません"), 1, "18");

    form1_.setCaptionButtonHeight(*iconHeightValue);

    const bool listMode = settings_.isListMode();
    if (listMode && !form1_.listShown()) {
        form1_.switchToList();
    } else if (!listMode && !form1_.slotsShown()) {
        form1_.hideList();
        QCoreApplication::processEvents();
        if (settings_.listMax() > Settings::kMaxSlots)
            return (void)refuse(kAtMostTenBoxes, 0, "10");
        form1_.showSlotsFromList();
    } else if (!listMode && settings_.listMax() > Settings::kMaxSlots) {
        return (void)refuse(kAtMostTenBoxes, 0, "10");
    }

    // The value checked above is the value used: 0.6 passed as 1 and must keep one entry.
    if (static_cast<size_t>(*listMaxValue) < form1_.history().list.size())
        form1_.trimList(static_cast<size_t>(*listMaxValue));

    form1_.Form_Resize();
    if (auto failure = Form2Save())
        dialogs_.message(QStringLiteral("ファイル「%1」を保存できませんでした。\n理由: %2\n"
                                        "設定はこのまま使われます。")
                             .arg(QString::fromStdString(failure->file),
                                  QString::fromLocal8Bit(failure->reason.c_str())));
    form1_.Form_Resize();
    accept();
}

void Form2::Command3_Click() {
    (new Form4(this))->exec();
}

void Form2::Command4_Click() {
    QFont initial = form1_.listFont();
    initial.setBold(fontEffects_.bold());
    initial.setItalic(fontEffects_.italic());
    initial.setUnderline(fontEffects_.underline());
    const auto chosen = dialogs_.chooseFont(initial);
    if (!chosen)
        return;
    fontEffects_ = *chosen;
    form1_.applyFont(*chosen);
}

} // namespace kobako::ui
