#include "fakes.h"

#include <gtest/gtest.h>

namespace gk::test {

std::string describe(const MessageBox& box) {
    static const char* const buttons[] = {"Ok", "YesNo", "YesNoCancel"};
    static const char* const icons[] = {"None", "Critical", "Exclamation", "Information"};
    return "[" + box.title.toStdString() + "] \"" + box.text.toStdString() + "\" " +
           buttons[static_cast<int>(box.buttons)] + " " + icons[static_cast<int>(box.icon)];
}

FakeDialogs::~FakeDialogs() {
    verify();
}

void FakeDialogs::verify() {
    for (const Expected& e : expected_)
        ADD_FAILURE() << "Expected box not shown: "
                      << (e.input ? e.inputBox.title.toStdString() : describe(e.message));
    expected_.clear();
}

void FakeDialogs::expectMessage(MessageBox box, Answer answer) {
    Expected e;
    e.message = std::move(box);
    e.answer = answer;
    expected_.push_back(std::move(e));
}

void FakeDialogs::expectInput(InputBox box, QString answer) {
    Expected e;
    e.input = true;
    e.inputBox = std::move(box);
    e.text = std::move(answer);
    expected_.push_back(std::move(e));
}

Answer FakeDialogs::messageBox(const MessageBox& box) {
    shown_.push_back(box);
    if (onShow)
        onShow(box);
    if (expected_.empty() || expected_.front().input) {
        if (anyMessage_)
            return *anyMessage_;
        ADD_FAILURE() << "Unexpected message box: " << describe(box);
        return box.buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
    Expected e = std::move(expected_.front());
    expected_.pop_front();
    EXPECT_EQ(describe(box), describe(e.message));
    EXPECT_EQ(box.secondButtonDefault, e.message.secondButtonDefault);
    return e.answer;
}

QString FakeDialogs::inputBox(const InputBox& box) {
    if (expected_.empty() || !expected_.front().input) {
        ADD_FAILURE() << "Unexpected input box: " << box.title.toStdString();
        return {};
    }
    Expected e = std::move(expected_.front());
    expected_.pop_front();
    EXPECT_EQ(box.title, e.inputBox.title);
    EXPECT_EQ(box.prompt, e.inputBox.prompt);
    EXPECT_EQ(box.defaultText, e.inputBox.defaultText);
    return e.text;
}

QString FakeSettings::getSetting(const QString& app, const QString& section, const QString& key,
                                 const QString& defaultValue) {
    EXPECT_EQ(app, QStringLiteral("Gridkeeper"));
    EXPECT_EQ(section, QStringLiteral("directories"));
    return values_.value(key, defaultValue);
}

void FakeSettings::saveSetting(const QString& app, const QString& section, const QString& key,
                               const QString& value) {
    EXPECT_EQ(app, QStringLiteral("Gridkeeper"));
    EXPECT_EQ(section, QStringLiteral("directories"));
    if (failSaves)
        throw RuntimeError(ErrorCode::PathFileAccess);
    ++saves;
    values_[key] = value;
}

void FaultyFileSystem::change(const char* kind, const QString& path) {
    ++changes;
    if ((failAt > 0 && changes == failAt) ||
        (!failPathContaining.isEmpty() && path.contains(failPathContaining))) {
        failed.insert(kind);
        if (crash)
            throw Crash{};
        throw RuntimeError(failure);
    }
}

void FaultyFileSystem::syncFile(int handle, const QString& path) {
    change("sync", path);
    (void)handle; // tests need no durability: no real sync, so they stay fast
}

QByteArray FaultyFileSystem::readFile(const QString& path) {
    if (!failPathContaining.isEmpty() && path.contains(failPathContaining))
        throw RuntimeError(failure);
    return QtFileSystem::readFile(path);
}

void FaultyFileSystem::writeFile(const QString& path, const QByteArray& data) {
    change("write", path);
    QtFileSystem::writeFile(path, data);
}

void FaultyFileSystem::copyFile(const QString& from, const QString& to) {
    change("copy", to);
    QtFileSystem::copyFile(from, to);
}

void FaultyFileSystem::linkOrCopyFile(const QString& from, const QString& to) {
    change("link", to);
    QtFileSystem::linkOrCopyFile(from, to);
}

void FaultyFileSystem::renameFile(const QString& from, const QString& to) {
    change("rename", to);
    QtFileSystem::renameFile(from, to);
}

void FaultyFileSystem::removeFile(const QString& path) {
    change("remove", path);
    QtFileSystem::removeFile(path);
}

std::vector<FolderEntry> FaultyFileSystem::listFolder(const QString& path) {
    if (!failPathContaining.isEmpty() && path.contains(failPathContaining))
        throw RuntimeError(failure);
    return QtFileSystem::listFolder(path);
}

} // namespace gk::test
