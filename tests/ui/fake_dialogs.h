#pragma once

#include "platform/dialogs.h"

#include <QStringList>

#include <deque>

namespace kobako::testing {

// Answers the program's questions from a queue (No when it is empty) and keeps what was shown.
class FakeDialogs : public platform::Dialogs {
  public:
    void message(const QString &text, std::function<void()> closed) override {
        shown << text;
        if (closed)
            closed();
    }
    void askYesNo(const QString &text, std::function<void(bool)> answered) override {
        shown << text;
        const bool answer = !answers.empty() && answers.front();
        if (!answers.empty())
            answers.pop_front();
        answered(answer);
    }

    void chooseFont(const QFont &initial, std::function<void(const QFont &)> chosen) override {
        fontOffered = initial;
        if (fontChosen)
            chosen(*fontChosen);
    }

    void openDocument(const QString &, std::function<void()>) override {}

    QStringList shown;
    QFont fontOffered;
    std::optional<QFont> fontChosen;
    std::deque<bool> answers;
};

} // namespace kobako::testing
