#pragma once

#include <QFont>
#include <QString>

#include <functional>

class QWidget;

namespace kobako::platform {

// The modal questions and messages of the program, and the documents it hands to the desktop,
// behind one seam so that tests can answer them and see what was shown. None waits: a dialog is
// shown and the program goes on (copies are still captured); the answer comes as a call.
class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // A message with an OK button; `closed`, when given, runs once it is closed.
    virtual void message(const QString &text, std::function<void()> closed = {}) = 0;
    // A question with Yes and No; `answered` runs with true for Yes.
    virtual void askYesNo(const QString &text, std::function<void(bool)> answered) = 0;
    // The font chooser, opened on `initial`: name, size, bold, italic and underline. `chosen`
    // runs only when the user takes a font.
    virtual void chooseFont(const QFont &initial, std::function<void(const QFont &)> chosen) = 0;
    // Opens a file with the program the desktop chooses for it; `unopened` runs later when
    // nothing could open it.
    virtual void openDocument(const QString &path, std::function<void()> unopened) = 0;
};

// Message boxes titled "Kobako", without icon.
class MessageBoxDialogs : public Dialogs {
  public:
    explicit MessageBoxDialogs(QWidget *parent) : parent_(parent) {}
    void message(const QString &text, std::function<void()> closed = {}) override;
    void askYesNo(const QString &text, std::function<void(bool)> answered) override;
    void chooseFont(const QFont &initial, std::function<void(const QFont &)> chosen) override;
    void openDocument(const QString &path, std::function<void()> unopened) override;

  private:
    QWidget *parent_;
};

} // namespace kobako::platform
