// SPDX-License-Identifier: GPL-3.0-or-later
// Message and input boxes as the program asks for them, and the boxes all share.
#pragma once

#include <QString>

namespace gk {

enum class Buttons { Ok, YesNo, YesNoCancel };
enum class Icon { None, Critical, Exclamation, Information };
enum class Answer { Ok, Yes, No, Cancel };

struct Message {
    QString text;
    QString title;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    bool secondButtonDefault = false;
    bool cancelDefault = false; // of Yes, No, Cancel: Cancel is the default

    bool operator==(const Message&) const = default;
};

struct InputBox {
    QString prompt;
    QString title;
    QString defaultText;

    bool operator==(const InputBox&) const = default;
};

// The title of the program's own messages.
inline QString appTitle() {
    return QStringLiteral("Gridkeeper");
}

// The box of run-time error `number` ("Error 61"), and of one met in `where` ("Error 61
// (fncCheckTracks)").
inline Message runtimeErrorBox(int number, const QString& description, const QString& where = {}) {
    QString title = QStringLiteral("Error %1").arg(number);
    if (!where.isEmpty())
        title += QStringLiteral(" (%1)").arg(where);
    return {description, title, Buttons::Ok, Icon::Critical};
}

// Modal message and input boxes.
class Dialogs {
  public:
    virtual ~Dialogs() = default;
    virtual Answer messageBox(const Message& box) = 0;
    // The text entered, or "" when the user cancels.
    virtual QString inputBox(const InputBox& box) = 0;
};

} // namespace gk
