#pragma once

// Every message box goes through this layer: the desktop host shows a real dialog,
// the scenario runner prints it and answers as the script told, tests answer the
// same way.

#include <QString>

#include <memory>

namespace vantorel::platform {

enum class MessageIcon { Information, Warning, Error, Confirmation };
// YesNoCancel: a question whose Cancel (also Esc and the close box) undoes the step
// that asked it.
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

struct MessageRequest {
    QString caption;  // empty: the application's name
    QString text;
    MessageIcon icon = MessageIcon::Information;
    MessageButtons buttons = MessageButtons::Ok;
    QString checkBoxText;  // non-empty: the box has a check box with this caption
    bool checked = false;  // the check box's initial state
    // Of a Yes/No (or Yes/No/Cancel) box: the button that Enter presses (Yes unless set).
    MessageAnswer defaultAnswer = MessageAnswer::Yes;
};

struct MessageReply {
    MessageAnswer answer = MessageAnswer::Ok;
    bool checked = false;
};

class Prompts {
public:
    virtual ~Prompts() = default;
    virtual MessageReply show(const MessageRequest& request) = 0;
};

// The installed layer. Until one is installed, boxes are answered with their first
// button and written to standard error.
Prompts& prompts();
void installPrompts(std::shared_ptr<Prompts> layer);

// Shorthand for a box with a single OK button.
void showMessage(const QString& text, MessageIcon icon, const QString& caption = {});

// Whether the box asks Yes or No (with or without Cancel).
bool asksYesNo(MessageButtons buttons);

// Texts for transcripts: "information", "ok", ...
QString iconName(MessageIcon icon);
QString answerName(MessageAnswer answer);

}  // namespace vantorel::platform
