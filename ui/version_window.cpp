#include "version_window.h"

#include "platform/caption_pictures.h"
#include "platform/centring.h"
#include "platform/fonts.h"
#include "twips_geometry.h"

#include <QLabel>

namespace kobako::ui {

namespace {

QLabel *label(QWidget *parent, const QString &text, float left, float top, float width,
              float height) {
    auto *label = new QLabel(text, parent);
    label->setFont(platform::japaneseFont(QStringLiteral("ＭＳ ゴシック"), 11.25));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    placeInTwips(label, left, top, width, height);
    return label;
}

} // namespace

VersionWindow::VersionWindow(QWidget *parent) : QDialog(parent) {
    setWindowTitle(tr("バージョン情報"));
    setFont(platform::japaneseFont(QStringLiteral("ＭＳ ゴシック"), 12));
    setFixedSize(platform::toPixels(6540), platform::toPixels(4275));
    setModal(true);
    setAttribute(Qt::WA_DeleteOnClose);

    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    placeInTwips(icon, 90, 30, 480, 480);
    icon->setPixmap(platform::drawProgramIcon(icon->width()));

    // The product line is the program's own name and version, the same in every language.
    label(this,
          QStringLiteral("Kobako  for  WIN95 and  NT4.0  Ver%1")
              .arg(QStringLiteral(KOBAKO_SHOWN_VERSION)),
          750, 150, 5280, 315)
        ->setObjectName(QStringLiteral("productLine"));
    label(this, tr("クリップボードの履歴を小さな箱にしまっておくツールです。"), 60, 720, 6255, 765);
    label(this, tr("使い方は README とヘルプをご覧ください。"), 45, 1650, 6180, 885);
    label(this, tr("ご意見・不具合の報告は、プロジェクトの課題管理へお寄せください。"), 60, 2760,
          6420, 1470);
    platform::centreOnScreen(*this);
}

} // namespace kobako::ui
