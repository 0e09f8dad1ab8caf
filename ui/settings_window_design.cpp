// The settings window's controls as designed: one row each, in tab order, with its place in
// twips, then the room the captions need with the fonts really installed.
#include "settings_window.h"

#include "core/settings.h"
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

#include <algorithm>
#include <map>

namespace kobako::ui {

namespace {

enum class Kind { Frame, Option, Check, Box, Button, Label, Spin };
enum class Face { Window, ProportionalGothic, Gothic9, Gothic11 };

struct DesignedControl {
    const char *name;
    Kind kind;
    const char *caption;
    const char *parent; // a frame, or null for the window itself
    float left, top, width, height;
    Face face;
    const char *buddy = nullptr; // the box a label names
};

// Creation order is tab order. The captions are translated where the window is made (the banner
// with the program's version in it). The frames come first so that their options can be placed
// in them; frames and labels take no focus, so this leaves the order of the design unchanged.
constexpr DesignedControl kDesign[] = {
    {"displayGroup", Kind::Frame, "", nullptr, 135, 1440, 3000, 1140, Face::Window},
    {"positionGroup", Kind::Frame, "", nullptr, 150, 2775, 3000, 2055, Face::Window},
    {"bannerFrame", Kind::Frame, "", nullptr, 870, -15, 4455, 1335, Face::Window},
    {"listOption", Kind::Option, QT_TRANSLATE_NOOP("kobako::ui::SettingsWindow", "リストボックス"),
     "displayGroup", 1305, 300, 1365, 270, Face::Window},
    {"slotsOption", Kind::Option,
     QT_TRANSLATE_NOOP("kobako::ui::SettingsWindow", "テキストボックス"), "displayGroup", 1305, 705,
     1575, 270, Face::Window},
    {"alwaysOnTopBox", Kind::Check,
     QT_TRANSLATE_NOOP("kobako::ui::SettingsWindow", "常に手前に表示する"), nullptr, 3645, 1800,
     2070, 300, Face::ProportionalGothic},
    {"startAtLoginBox", Kind::Check,
     QT_TRANSLATE_NOOP("kobako::ui::SettingsWindow", "ログイン時に起動"), nullptr, 3645, 1440, 2070,
     300, Face::ProportionalGothic},
    {"pasteAfterPickBox", Kind::Check,
     QT_TRANSLATE_NOOP("kobako::ui::SettingsWindow", "選んだら貼り付ける"), nullptr, 3645, 3165,
     2070, 300, Face::ProportionalGothic},
    {"listMaxBox", Kind::Box, "", nullptr, 5145, 2340, 600, 285, Face::ProportionalGothic},
    {"iconHeightBox", Kind::Box, "", nullptr, 5145, 2775, 600, 270, Face::ProportionalGothic},
    {"positionUnspecified", Kind::Option,
     QT_TRANSLATE_NOOP("kobako::ui::SettingsWindow", "指定しない"), "positionGroup", 1170, 300,
     1275, 270, Face::Window},
    {"positionTopRight", Kind::Option, QT_TRANSLATE_NOOP("kobako::ui::SettingsWindow", "右上"),
     "positionGroup", 1170, 720, 750, 270, Face::Window},
    {"positionMiddleRight", Kind::Option, QT_TRANSLATE_NOOP("kobako::ui::SettingsWindow", "右中"),
     "positionGroup", 1170, 1125, 750, 270, Face::Window},
    {"positionBottomRight", Kind::Option, QT_TRANSLATE_NOOP("kobako::ui::SettingsWindow", "右下"),
     "positionGroup", 1170, 1530, 750, 270, Face::Window},
    {"positionTopLeft", Kind::Option, QT_TRANSLATE_NOOP("kobako::ui::SettingsWindow", "左上"),
     "positionGroup", 2130, 735, 750, 270, Face::Window},
    {"positionMiddleLeft", Kind::Option, QT_TRANSLATE_NOOP("kobako::ui::SettingsWindow", "左中"),
     "positionGroup", 2130, 1125, 750, 270, Face::Window},
    {"positionBottomLeft", Kind::Option, QT_TRANSLATE_NOOP("kobako::ui::SettingsWindow", "左下"),
     "positionGroup", 2130, 1530, 750, 270, Face::Window},
    {"okButton", Kind::Button, QT_TRANSLATE_NOOP("kobako::ui::SettingsWindow", "ＯＫ"), nullptr,
     5085, 4275, 960, 450, Face::Gothic9},
    {"listMaxLabel", Kind::Label,
     QT_TRANSLATE_NOOP("kobako::ui::SettingsWindow", "リストの最大数 : "), nullptr, 3645, 2370,
     1395, 195, Face::ProportionalGothic, "listMaxBox"},
    {"iconHeightLabel", Kind::Label,
     QT_TRANSLATE_NOOP("kobako::ui::SettingsWindow", "アイコンの高さ : "), nullptr, 3645, 2820,
     1350, 195, Face::ProportionalGothic, "iconHeightBox"},
    {"displayLabel", Kind::Label, QT_TRANSLATE_NOOP("kobako::ui::SettingsWindow", "表示形式 : "),
     "displayGroup", 60, 300, 945, 195, Face::ProportionalGothic},
    {"positionLabel", Kind::Label, QT_TRANSLATE_NOOP("kobako::ui::SettingsWindow", "出現位置 : "),
     "positionGroup", 60, 300, 945, 195, Face::ProportionalGothic},
    {"banner", Kind::Label,
     QT_TRANSLATE_NOOP("kobako::ui::SettingsWindow",
                       "Kobako  Ver%1\nクリップボード履歴の小箱\nKobako の開発者一同"),
     "bannerFrame", 60, 135, 4350, 1155, Face::Gothic11},
    {"versionButton", Kind::Button,
     QT_TRANSLATE_NOOP("kobako::ui::SettingsWindow", "バージョン情報"), nullptr, 3390, 3570, 1440,
     450, Face::Window},
    {"callKeyBox", Kind::Box, "", nullptr, 4935, 3645, 1140, 285, Face::ProportionalGothic},
    {"fontButton", Kind::Button, QT_TRANSLATE_NOOP("kobako::ui::SettingsWindow", "フォント設定"),
     nullptr, 3405, 4275, 1425, 450, Face::Gothic9},
    {"listMaxSpin", Kind::Spin, "", nullptr, 5760, 2340, 315, 315, Face::Window},
    {"iconHeightSpin", Kind::Spin, "", nullptr, 5760, 2760, 315, 315, Face::Window},
};

QWidget *createControl(Kind kind, const QString &caption, QWidget *parent) {
    switch (kind) {
    case Kind::Frame: {
        auto *frame = new QFrame(parent);
        frame->setFrameShape(QFrame::StyledPanel);
        return frame;
    }
    case Kind::Option:
        return new QRadioButton(caption, parent);
    case Kind::Check:
        return new QCheckBox(caption, parent);
    case Kind::Box:
        return new QLineEdit(parent);
    case Kind::Button:
        return new QPushButton(caption, parent);
    case Kind::Label:
        return new QLabel(caption, parent);
    case Kind::Spin: {
        auto *spin = new QScrollBar(Qt::Vertical, parent);
        spin->setSingleStep(1);
        spin->setPageStep(1);
        spin->setFocusPolicy(Qt::StrongFocus); // reached by Tab, stepped by the arrow keys
        return spin;
    }
    }
    return nullptr;
}

QFont fontOf(Face face, const QFont &windowFont) {
    switch (face) {
    case Face::Window:
        return windowFont;
    case Face::ProportionalGothic:
        return platform::japaneseFont(QStringLiteral("ＭＳ Ｐゴシック"), 9.75);
    case Face::Gothic9:
        return platform::japaneseFont(QStringLiteral("ＭＳ ゴシック"), 9);
    case Face::Gothic11:
        return platform::japaneseFont(QStringLiteral("ＭＳ ゴシック"), 11.25);
    }
    return windowFont;
}

// Controls side by side stay apart: one that a grown neighbour on its left reaches is moved
// right, and so on along the row.
void keepRowsApart(QWidget &parent, int gap) {
    auto controls = parent.findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    std::sort(controls.begin(), controls.end(),
              [](const QWidget *a, const QWidget *b) { return a->x() < b->x(); });
    for (qsizetype i = 0; i < controls.size(); ++i)
        for (qsizetype j = i + 1; j < controls.size(); ++j) {
            const QRect left = controls[i]->geometry(), right = controls[j]->geometry();
            const bool sameRow = left.top() <= right.bottom() && right.top() <= left.bottom();
            if (sameRow && right.x() > left.x() && left.right() + gap > right.x())
                controls[j]->move(left.right() + gap, right.y());
        }
}

// A frame grows around its options.
void growAround(QFrame &frame, int gap) {
    QRect needed = frame.contentsRect();
    for (const QWidget *child : frame.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        needed |= child->geometry().adjusted(0, 0, gap / 2, gap / 2);
    const QMargins border = frame.contentsMargins();
    frame.resize(frame.size().expandedTo(
        {needed.right() + 1 + border.right(), needed.bottom() + 1 + border.bottom()}));
}

// Controls designed one above the other (the same left) stay in one column when a row was
// pushed right: each moves to the right-most place any of them took. True when one moved.
bool keepColumns(QWidget &window) {
    std::map<float, QList<QWidget *>> columns;
    for (const DesignedControl &row : kDesign)
        if (!row.parent)
            columns[row.left] << window.findChild<QWidget *>(QString::fromUtf8(row.name));
    bool moved = false;
    for (const auto &[left, controls] : columns) {
        int x = 0;
        for (const QWidget *control : controls)
            x = std::max(x, control->x());
        for (QWidget *control : controls) {
            moved = moved || control->x() != x;
            control->move(x, control->y());
        }
    }
    return moved;
}

// The fallback Japanese fonts run wider than the designed ones, and English captions are longer
// still. A caption grows to what it needs; a label that then reaches its box moves left, clear of
// it; neighbours move apart; frames, and then the window, grow around what they hold. Nothing is
// cut and nothing covers anything.
void makeRoomForCaptions(QWidget &window) {
    const int gap = platform::toPixels(60);
    for (const DesignedControl &row : kDesign) {
        auto *control = window.findChild<QWidget *>(QString::fromUtf8(row.name));
        if (row.kind == Kind::Option || row.kind == Kind::Check || row.kind == Kind::Label)
            control->resize(control->size().expandedTo(control->sizeHint()));
        if (row.buddy) {
            const QWidget *box = window.findChild<QWidget *>(QString::fromUtf8(row.buddy));
            const int overlap = control->geometry().right() + gap - box->x();
            if (overlap > 0)
                control->move(control->x() - overlap, control->y());
        }
    }
    for (auto *frame : window.findChildren<QFrame *>(Qt::FindDirectChildrenOnly)) {
        if (qobject_cast<QLabel *>(frame))
            continue;
        keepRowsApart(*frame, gap);
        growAround(*frame, gap);
    }
    // Both move controls rightwards only; the design settles in two passes.
    for (size_t pass = 0; pass < std::size(kDesign); ++pass) {
        keepRowsApart(window, gap);
        if (!keepColumns(window))
            break;
    }
    const QRect used = window.childrenRect();
    window.setFixedSize(
        window.size().expandedTo({used.right() + 1 + gap, used.bottom() + 1 + gap}));
}

} // namespace

void SettingsWindow::buildControls() {
    for (const DesignedControl &row : kDesign) {
        QWidget *parent = row.parent ? findChild<QWidget *>(QString::fromUtf8(row.parent))
                                     : static_cast<QWidget *>(this);
        QWidget *control = createControl(row.kind, tr(row.caption), parent);
        control->setObjectName(QString::fromUtf8(row.name));
        control->setFont(fontOf(row.face, font()));
        placeInTwips(control, row.left, row.top, row.width, row.height);
        if (row.buddy)
            static_cast<QLabel *>(control)->setBuddy(
                findChild<QWidget *>(QString::fromUtf8(row.buddy)));
    }
    auto control = [this]<typename T>(T *&member, const char *name) {
        member = findChild<T *>(QString::fromUtf8(name));
    };
    control(alwaysOnTopBox_, "alwaysOnTopBox");
    control(startAtLoginBox_, "startAtLoginBox");
    control(pasteAfterPickBox_, "pasteAfterPickBox");
    control(listMaxBox_, "listMaxBox");
    control(iconHeightBox_, "iconHeightBox");
    control(banner_, "banner");
    control(okButton_, "okButton");
    control(versionButton_, "versionButton");
    control(callKeyBox_, "callKeyBox");
    control(fontButton_, "fontButton");
    control(listMaxSpin_, "listMaxSpin");
    control(iconHeightSpin_, "iconHeightSpin");
    control(displayOptions_[0], "listOption");
    control(displayOptions_[1], "slotsOption");
    const char *positions[] = {"positionTopRight",   "positionMiddleRight", "positionBottomRight",
                               "positionTopLeft",    "positionMiddleLeft",  "positionBottomLeft",
                               "positionUnspecified"};
    for (size_t i = 0; i < positionOptions_.size(); ++i)
        control(positionOptions_[i], positions[i]);

    banner_->setText(banner_->text().arg(QStringLiteral(KOBAKO_SHOWN_VERSION)));
    banner_->setAlignment(Qt::AlignCenter);
    banner_->setAutoFillBackground(true);
    banner_->setStyleSheet(QStringLiteral("color: white; background: #1f3fa0;"));
    listMaxSpin_->setRange(Settings::kListSpinMin, Settings::kListSpinMax);
    iconHeightSpin_->setRange(Settings::kIconSpinMin, Settings::kIconSpinMax);
    makeRoomForCaptions(*this);
}

} // namespace kobako::ui
