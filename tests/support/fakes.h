// SPDX-License-Identifier: GPL-3.0-or-later
// Fakes of the platform interfaces that record what the code asked of them.
#pragma once

#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/processes.h"
#include "platform/qt_file_system.h"
#include "platform/runtime_error.h"
#include "platform/settings_store.h"
#include "platform/shell.h"

#include <QMap>
#include <deque>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>

namespace gk::test {

// An OK box titled "Gridkeeper"; the box of run-time error `number`; a run-time error met by a
// step of start-up, shown with its description alone.
inline Message gkBox(const QString& text, MessageKind kind = MessageKind::Refusal,
                     Icon icon = Icon::Exclamation) {
    return {text, QStringLiteral("Gridkeeper"), Buttons::Ok, icon, kind};
}
inline Message errorBox(int number, const QString& text) {
    return {text, QStringLiteral("Error %1").arg(number), Buttons::Ok, Icon::Critical,
            MessageKind::RuntimeError};
}
inline Message startupErrorBox(const QString& text) {
    return gkBox(text, MessageKind::RuntimeError, Icon::None);
}
// A write's success; the question on closing with unsaved changes; a write refused while the
// game runs an inactive track.
// clang-format off
inline const Message kCreatedBox = gkBox(QStringLiteral("67season.ini created"), MessageKind::Information, Icon::Information);
inline const Message kClosingQuestion{QStringLiteral("You haven't saved your changes so far. Do you want to create the new 67season.ini now?"),
                                         QStringLiteral("Gridkeeper"), Buttons::YesNoCancel, Icon::Exclamation, QuestionId::SaveBeforeClosing};
inline const Message kRunRefusal = gkBox(QStringLiteral("GPL is running an inactive track: 67season.ini holds a temporary season until the game ends.\r\n\r\nNothing was written. Save again after GPL has ended."));
// clang-format on

// Message and input boxes answered from a queue of expectations. A box the test did not
// expect, or one that differs from the expected one (its kind or question included), fails the
// test.
class FakeDialogs : public Dialogs {
  public:
    ~FakeDialogs() override { verify(); }
    void expectMessage(Message box, Answer answer = Answer::Ok) {
        expected_.push_back({{}, std::move(box), answer, {}});
    }
    void expectInput(InputBox box, QString answer) {
        expected_.push_back({std::move(box), {}, Answer::Ok, std::move(answer)});
    }
    // Accepts any message box with this answer (for steps that are not under test).
    void allowAnyMessage(Answer answer) { anyMessage_ = answer; }
    Answer messageBox(const Message& box) override;
    QString inputBox(const InputBox& box) override;
    std::function<void(const Message&)> onShow; // called with every message box shown
    const std::vector<Message>& shown() const { return shown_; }
    // Fails the test when expected boxes were not shown, and forgets them.
    void verify();

  private:
    struct Expected {
        std::optional<InputBox> input;
        std::optional<Message> message;
        Answer answer;
        QString text;
    };
    std::deque<Expected> expected_;
    std::vector<Message> shown_;
    std::optional<Answer> anyMessage_;
};

// Settings of application Gridkeeper, section directories, by key.
class FakeSettings : public SettingsStore {
  public:
    QString getSetting(const QString& app, const QString& section, const QString& key,
                       const QString& defaultValue) override;
    void saveSetting(const QString& app, const QString& section, const QString& key,
                     const QString& value) override;
    QString value(const QString& key) const { return values_.value(key); }
    void set(const QString& key, const QString& value) { values_[key] = value; }

  private:
    QMap<QString, QString> values_;
};

class FakeShell : public Shell {
  public:
    void setBusyPointer(bool busy) override { busyDepth += busy ? 1 : -1; }
    void centerMainWindow() override { ++centred; }
    void openUrl(const QString& url) override { opened.push_back(url); }
    int busyDepth = 0, centred = 0;
    std::vector<QString> opened;
};

// Game processes that only record: each start runs `duringGame` (if any) as the game, or
// fails with `failStart`.
class FakeProcesses : public ProcessRunner, public GameWindow {
  public:
    void startAndWait(const QString& commandLine, const QString& workingDir) override {
        if (failStart)
            throw RuntimeError(*failStart);
        started.push_back(commandLine + QLatin1Char('|') + workingDir);
        if (duringGame)
            duringGame();
    }
    QString pathSeenByGame(const QString& folder) override {
        return gameSide.isEmpty() ? folder : gameSide;
    }
    bool gameRunning(const QString&) override { return running; }
    QString gameSide; // the game folder as the game sees it; the folder itself when empty
    std::vector<QString> started; // "command line|working directory"
    std::function<void()> duringGame;
    std::optional<ErrorCode> failStart;
    bool running = false;
};

// The real file system with one operation made to fail: the Nth call (from 1) of the
// operations that change something (a sync of written data or of a folder included), or every
// one on a path containing a text. With `crash` the failing operation throws Crash instead: the
// program dies there.
class FaultyFileSystem : public QtFileSystem {
  public:
    struct Crash {};
    int failAt = 0;  // 0: never
    int changes = 0; // changing operations seen
    ErrorCode failure = ErrorCode::DiskFull;
    bool crash = false;
    QString failPathContaining;
    std::set<std::string> failed; // the kinds of operation made to fail
    QStringList log;              // "kind name" of every change, in order (name: the last part)

    void writeFile(const QString& path, const QByteArray& data) override {
        change("write", path), QtFileSystem::writeFile(path, data);
    }
    void copyFile(const QString& from, const QString& to) override {
        change("copy", to), QtFileSystem::copyFile(from, to);
    }
    void linkOrCopyFile(const QString& from, const QString& to) override {
        change("link", to), QtFileSystem::linkOrCopyFile(from, to);
    }
    void renameFile(const QString& from, const QString& to) override {
        change("rename", to), QtFileSystem::renameFile(from, to);
    }
    void removeFile(const QString& path) override {
        change("remove", path), QtFileSystem::removeFile(path);
    }
    void makeFolder(const QString& path) override {
        change("mkdir", path), QtFileSystem::makeFolder(path);
    }
    // At once, each counted as a removal: a removal that fails after the write is as good as
    // one that never comes.
    void removeLater(const QStringList& paths, std::shared_ptr<void>) override {
        for (const QString& path : paths) {
            try {
                removeFile(path);
            } catch (const RuntimeError&) {
            }
        }
    }
    void syncFolder(const QString& path) override { change("sync", path); }
    // Runs once, right before the next folder lock is taken: another writer's change that
    // lands at that moment.
    std::function<void()> beforeLock;
    std::shared_ptr<void> lockFolder(const QString& path) override {
        if (auto hook = std::exchange(beforeLock, nullptr))
            hook();
        return QtFileSystem::lockFolder(path);
    }

  protected:
    // Tests need no durability: no real sync, so they stay fast.
    void syncFile(int, const QString& path) override { change("sync", path); }

  private:
    void change(const char* kind, const QString& path);
};

} // namespace gk::test
