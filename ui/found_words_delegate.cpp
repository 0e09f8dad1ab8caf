#include "found_words_delegate.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QTextLayout>

namespace kobako::ui {

namespace {

// Where the words occur in `text`: each character is folded alone, and what it folds to is
// traced back to it.
QList<QTextLayout::FormatRange> foundRanges(const QString &text, const QStringList &words) {
    QString folded;
    QList<int> origin; // for each folded character, the text's character it came from
    for (int i = 0; i < text.size();) {
        const int length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString piece =
            text.mid(i, length).normalized(QString::NormalizationForm_KC).toCaseFolded();
        folded += piece;
        origin.insert(origin.size(), piece.size(), i);
        i += length;
    }
    QTextCharFormat marked;
    marked.setBackground(QColor(0xff, 0xe0, 0x60));
    marked.setForeground(Qt::black);
    QList<QTextLayout::FormatRange> ranges;
    for (const QString &word : words)
        for (qsizetype at = folded.indexOf(word); at >= 0 && !word.isEmpty();
             at = folded.indexOf(word, at + word.size())) {
            const int start = origin[at];
            const int end = at + word.size() < origin.size() ? origin[at + word.size()]
                                                             : static_cast<int>(text.size());
            ranges.append({start, end - start, marked});
        }
    return ranges;
}

} // namespace

void FoundWordsDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                               const QModelIndex &index) const {
    if (words_.isEmpty())
        return QStyledItemDelegate::paint(painter, option, index);
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const auto *view = qobject_cast<const QAbstractItemView *>(item.widget);
    if (view && view->currentIndex() == index)
        item.state |= QStyle::State_HasFocus;
    const QString text = item.text;
    item.text.clear();
    QStyle *style = item.widget->style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);

    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, item.widget) + 1;
    const QRect box = style->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget)
                          .adjusted(margin, 0, -margin, 0);
    QTextLayout layout(item.fontMetrics.elidedText(text, Qt::ElideRight, box.width()), item.font);
    layout.setFormats(foundRanges(layout.text(), words_));
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(box.width());
    layout.endLayout();
    painter->save();
    painter->setPen(item.palette.color(QPalette::Text));
    if (const QVariant foreground = index.data(Qt::ForegroundRole); foreground.isValid())
        painter->setPen(foreground.value<QBrush>().color());
    layout.draw(painter, QPointF(box.left(), box.top() + (box.height() - line.height()) / 2));
    painter->restore();
}

} // namespace kobako::ui
