#include "fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace kobako::platform {

QFont japaneseFont(const QString &family, double pointSize) {
    QFont font;
    font.setFamilies({family, QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAGothic"),
                      QStringLiteral("VL Gothic")});
    font.setPointSizeF(pointSize);
    return font;
}

bool japaneseFontInstalled() {
    return !QFontDatabase::families(QFontDatabase::Japanese).isEmpty();
}

} // namespace kobako::platform
