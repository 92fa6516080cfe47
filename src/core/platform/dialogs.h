#pragma once

#include <QString>

namespace gk {

enum class Buttons { Ok, YesNo, YesNoCancel };
enum class Icon { None, Critical, Exclamation, Information };
enum class Answer { Ok, Yes, No, Cancel };

struct MessageBox {
    QString text;
    QString title;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    bool secondButtonDefault = false;
    bool cancelDefault = false; // of Yes, No, Cancel: Cancel is the default

    bool operator==(const MessageBox&) const = default;
};

struct InputBox {
    QString prompt;
    QString title;
    QString defaultText;

    bool operator==(const InputBox&) const = default;
};

// Modal message and input boxes.
class Dialogs {
  public:
    virtual ~Dialogs() = default;
    virtual Answer messageBox(const MessageBox& box) = 0;
    // The text entered, or "" when the user cancels.
    virtual QString inputBox(const InputBox& box) = 0;
};

} // namespace gk
