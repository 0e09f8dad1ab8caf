#pragma once

#include <QFont>

namespace kobako::platform {

// The named font, falling back to a Japanese family installed here when it is missing.
QFont japaneseFont(const QString &family, double pointSize);

} // namespace kobako::platform
