#pragma once

#include "platform/dialogs.h"

#include <QStringList>

#include <deque>

namespace kobako::testing {

// Answers the program's questions from a queue (No when it is empty) and keeps what was shown.
class FakeDialogs : public platform::Dialogs {
  public:
    void message(const QString &text) override { shown << text; }
    bool askYesNo(const QString &text) override {
        shown << text;
        if (answers.empty())
            return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::optional<QFont> chooseFont(const QFont &initial) override {
        fontOffered = initial;
        return fontChosen;
    }

    void openDocument(const QString &path, std::function<void()> unopened) override {
        opened << path;
        if (!opens)
            unopened();
    }

    QStringList shown;
    QStringList opened;
    bool opens = true;
    QFont fontOffered;
    std::optional<QFont> fontChosen;
    std::deque<bool> answers;
};

} // namespace kobako::testing
