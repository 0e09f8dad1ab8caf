#pragma once

#include <QFont>

namespace kobako::platform {

// The named font, falling back to a Japanese family installed here when it is missing.
QFont japaneseFont(const QString &family, double pointSize);

// Whether any installed font covers Japanese; without one every Japanese text shows as boxes.
bool japaneseFontInstalled();

} // namespace kobako::platform
