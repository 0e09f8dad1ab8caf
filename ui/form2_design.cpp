// The settings window's controls as designed: one row each, in tab order, with its place in
// twips, then the room the captions need with the fonts really installed.
#include "form2.h"

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

// Creation order is tab order. The captions are translated where the window is made. The frames
// come first so that their options can be placed in them; frames and labels take no focus, so this
// leaves the order of the design unchanged.
constexpr DesignedControl kDesign[] = {
    {"Frame1", Kind::Frame, "", nullptr, 135, 1440, 3000, 1140, Face::Window},
    {"Frame2", Kind::Frame, "", nullptr, 150, 2775, 3000, 2055, Face::Window},
    {"Frame3", Kind::Frame, "", nullptr, 870, -15, 4455, 1335, Face::Window},
    {"Option1_0", Kind::Option, QT_TRANSLATE_NOOP("kobako::ui::Form2", "リストボックス"), "Frame1",
     1305, 300, 1365, 270, Face::Window},
    {"Option1_1", Kind::Option, QT_TRANSLATE_NOOP("kobako::ui::Form2", "テキストボックス"),
     "Frame1", 1305, 705, 1575, 270, Face::Window},
    {"Check1", Kind::Check, QT_TRANSLATE_NOOP("kobako::ui::Form2", "常に手前に表示する"), nullptr,
     3645, 1800, 2070, 300, Face::ProportionalGothic},
    {"Text1_0", Kind::Box, "", nullptr, 5145, 2340, 600, 285, Face::ProportionalGothic},
    {"Text1_1", Kind::Box, "", nullptr, 5145, 2775, 600, 270, Face::ProportionalGothic},
    {"Option3_6", Kind::Option, QT_TRANSLATE_NOOP("kobako::ui::Form2", "指定しない"), "Frame2",
     1170, 300, 1275, 270, Face::Window},
    {"Option3_0", Kind::Option, QT_TRANSLATE_NOOP("kobako::ui::Form2", "右上"), "Frame2", 1170, 720,
     750, 270, Face::Window},
    {"Option3_1", Kind::Option, QT_TRANSLATE_NOOP("kobako::ui::Form2", "右中"), "Frame2", 1170,
     1125, 750, 270, Face::Window},
    {"Option3_2", Kind::Option, QT_TRANSLATE_NOOP("kobako::ui::Form2", "右下"), "Frame2", 1170,
     1530, 750, 270, Face::Window},
    {"Option3_3", Kind::Option, QT_TRANSLATE_NOOP("kobako::ui::Form2", "左上"), "Frame2", 2130, 735,
     750, 270, Face::Window},
    {"Option3_4", Kind::Option, QT_TRANSLATE_NOOP("kobako::ui::Form2", "左中"), "Frame2", 2130,
     1125, 750, 270, Face::Window},
    {"Option3_5", Kind::Option, QT_TRANSLATE_NOOP("kobako::ui::Form2", "左下"), "Frame2", 2130,
     1530, 750, 270, Face::Window},
    {"Command1", Kind::Button, QT_TRANSLATE_NOOP("kobako::ui::Form2", "ＯＫ"), nullptr, 5085, 4275,
     960, 450, Face::Gothic9},
    {"Label1_0", Kind::Label, QT_TRANSLATE_NOOP("kobako::ui::Form2", "リストの最大数 : "), nullptr,
     3645, 2370, 1395, 195, Face::ProportionalGothic, "Text1_0"},
    {"Label1_1", Kind::Label, QT_TRANSLATE_NOOP("kobako::ui::Form2", "アイコンの高さ : "), nullptr,
     3645, 2820, 1350, 195, Face::ProportionalGothic, "Text1_1"},
    {"Label1_2", Kind::Label, QT_TRANSLATE_NOOP("kobako::ui::Form2", "表示形式 : "), "Frame1", 60,
     300, 945, 195, Face::ProportionalGothic},
    {"Label1_3", Kind::Label, QT_TRANSLATE_NOOP("kobako::ui::Form2", "出現位置 : "), "Frame2", 60,
     300, 945, 195, Face::ProportionalGothic},
    {"Label1_4", Kind::Label,
     QT_TRANSLATE_NOOP("kobako::ui::Form2",
                       "Kobako  Ver1.3\nクリップボード履歴の小箱\nKobako の開発者一同"),
     "Frame3", 60, 135, 4350, 1155, Face::Gothic11},
    {"Command3", Kind::Button, QT_TRANSLATE_NOOP("kobako::ui::Form2", "バージョン情報"), nullptr,
     3390, 3570, 1440, 450, Face::Window},
    {"Command4", Kind::Button, QT_TRANSLATE_NOOP("kobako::ui::Form2", "フォント設定"), nullptr,
     3405, 4275, 1425, 450, Face::Gothic9},
    {"VScroll1", Kind::Spin, "", nullptr, 5760, 2340, 315, 315, Face::Window},
    {"VScroll2", Kind::Spin, "", nullptr, 5760, 2760, 315, 315, Face::Window},
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

void Form2::buildControls() {
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
    auto control = [this]<typename T>(T *&member, const QString &name) {
        member = findChild<T *>(name);
    };
    control(Frame1, QStringLiteral("Frame1"));
    control(Frame2, QStringLiteral("Frame2"));
    control(Frame3, QStringLiteral("Frame3"));
    control(Check1, QStringLiteral("Check1"));
    control(Command1, QStringLiteral("Command1"));
    control(Command3, QStringLiteral("Command3"));
    control(Command4, QStringLiteral("Command4"));
    control(VScroll1, QStringLiteral("VScroll1"));
    control(VScroll2, QStringLiteral("VScroll2"));
    for (size_t i = 0; i < Text1.size(); ++i)
        control(Text1[i], QStringLiteral("Text1_%1").arg(i));
    for (size_t i = 0; i < Option1.size(); ++i)
        control(Option1[i], QStringLiteral("Option1_%1").arg(i));
    for (size_t i = 0; i < Option3.size(); ++i)
        control(Option3[i], QStringLiteral("Option3_%1").arg(i));
    for (size_t i = 0; i < Label1.size(); ++i)
        control(Label1[i], QStringLiteral("Label1_%1").arg(i));

    Label1[4]->setAlignment(Qt::AlignCenter);
    Label1[4]->setAutoFillBackground(true);
    Label1[4]->setStyleSheet(QStringLiteral("color: white; background: #1f3fa0;"));
    VScroll1->setRange(Settings::kListSpinMin, Settings::kListSpinMax);
    VScroll2->setRange(Settings::kIconSpinMin, Settings::kIconSpinMax);
    makeRoomForCaptions(*this);
}

} // namespace kobako::ui
