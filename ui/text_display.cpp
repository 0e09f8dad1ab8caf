#include "text_display.h"

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
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(u'\r', u'\n');
    return shown;
}

std::string slotTextFromEdit(const QString &edited, const std::string &before) {
    QString text = edited;
    if (before.find("\r\n") != std::string::npos)
        text.replace(u'\n', QStringLiteral("\r\n"));
    return text.toStdString();
}

} // namespace kobako::ui
