#pragma once

#include "core/entry_filter.h"
#include "core/history.h"

#include <QObject>

class QKeyEvent;
class QLineEdit;
class QListView;

namespace kobako::ui {

class FoundWordsDelegate;

// Finding entries by typing, in list mode: a one-line field that appears when typing starts and
// goes when it is emptied; while it holds words, the list shows only the entries that hold every
// one, with the words marked.
class ListFinder : public QObject {
    Q_OBJECT
  public:
    ListFinder(History &history, QListView &list, QWidget &parent);

    QLineEdit &field() const { return *field_; }
    bool finding() const;
    // A key pressed while the list has the keyboard: true when it types into the field, which
    // then appears and takes the keyboard.
    bool typeInto(const QKeyEvent &key);
    // The history's texts may have changed: the entries are found again when they did.
    void followHistory();
    // The field is emptied and goes.
    void stop();

  signals:
    // What the list shows changed: the views show it anew.
    void shownChanged();

  private:
    void find();

    History &history_;
    QListView &list_;
    EntryFilter filter_;
    QLineEdit *field_;
    FoundWordsDelegate *delegate_;
    unsigned foundAtRevision_ = 0;
};

} // namespace kobako::ui
