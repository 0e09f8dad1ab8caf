#include "history_list_model.h"

#include "text_display.h"

#include <QGuiApplication>
#include <QPalette>

namespace kobako::ui {

HistoryListModel::HistoryListModel(const History &history, QObject *parent)
    : QAbstractListModel(parent), history_(history) {}

int HistoryListModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : history_.shownCount();
}

QVariant HistoryListModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= history_.shownCount())
        return {};
    const ListEntry &entry = history_.list()[history_.rowAtPlace(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return listRowText(entry.text);
    case Qt::ToolTipRole:
        return listToolTip(entry.text) + QStringLiteral("<hr>") + gesturesTip();
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

// What the clicks do, under each entry's text: the window managers take Alt+click for moving
// windows, Shift+click is there too.
QString HistoryListModel::gesturesTip() {
    return tr("クリック: クリップボードへ　Ctrl+クリック: つなげる<br>"
              "Shift+クリック、Alt+クリック: すべてつなげる　右クリック: 削除");
}

void HistoryListModel::refresh() {
    beginResetModel();
    endResetModel();
}

} // namespace kobako::ui
