#include "form1.h"

#include "core/numbers.h"
#include "form2.h"
#include "help.h"
#include "history_list_model.h"
#include "history_saver.h"
#include "platform/caption_bar.h"
#include "platform/caption_pictures.h"
#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/fonts.h"
#include "platform/process.h"
#include "platform/resize_edges.h"
#include "platform/twips.h"
#include "platform/window_presence.h"
#include "text_display.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontInfo>
#include <QIcon>
#include <QListView>
#include <QPlainTextEdit>
#include <QTimer>

#include <filesystem>
#include <iostream>

namespace kobako::ui {

using platform::WindowTwips;

namespace {

// The client area as designed, before the saved size is applied.
constexpr float kDesignClientWidth = 3510;
constexpr float kDesignClientHeight = 1830;
constexpr float kCheckWidth = 195;
constexpr float kCheckHeight = 240;

} // namespace

Form1::Form1(Settings &settings, platform::Clipboard &clipboard, platform::Dialogs &dialogs,
             FileNames files)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), settings_(settings),
      history_(settings), clipboard_(clipboard), dialogs_(dialogs), files_(std::move(files)) {
    setWindowTitle(QStringLiteral("Kobako"));
    // Brought back by a copy while the user types elsewhere: the keys must stay there.
    setAttribute(Qt::WA_ShowWithoutActivating);
    // It stays in front while the user works elsewhere: its buttons explain themselves then too.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    // For the taskbar and the window switcher.
    setWindowIcon(QIcon(platform::drawProgramIcon(64)));
    setFont(platform::japaneseFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));

    vsInForm1 = new platform::CaptionBar(this);
    vsInForm1->setObjectName(QStringLiteral("vsInForm1"));
    describeCaptionButtons();
    client_ = new QWidget(this);

    List1 = new QListView(client_);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setAccessibleName(tr("履歴"));
    listModel_ = new HistoryListModel(history_, this);
    List1->setModel(listModel_);
    List1->setSelectionMode(QAbstractItemView::NoSelection);
    List1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List1->setUniformItemSizes(true);
    List1->setWordWrap(false);
    List1->setTextElideMode(Qt::ElideRight);
    List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    List1->viewport()->installEventFilter(this);
    List1->installEventFilter(this);
    edges_ = new platform::ResizeEdges(*this);
    presence_ = new platform::WindowPresence(
        *this, {[this] { restoreSavedSize(); }, [this](PlacementKind kind) { placeBy(kind); },
                [this] { return !history_.list.empty() || !history_.textSlots[0].text.empty(); }});

    connect(vsInForm1, &platform::CaptionBar::ClickLButton, this, &Form1::vsInForm1_ClickLButton);
    connect(vsInForm1, &platform::CaptionBar::ClickRButton, this, &Form1::vsInForm1_ClickRButton);
    connect(&clipboard_, &platform::Clipboard::NewClipboardData, this,
            &Form1::vsInForm1_NewClipboardData);

    resize(platform::toPixels(kDesignClientWidth),
           platform::toPixels(kDesignClientHeight) + vsInForm1->height());
    // Until the settings are confirmed the window stays in front, as the program is meant to.
    vsInForm1->setAlwaysOnTop(true);
}

Form1::~Form1() = default;

// The slots are made when first shown: a list-mode window never needs them.
void Form1::ensureSlots() {
    if (slotsBuilt())
        return;
    for (int i = 0; i < History::kSlotCount; ++i) {
        Check1[i] = new QCheckBox(client_);
        Check1[i]->setObjectName(QStringLiteral("Check1_%1").arg(i));
        Check1[i]->setFixedSize(platform::toPixels(kCheckWidth), platform::toPixels(kCheckHeight));
        Check1[i]->setFocusPolicy(Qt::NoFocus);
        Check1[i]->installEventFilter(this);
        Check1[i]->setAccessibleName(tr("履歴 %1 のチェック").arg(i + 1));

        Text1[i] = new QPlainTextEdit(client_);
        Text1[i]->setObjectName(QStringLiteral("Text1_%1").arg(i));
        Text1[i]->setAccessibleName(tr("履歴 %1").arg(i + 1));
        Text1[i]->setLineWrapMode(QPlainTextEdit::NoWrap);
        Text1[i]->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        Text1[i]->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        Text1[i]->setContextMenuPolicy(Qt::NoContextMenu);
        Text1[i]->setAcceptDrops(false);    // text dropped in would change a slot unasked
        Text1[i]->setTabChangesFocus(true); // Tab goes to the next slot; a pasted tab stays
        Text1[i]->installEventFilter(this);
        Text1[i]->viewport()->installEventFilter(this);
        connect(Text1[i], &QPlainTextEdit::textChanged, this, [this, i] { onSlotEdited(i); });
    }
}

