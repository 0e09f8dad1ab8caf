#include "text_display.h"

#include <algorithm>
#include <vector>

namespace kobako::ui {

namespace {

// A prefix of at most `bytes` bytes of UTF-8 text, never cutting a character in two.
QString utf8Prefix(const std::string &text, size_t bytes) {
    if (text.size() <= bytes)
        return QString::fromStdString(text);
    while (bytes > 0 && (static_cast<unsigned char>(text[bytes]) & 0xC0) == 0x80)
        --bytes;
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(bytes)) + QChar(0x2026);
}

constexpr size_t kRowBytes = 1024;
constexpr size_t kToolTipBytes = 4096;
constexpr size_t kSlotBytes = 128 * 1024;

} // namespace

QString listRowText(const std::string &text) {
    QString row = utf8Prefix(text, kRowBytes);
    row.replace(QStringLiteral("\r\n"), QStringLiteral("\u21B5"));
    for (QChar &c : row) {
        if (c == u'\r' || c == u'\n')
            c = QChar(0x21B5);
        else if (c == u'\t')
            c = u' ';
        else if (c.unicode() < 0x20)
            c = QChar(0xFFFD);
    }
    return row;
}

QString listToolTip(const std::string &text) {
    QString tip = utf8Prefix(text, kToolTipBytes);
    tip.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    tip.replace(u'\r', u'\n');
    return tip.toHtmlEscaped().replace(u'\n', QStringLiteral("<br>"));
}

bool isShownWhole(const std::string &text) {
    return text.size() <= kSlotBytes;
}

QString slotDisplayText(const std::string &text) {
    QString shown;
    if (isShownWhole(text)) {
        shown = QString::fromStdString(text);
    } else {
        const size_t lineEnd = text.find_last_of("\r\n", kSlotBytes);
        shown =
            utf8Prefix(text, lineEnd != std::string::npos && lineEnd > 0 ? lineEnd : kSlotBytes);
        if (!shown.endsWith(QChar(0x2026)))
            shown += QChar(0x2026);
    }
    shown.replace(QStringLiteral("\r\n"), QChar(QChar::ParagraphSeparator));
    shown.replace(u'\r', QChar::ParagraphSeparator);
    shown.replace(u'\n', QChar::ParagraphSeparator);
    return shown;
}

namespace {

// Where each character the slot shows begins in the stored text: a CR LF pair shows as one line
// break, a character beyond U+FFFF as two units of the shown text.
std::vector<size_t> shownToStored(const std::string &stored) {
    std::vector<size_t> starts;
    for (size_t i = 0; i < stored.size();) {
        starts.push_back(i);
        const auto lead = static_cast<unsigned char>(stored[i]);
        if (stored.compare(i, 2, "\r\n") == 0) {
            i += 2;
            continue;
        }
        const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (length == 4)
            starts.push_back(i); // the low surrogate
        i += length;
    }
    starts.push_back(stored.size());
    return starts;
}

} // namespace

std::string slotTextFromEdit(const QString &shownBefore, const QString &shownAfter,
                             const std::string &before) {
    // The edited stretch: what lies before and after it is the same in both.
    qsizetype head = 0;
    const qsizetype shortest = std::min(shownBefore.size(), shownAfter.size());
    while (head < shortest && shownBefore[head] == shownAfter[head])
        ++head;
    qsizetype tail = 0;
    while (tail < shortest - head &&
           shownBefore[shownBefore.size() - 1 - tail] == shownAfter[shownAfter.size() - 1 - tail])
        ++tail;
    const std::vector<size_t> starts = shownToStored(before);
    const size_t from = starts[std::min<size_t>(head, starts.size() - 1)];
    const size_t to = starts[std::min<size_t>(shownBefore.size() - tail, starts.size() - 1)];
    QString typed = shownAfter.mid(head, shownAfter.size() - head - tail);
    typed.replace(QChar::ParagraphSeparator, u'\n');
    if (before.find("\r\n") != std::string::npos)
        typed.replace(u'\n', QStringLiteral("\r\n"));
    return before.substr(0, from) + typed.toStdString() + before.substr(to);
}

} // namespace kobako::ui
