// SPDX-License-Identifier: GPL-3.0-or-later
// Fakes of the platform interfaces that record what the code asked of them.
#include "fakes.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>

namespace gk::test {
namespace {

// Every field of a box, enumerations by number (QuestionId, or MessageKind after "kind").
std::string describe(const Message& box) {
    const auto* question = std::get_if<QuestionId>(&box.meaning);
    const std::string meaning =
        question ? "question " + std::to_string(static_cast<int>(*question))
                 : "kind " + std::to_string(static_cast<int>(std::get<MessageKind>(box.meaning)));
    return "[" + box.title.toStdString() + "] \"" + box.text.toStdString() + "\" buttons " +
           std::to_string(static_cast<int>(box.buttons)) + " icon " +
           std::to_string(static_cast<int>(box.icon)) + " " + meaning +
           (box.secondButtonDefault ? " (second button default)" : "") +
           (box.cancelDefault ? " (Cancel default)" : "");
}

} // namespace

void FakeDialogs::verify() {
    for (const Expected& e : expected_)
        ADD_FAILURE() << "Expected box not shown: "
                      << (e.input ? e.input->title.toStdString() : describe(*e.message));
    expected_.clear();
}

Answer FakeDialogs::messageBox(const Message& box) {
    shown_.push_back(box);
    if (onShow)
        onShow(box);
    if (expected_.empty() || expected_.front().input) {
        if (!anyMessage_)
            ADD_FAILURE() << "Unexpected message box: " << describe(box);
        return anyMessage_.value_or(box.buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel);
    }
    const Expected e = expected_.front();
    expected_.pop_front();
    EXPECT_EQ(describe(box), describe(*e.message));
    return e.answer;
}

QString FakeDialogs::inputBox(const InputBox& box) {
    if (expected_.empty() || !expected_.front().input) {
        ADD_FAILURE() << "Unexpected input box: " << box.title.toStdString();
        return {};
    }
    const Expected e = expected_.front();
    expected_.pop_front();
    EXPECT_TRUE(box == *e.input) << box.title.toStdString() << ": " << box.prompt.toStdString()
                                 << " [" << box.defaultText.toStdString() << "]";
    return e.text;
}

QString FakeSettings::getSetting(const QString& app, const QString& section, const QString& key,
                                 const QString& defaultValue) {
    EXPECT_EQ(app + QLatin1Char('/') + section, QStringLiteral("Gridkeeper/directories"));
    return values_.value(key, defaultValue);
}

void FakeSettings::saveSetting(const QString& app, const QString& section, const QString& key,
                               const QString& value) {
    EXPECT_EQ(app + QLatin1Char('/') + section, QStringLiteral("Gridkeeper/directories"));
    values_[key] = value;
}

void FaultyFileSystem::change(const char* kind, const QString& path) {
    log << QString::fromLatin1(kind) + u' ' +
               path.mid(std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/')) + 1);
    if (++changes != failAt && (failPathContaining.isEmpty() || !path.contains(failPathContaining)))
        return;
    failed.insert(kind);
    if (crash)
        throw Crash{};
    throw RuntimeError(failure);
}

} // namespace gk::test
