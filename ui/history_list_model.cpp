#include "history_list_model.h"

#include "text_display.h"

#include <QGuiApplication>
#include <QPalette>

namespace kobako::ui {

HistoryListModel::HistoryListModel(const History &history, QObject *parent)
    : QAbstractListModel(parent), history_(history) {}

int HistoryListModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(history_.list().size());
}

QVariant HistoryListModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || static_cast<size_t>(index.row()) >= history_.list().size())
        return {};
    const ListEntry &entry = history_.list()[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        return listRowText(entry.text);
    case Qt::ToolTipRole:
        return listToolTip(entry.text);
    case Qt::BackgroundRole:
        if (entry.selected)
            return QGuiApplication::palette().brush(QPalette::Highlight);
        return {};
    case Qt::ForegroundRole:
        if (entry.selected)
            return QGuiApplication::palette().brush(QPalette::HighlightedText);
        return {};
    default:
        return {};
    }
}

void HistoryListModel::refresh() {
    beginResetModel();
    endResetModel();
}

} // namespace kobako::ui
