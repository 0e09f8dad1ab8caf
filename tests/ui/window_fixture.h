#pragma once

#include "fake_dialogs.h"
#include "platform/clipboard.h"
#include "ui/form1.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QListView>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace kobako::testing {

inline void writeFile(const QString &path, const std::string &bytes) {
    std::ofstream(path.toStdString(), std::ios::binary) << bytes;
}

inline std::string readFile(const QString &path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The history window started as the program starts it, in a directory of its own.
class Form1Test : public ::testing::Test {
  protected:
    Form1Test() {
        previousDirectory_ = QDir::currentPath();
        QDir::setCurrent(directory_.path());
        QGuiApplication::clipboard()->clear();
    }
    ~Form1Test() override { QDir::setCurrent(previousDirectory_); }

    // Starts the window as the program does, with whatever files the test wrote first.
    void start() {
        form_ = std::make_unique<ui::Form1>(settings_, clipboard_, dialogs_,
                                            FileNames{directory_.path().toStdString(), "kobako"});
        form_->Form_Load();
        form_->showAtStart();
        QCoreApplication::processEvents();
    }

    // Another program copies a text.
    void copyElsewhere(const QString &text) {
        QGuiApplication::clipboard()->setText(text);
        QCoreApplication::processEvents();
    }
    QString clipboardText() const { return QGuiApplication::clipboard()->text(); }

    QListView *list() const { return form_->findChild<QListView *>(QStringLiteral("List1")); }
    QPlainTextEdit *slotText(int i) const {
        return form_->findChild<QPlainTextEdit *>(QStringLiteral("Text1_%1").arg(i));
    }
    QCheckBox *slotCheck(int i) const {
        return form_->findChild<QCheckBox *>(QStringLiteral("Check1_%1").arg(i));
    }
    void clickRow(int row, Qt::MouseButton button = Qt::LeftButton,
                  Qt::KeyboardModifiers modifiers = {}) {
        const QRect rect = list()->visualRect(list()->model()->index(row, 0));
        QTest::mouseClick(list()->viewport(), button, modifiers, rect.center());
    }
    std::vector<std::string> listTexts() const {
        std::vector<std::string> texts;
        for (const auto &entry : form_->history().list)
            texts.push_back(entry.text);
        return texts;
    }
    QString path(const char *name) const { return directory_.filePath(QString::fromUtf8(name)); }

    QTemporaryDir directory_;
    QString previousDirectory_;
    Settings settings_;
    platform::Clipboard clipboard_{nullptr};
    FakeDialogs dialogs_;
    std::unique_ptr<ui::Form1> form_;
};

} // namespace kobako::testing