// Parked beyond the screen's corner: out of sight also where no window manager minimizes it.
void Form1::Form_Load() {
    WindowTwips::setTop(*this, platform::screenHeightTwips());
    WindowTwips::setLeft(*this, platform::screenWidthTwips());
    files_.startDirectory = platform::currentDirectory();
    Form2Load(files_, settings_); // the settings window shows them when it is first opened
    saved_ = SizeFileLoad(files_);
    StoredRecords stored = storedHistory_.valid() ? storedHistory_.get() : SlotFileRead(files_);
    historyUnreadable_ = std::move(stored.unreadable);
    SlotFileLoad(std::move(stored), history_, settings_);
    vsInForm1->setCaptionButtonHeight(
        std::max<int16_t>(settings_.iconHeight(), Settings::kSmallestIconHeight));
    showDisplay(settings_.isListMode());
    refreshViews();
    // Told once the program runs, so that the start itself is not held up by the message.
    if (const auto problem = platform::writeProblem(files_.startDirectory))
        QTimer::singleShot(0, this,
                           [this, reason = *problem] { reportUnwritableDirectory(reason); });
    if (historyUnreadable_) {
        QTimer::singleShot(0, this, &Form1::reportUnreadableHistory);
        return;
    }
    saver_ = new HistorySaver(
        files_, [this] { return SlotFileTake(history_, settings_); }, this);
}

void Form1::showAtStart() {
    presence_->handle(PresenceEvent::Started);
}

void Form1::reportUnwritableDirectory(const std::string &reason) {
    dialogs_.message(tr("ディレクトリ「%1」にはファイルを書き込めません。\n理由: %2\n"
                        "履歴はこのまま使えますが、保存はされません。")
                         .arg(QString::fromStdString(files_.startDirectory),
                              QString::fromLocal8Bit(reason.c_str())));
}

void Form1::reportUnreadableHistory() {
    dialogs_.message(tr("ファイル「%1」を読み込めません。\n理由: %2\n"
                        "このファイルの履歴を守るため、今回は履歴を保存しません。")
                         .arg(QString::fromStdString(files_.slotFile()),
                              QString::fromLocal8Bit(historyUnreadable_->c_str())));
}

void Form1::showDisplay(bool list) {
    List1->setVisible(list);
    if (list && !slotsBuilt())
        return;
    ensureSlots();
    for (int i = 0; i < History::kSlotCount; ++i) {
        Text1[i]->setVisible(!list);
        Check1[i]->setVisible(!list);
    }
}

void Form1::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    layoutCaptionAndClient();
    Form_Resize();
}

void Form1::layoutCaptionAndClient() {
    vsInForm1->setGeometry(0, 0, width(), vsInForm1->height());
    client_->setGeometry(0, vsInForm1->height(), width(),
                         std::max(0, height() - vsInForm1->height()));
    edges_->place();
}

void Form1::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

void Form1::Form_Resize() {
    const bool normal = !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized));
    if (settings_.isListMode()) {
        List1->move(0, 0);
        if (normal) {
            restoreSavedSize();
            List1->resize(width(), height());
        }
        return;
    }
    if (normal)
        restoreSavedSize();
    applySlotLayout();
}

void Form1::restoreSavedSize() {
    if (sizeRestored_)
        return;
    // A hand-edited file may ask for any size: never more than the screen's work area.
    WindowTwips::setHeight(*this, std::min(saved_.savedHeight, platform::screenHeightTwips()));
    WindowTwips::setWidth(*this, std::min(saved_.savedWidth, platform::screenWidthTwips()));
    sizeRestored_ = true;
}

void Form1::applySlotLayout() {
    ensureSlots();
    const auto placements = layoutSlots({WindowTwips::width(*this), WindowTwips::height(*this),
                                         vsInForm1->captionButtonHeight(), kCheckWidth},
                                        settings_, platform::storedTwips);
    using platform::toPixels;
    for (int i = 0; i < History::kSlotCount; ++i) {
        const SlotPlacement &slot = placements[i];
        if (slot.visible) {
            Text1[i]->setGeometry(toPixels(slot.text.left), toPixels(slot.text.top),
                                  std::max(0, toPixels(slot.text.width)),
                                  std::max(0, toPixels(slot.text.height)));
            Check1[i]->move(toPixels(slot.checkLeft), toPixels(slot.checkTop));
        }
        Text1[i]->setVisible(slot.visible);
        Check1[i]->setVisible(slot.visible);
    }
}

void Form1::placeBy(PlacementKind kind) {
    const auto at = appearAt(settings_.appearPosition, kind, platform::screenWidthTwips(),
                             platform::screenHeightTwips(), WindowTwips::width(*this),
                             WindowTwips::height(*this));
    if (!at)
        return;
    WindowTwips::setTop(*this, at->top);
    WindowTwips::setLeft(*this, at->left);
}

