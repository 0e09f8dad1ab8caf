#pragma once

#include "storage/write_result.h"

#include <QString>

namespace kobako::ui {

// A message about a write that failed: `text` with the file or place as %1 and the system's
// reason as %2.
inline QString withFailure(const QString &text, const storage::WriteFailure &failure) {
    return text.arg(QString::fromStdString(failure.file),
                    QString::fromLocal8Bit(failure.reason.c_str()));
}

} // namespace kobako::ui
