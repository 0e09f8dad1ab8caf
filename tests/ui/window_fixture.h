#pragma once

#include "fake_dialogs.h"
#include "platform/clipboard.h"
#include "storage/files.h"
#include "ui/history_window.h"

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

namespace kobako::testing {

inline void writeFile(const QString &path, const std::string &bytes) {
    std::ofstream(path.toStdString(), std::ios::binary) << bytes;
}

inline std::string readFile(const QString &path) {
    return storage::readWholeFile(path.toStdString()).value_or("");
}

// The history window started as the program starts it, in a directory of its own.
class HistoryWindowTest : public ::testing::Test {
  protected:
    HistoryWindowTest() {
        previousDirectory_ = QDir::currentPath();
        QDir::setCurrent(directory_.path());
        QGuiApplication::clipboard()->clear();
    }
    ~HistoryWindowTest() override { QDir::setCurrent(previousDirectory_); }

    // Starts the window as the program does, with whatever files the test wrote first.
    void start() {
        window_ = std::make_unique<ui::HistoryWindow>(
            settings_, clipboard_, clipboard_, dialogs_,
            storage::FileNames{directory_.path().toStdString(), "kobako"});
        window_->load();
        window_->showAtStart();
        QCoreApplication::processEvents();
    }

    // Another program copies a text.
    void copyElsewhere(const QString &text) {
        QGuiApplication::clipboard()->setText(text);
        QCoreApplication::processEvents();
    }
    QString clipboardText() const { return QGuiApplication::clipboard()->text(); }

    QListView *list() const {
        return window_->findChild<QListView *>(QStringLiteral("historyList"));
    }
    QPlainTextEdit *slotText(int i) const {
        return window_->findChild<QPlainTextEdit *>(QStringLiteral("slotText%1").arg(i));
    }
    QCheckBox *slotMark(int i) const {
        return window_->findChild<QCheckBox *>(QStringLiteral("slotMark%1").arg(i));
    }
    void clickRow(int row, Qt::MouseButton button = Qt::LeftButton,
                  Qt::KeyboardModifiers modifiers = {}) {
        const QRect rect = list()->visualRect(list()->model()->index(row, 0));
        QTest::mouseClick(list()->viewport(), button, modifiers, rect.center());
    }
    QString path(const char *name) const { return directory_.filePath(QString::fromUtf8(name)); }

    QTemporaryDir directory_;
    QString previousDirectory_;
    Settings settings_;
    platform::Clipboard clipboard_{nullptr};
    FakeDialogs dialogs_;
    std::unique_ptr<ui::HistoryWindow> window_;
};

} // namespace kobako::testing
