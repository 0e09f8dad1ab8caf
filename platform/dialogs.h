#pragma once

#include <QFont>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace kobako::platform {

// The modal questions and messages of the program, and the documents it hands to the desktop,
// behind one seam so that tests can answer them and see what was shown.
class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // A message with an OK button.
    virtual void message(const QString &text) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool askYesNo(const QString &text) = 0;
    // The font chooser, opened on `initial`: name, size, bold, italic and underline, or nothing
    // when the user cancels.
    virtual std::optional<QFont> chooseFont(const QFont &initial) = 0;
    // Opens a file with the program the desktop chooses for it; `unopened` runs later when
    // nothing could open it.
    virtual void openDocument(const QString &path, std::function<void()> unopened) = 0;
};

// Message boxes titled "Kobako", without icon.
class MessageBoxDialogs : public Dialogs {
  public:
    explicit MessageBoxDialogs(QWidget *parent) : parent_(parent) {}
    void message(const QString &text) override;
    bool askYesNo(const QString &text) override;
    std::optional<QFont> chooseFont(const QFont &initial) override;
    void openDocument(const QString &path, std::function<void()> unopened) override;

  private:
    QWidget *parent_;
};

} // namespace kobako::platform
