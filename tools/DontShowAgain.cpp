#include "tools/DontShowAgain.h"

#include "tools/Globals.h"

namespace vantorel {

platform::MessageAnswer ShowMessageWithDontShowAgain(const QString& sMessage, bool* bChecked) {
    platform::MessageRequest request;
    request.caption = AddInName;
    request.text = sMessage;
    request.icon = platform::MessageIcon::Information;
    request.buttons = platform::MessageButtons::Ok;
    request.checkBoxText = DontShowAgainText;
    request.checked = false;
    const platform::MessageReply reply = platform::prompts().show(request);
    if (bChecked != nullptr) {
        *bChecked = reply.checked;
    }
    return reply.answer;
}

}  // namespace vantorel
