#pragma once

#include <QStringList>
#include <QStyledItemDelegate>

namespace kobako::ui {

// Draws the list's rows with the words found marked, compared as the finding compares them
// (case and width folded), and the current row framed while the keyboard is in the find field.
class FoundWordsDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The words typed, folded; none draws the rows as they are.
    void setWords(QStringList words) { words_ = std::move(words); }
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

  private:
    QStringList words_;
};

} // namespace kobako::ui
