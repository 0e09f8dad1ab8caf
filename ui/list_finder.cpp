#include "list_finder.h"

#include "found_words_delegate.h"
#include "platform/text_folding.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>

namespace kobako::ui {

ListFinder::ListFinder(History &history, QListView &list, QWidget &parent)
    : QObject(&parent), history_(history), list_(list), filter_(platform::foldCaseAndWidth),
      field_(new QLineEdit(&parent)), delegate_(new FoundWordsDelegate(&list)) {
    field_->setObjectName(QStringLiteral("findField"));
    field_->setAccessibleName(tr("検索"));
    field_->setPlaceholderText(tr("検索"));
    field_->setClearButtonEnabled(true);
    field_->hide();
    list.setItemDelegate(delegate_);
    connect(field_, &QLineEdit::textChanged, this, [this] {
        const bool wasFinding = finding();
        find();
        if (wasFinding || finding())
            emit shownChanged();
    });
}

bool ListFinder::finding() const {
    return !history_.showsAll();
}

// Printable text without Ctrl or Alt starts the find; Space alone does not, as it starts no word.
bool ListFinder::typeInto(const QKeyEvent &key) {
    const Qt::KeyboardModifiers held = key.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    const QString text = key.text();
    if (held != Qt::NoModifier || text.isEmpty() || !text.at(0).isPrint() ||
        (text == QStringLiteral(" ") && !finding()))
        return false;
    field_->show();
    field_->setFocus(Qt::OtherFocusReason);
    field_->insert(text);
    return true;
}

void ListFinder::followHistory() {
    if (finding() && history_.revision() != foundAtRevision_)
        find();
}

void ListFinder::stop() {
    field_->clear(); // finds nothing, which ends the find
}

// Each edit finds anew; the first entry shown becomes the one Enter picks.
void ListFinder::find() {
    const QString typed = field_->text();
    if (typed.trimmed().isEmpty()) {
        history_.showAll();
        filter_.clear();
        delegate_->setWords({});
        if (typed.isEmpty() && field_->isVisible()) {
            field_->hide();
            list_.setFocus(Qt::OtherFocusReason);
        }
        return;
    }
    history_.showOnly(filter_.find(typed.toStdString(), history_.list(), history_.revision()));
    foundAtRevision_ = history_.revision();
    delegate_->setWords(
        QString::fromStdString(filter_.foldedTyped()).split(u' ', Qt::SkipEmptyParts));
    history_.moveCurrentRow(-history_.shownCount()); // up as far as it goes: the first shown
}

} // namespace kobako::ui
