#pragma once

#include <QString>

#include <string>

namespace kobako::ui {

// One row of the list for a stored text: its line breaks drawn as a visible mark, cut after the
// first few hundred characters (the view elides the rest to its width).
QString listRowText(const std::string &text);
// The tooltip of a row: the whole text, up to a size a tooltip can show.
QString listToolTip(const std::string &text);

// A slot shows its text with every line break (CR LF, lone CR, lone LF) as a new line, as its
// text box holds it (a paragraph separator between lines). A text
// too long to lay out at once (a text box takes seconds for megabytes) is shown cut, after its
// last whole line within the limit, and such a slot cannot be edited: the text stays whole in
// the history.
QString slotDisplayText(const std::string &text);
bool isShownWhole(const std::string &text);
// The text of a slot after the user edited it, from what the slot showed before and after (the
// text box's own text: paragraph separators between lines): only the edited stretch changes, so
// the rest keeps every character byte for byte, and a typed line break is the kind the stored
// text used.
std::string slotTextFromEdit(const QString &shownBefore, const QString &shownAfter,
                             const std::string &before);

} // namespace kobako::ui