void Form1::vsInForm1_NewClipboardData() {
    if (history_.capturePaused == 1)
        return; // not even a look at the clipboard
    const ClipboardOrigin origin = clipboard_.origin();
    const CaptureOutcome outcome = history_.capture(clipboard_.takeText(), origin);
    if (outcome == CaptureOutcome::Ignored)
        return;
    refreshViews();
    presence_->handle(PresenceEvent::Captured);
}

void Form1::comeForward() {
    presence_->handle(PresenceEvent::SecondStart);
}

void Form1::refreshViews() {
    if (saver_)
        saver_->changed();
    listModel_->refresh();
    // The view shows the history's current entry; it keeps none of its own (with none, Qt would
    // make the first row current when the list takes the focus).
    List1->setCurrentIndex(listModel_->index(history_.listIndex));
    setShaded(List1, history_.listShaded);

    if (!slotsBuilt())
        return;
    updatingSlots_ = true;
    for (int i = 0; i < History::kSlotCount; ++i) {
        const Slot &slot = history_.textSlots[i];
        QString shown = slotDisplayText(slot.text);
        if (shownSlotText_[i] != shown) {
            Text1[i]->setPlainText(shown);
            Text1[i]->setReadOnly(!isShownWhole(slot.text));
            shownSlotText_[i] = std::move(shown);
        }
        Check1[i]->setChecked(slot.check == 1);
        setShaded(Text1[i], slot.shaded);
    }
    updatingSlots_ = false;
}

// The pick-all shading: the button face instead of the window background. A new palette makes
// the widget repaint, so it is set only when the shading changes.
void Form1::setShaded(QWidget *display, bool shaded) const {
    const QColor colour = QWidget::palette().color(shaded ? QPalette::Button : QPalette::Base);
    if (display->palette().color(QPalette::Base) == colour)
        return;
    QPalette colours = display->palette();
    colours.setColor(QPalette::Base, colour);
    display->setPalette(colours);
}

void Form1::onSlotEdited(int index) {
    if (updatingSlots_)
        return;
    Slot &slot = history_.textSlots[index];
    slot.text = slotTextFromEdit(Text1[index]->toPlainText(), slot.text);
    shownSlotText_[index] = slotDisplayText(slot.text);
    if (saver_)
        saver_->changed();
}

void Form1::vsInForm1_ClickLButton(int16_t button) {
    switch (button) {
    case 0:
        settingsWindow().open();
        break;
    case 1:
        openHelp();
        break;
    case 2:
        toggleCapture();
        break;
    default:
        break;
    }
}

void Form1::describeCaptionButtons() {
    const QString left[] = {tr("設定"), tr("ヘルプ"),
                            history_.capturePaused == 1 ? tr("取り込みの再開")
                                                        : tr("取り込みの一時停止")};
    const QString right[] = {tr("保存して終了"), tr("最小化"), tr("すべて消去")};
    for (int16_t button = 0; button < 3; ++button) {
        vsInForm1->describeButton(true, button, left[button]);
        vsInForm1->describeButton(false, button, right[button]);
    }
}

void Form1::openHelp() {
    const QString path = helpFile(files_);
    if (path.isEmpty())
        return dialogs_.message(tr("ヘルプのファイルが見つかりません。"));
    dialogs_.openDocument(path, [this, path] {
        dialogs_.message(
            tr("ヘルプを開くプログラムが見つかりません。\nヘルプのファイル: %1").arg(path));
    });
}

void Form1::toggleCapture() {
    const bool pausing = history_.capturePaused != 1;
    history_.capturePaused = pausing ? 1 : 0;
    QPixmap picture(
        QString::fromStdString(files_.inStartDirectory(pausing ? "Trffc10c.ico" : "Trffc10a.ico")));
    // Without the picture file the state must still show: draw the lamp for it.
    if (picture.isNull())
        picture = platform::drawCaptionPicture(
            pausing ? platform::CaptionPicture::TrafficLightRed
                    : platform::CaptionPicture::TrafficLightGreen,
            std::max(1, vsInForm1->height() - 4), palette().color(QPalette::ButtonText));
    vsInForm1->setCaptureButtonPicture(picture);
    describeCaptionButtons();
}

void Form1::vsInForm1_ClickRButton(int16_t button) {
    switch (button) {
    case 0:
        saveAndEnd(true);
        break;
    case 1:
        presence_->handle(PresenceEvent::MinimizeButton);
        break;
    case 2:
        dialogs_.askYesNo(tr("全消去します"), [this](bool clear) {
            if (!clear)
                return;
            history_.clearAll();
            refreshViews();
        });
        break;
    default:
        break;
    }
}

