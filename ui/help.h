#pragma once

#include "persistence.h"

#include <QString>

namespace kobako::ui {

// What the help button opens: "Hako.hlp" in the start directory where there is one, otherwise
// the help that came with the program, in Japanese or, for other languages, in English.
QString helpFile(const FileNames &files);

} // namespace kobako::ui
