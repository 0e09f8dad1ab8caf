#pragma once

#include "core/history.h"

#include <QAbstractListModel>

namespace kobako::ui {

// Shows the history's list entries shown (all, or those found by typing) to a view without copying
// them; selected entries are drawn in the highlight colours.
class HistoryListModel : public QAbstractListModel {
    Q_OBJECT
  public:
    HistoryListModel(const History &history, QObject *parent);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    // The history changed: show it anew.
    void refresh();
    // What the clicks on an entry or a slot do, for their tooltips.
    static QString gesturesTip();

  private:
    const History &history_;
};

} // namespace kobako::ui
