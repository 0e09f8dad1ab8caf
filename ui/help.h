#pragma once

#include "storage/file_names.h"

#include <QString>

namespace kobako::ui {

// What the help button opens: "Hako.hlp" in the start directory where the user has one of their
// own, otherwise the help that came with the program, in Japanese or, for other languages, in
// English; empty when there is neither.
QString helpFile(const storage::FileNames &files);

} // namespace kobako::ui