// A size that was never applied is not one the user chose: the file keeps its values, and
// without a file the size written is the one the window would have taken.
std::optional<WriteFailure> Form1::saveSize() {
    if (sizeRestored_)
        return SizeFileSave(files_, WindowTwips::height(*this), WindowTwips::width(*this));
    if (std::filesystem::exists(files_.sizeFile()))
        return std::nullopt;
    return SizeFileSave(files_, platform::storedTwips(saved_.savedHeight),
                        platform::storedTwips(saved_.savedWidth));
}

std::optional<WriteFailure> Form1::saveHistory() {
    if (historyUnreadable_)
        return WriteFailure{files_.slotFile(),
                            tr("起動時に読み込めなかったため、上書きしませんでした（%1）")
                                .arg(QString::fromLocal8Bit(historyUnreadable_->c_str()))
                                .toStdString()};
    if (saver_)
        saver_->finishPending(); // an older save must not land after this one
    return SlotFileSave(files_, SlotFileTake(history_, settings_));
}

void Form1::saveAndEnd(bool mayAsk) {
    if (mayAsk && askingToEnd_)
        return; // the question of the first request is still open
    std::vector<WriteFailure> failures;
    for (auto failure : {saveSize(), saveHistory()})
        if (failure)
            failures.push_back(*failure);
    if (!failures.empty()) {
        QString report;
        for (const WriteFailure &failure : failures)
            report += tr("ファイル「%1」を保存できませんでした。\n理由: %2\n")
                          .arg(QString::fromStdString(failure.file),
                               QString::fromLocal8Bit(failure.reason.c_str()));
        if (mayAsk) {
            askingToEnd_ = true;
            dialogs_.askYesNo(report + tr("\n保存せずに終了しますか？"), [this](bool endAnyway) {
                askingToEnd_ = false;
                if (endAnyway)
                    end();
            });
            return;
        }
        std::cerr << report.toStdString();
    }
    end();
}

void Form1::end() {
    hide();
    QCoreApplication::exit(0);
}

// Made when first opened: until then it would only hold memory.
Form2 &Form1::settingsWindow() {
    if (!form2_)
        form2_ = new Form2(settings_, *this, dialogs_, files_);
    return *form2_;
}

void Form1::setAlwaysOnTop(bool inFront) {
    vsInForm1->setAlwaysOnTop(inFront);
}

void Form1::setCaptionButtonHeight(int16_t height) {
    vsInForm1->setCaptionButtonHeight(height);
    layoutCaptionAndClient();
}

bool Form1::listShown() const {
    return List1->isVisibleTo(this);
}
bool Form1::slotsShown() const {
    return slotsBuilt() && Text1[0]->isVisibleTo(this);
}

void Form1::switchToList() {
    List1->setGeometry(0, 0, width(), height());
    List1->setVisible(true);
    history_.copySlotsToList(history_.FilledSlotCount());
    // All slots go, not only the filled ones: none may stay drawn over the list.
    for (int i = 0; slotsBuilt() && i < History::kSlotCount; ++i) {
        Text1[i]->setVisible(false);
        Check1[i]->setVisible(false);
    }
    refreshViews();
}

void Form1::hideList() {
    List1->setVisible(false);
}

void Form1::showSlotsFromList() {
    const int count = usableSlotCount(settings_);
    history_.copyListToSlots(count);
    ensureSlots();
    for (int i = 0; i < count; ++i) {
        Text1[i]->setVisible(true);
        Check1[i]->setVisible(true);
    }
    refreshViews();
}

void Form1::trimList(size_t keep) {
    history_.trimList(keep);
    refreshViews();
}

// The font the list is really drawn in (the requested family may be missing and stand in for
// the fallback), at its exact size: 10.5 pt stays 10.5.
QFont Form1::listFont() const {
    QFont font(QFontInfo(List1->font()).family());
    font.setPointSizeF(List1->font().pointSizeF());
    return font;
}

void Form1::applyFont(const QFont &font) {
    QFont chosen;
    chosen.setFamilies(font.families());
    chosen.setBold(font.bold());
    chosen.setItalic(font.italic());
    chosen.setUnderline(font.underline());
    chosen.setPointSizeF(font.pointSizeF());
    if (settings_.isListMode()) {
        List1->setFont(chosen);
        return;
    }
    // In text-box mode the number of slots is the list maximum: without a number, nothing changes.
    if (!parseNumber(settings_.listMaxText()))
        return;
    ensureSlots();
    for (int i = 0; i < usableSlotCount(settings_); ++i)
        Text1[i]->setFont(chosen);
}

// A close request can wait for an answer, as the exit button does.
void Form1::closeEvent(QCloseEvent *event) {
    event->ignore();
    saveAndEnd(true);
}

} // namespace kobako::ui
