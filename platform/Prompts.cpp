#include "platform/Prompts.h"

#include <cstdio>

namespace vantorel::platform {

namespace {

class StandardErrorPrompts : public Prompts {
public:
    MessageReply show(const MessageRequest& request) override {
        std::fprintf(stderr, "%s: %s\n", qPrintable(iconName(request.icon)),
                     qPrintable(request.text));
        return MessageReply{asksYesNo(request.buttons) ? MessageAnswer::Yes : MessageAnswer::Ok,
                            request.checked};
    }
};

std::shared_ptr<Prompts>& installed() {
    static std::shared_ptr<Prompts> layer = std::make_shared<StandardErrorPrompts>();
    return layer;
}

}  // namespace

Prompts& prompts() {
    return *installed();
}

void installPrompts(std::shared_ptr<Prompts> layer) {
    installed() = layer ? std::move(layer) : std::make_shared<StandardErrorPrompts>();
}

void showMessage(const QString& text, MessageIcon icon, const QString& caption) {
    MessageRequest request;
    request.caption = caption;
    request.text = text;
    request.icon = icon;
    prompts().show(request);
}

bool asksYesNo(MessageButtons buttons) {
    return buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel;
}

QString iconName(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QStringLiteral("information");
        case MessageIcon::Warning:
            return QStringLiteral("warning");
        case MessageIcon::Error:
            return QStringLiteral("error");
        case MessageIcon::Confirmation:
            return QStringLiteral("confirmation");
    }
    return {};
}

QString answerName(MessageAnswer answer) {
    switch (answer) {
        case MessageAnswer::Ok:
            return QStringLiteral("ok");
        case MessageAnswer::Yes:
            return QStringLiteral("yes");
        case MessageAnswer::No:
            return QStringLiteral("no");
        case MessageAnswer::Cancel:
            return QStringLiteral("cancel");
    }
    return {};
}

}  // namespace vantorel::platform
