#include "host/scenario/ScenarioPrompts.h"

#include "host/scenario/ScriptLexer.h"
#include "tools/TranscriptText.h"

namespace vantorel::host {

using platform::MessageAnswer;
using platform::MessageButtons;

platform::MessageReply ScenarioPrompts::show(const platform::MessageRequest& request) {
    const bool yesNo = platform::asksYesNo(request.buttons);
    const bool withCancel = request.buttons == MessageButtons::YesNoCancel;
    const bool hasCheckBox = !request.checkBoxText.isEmpty();
    platform::MessageReply reply{yesNo ? MessageAnswer::Yes : MessageAnswer::Ok, request.checked};
    if (!answers_.empty()) {
        const Answer a = answers_.front();
        answers_.pop_front();
        const bool offered = !yesNo                              ? a.answer == MessageAnswer::Ok
                             : a.answer == MessageAnswer::Cancel ? withCancel
                                                                 : a.answer != MessageAnswer::Ok;
        if (!offered && !scriptError_) {
            scriptError_ = QStringLiteral("answer %1: the box \"%2\" offers %3")
                               .arg(platform::answerName(a.answer), request.text,
                                    withCancel ? QStringLiteral("yes, no or cancel")
                                    : yesNo    ? QStringLiteral("yes or no")
                                               : QStringLiteral("ok"));
        } else if (offered) {
            reply.answer = a.answer;
        }
        if (a.tick) {
            if (!hasCheckBox && !scriptError_) {
                scriptError_ = QStringLiteral("answer ... tick: the box \"%1\" has no check box")
                                   .arg(request.text);
            }
            reply.checked = hasCheckBox;
        }
    }
    out_ << "msgbox " << platform::iconName(request.icon) << " \""
         << tools::escapeTranscriptText(request.text) << '"';
    if (yesNo || hasCheckBox) {
        out_ << " -> " << platform::answerName(reply.answer);
        if (reply.checked) {
            out_ << " ticked";
        }
    }
    out_ << '\n';
    return reply;
}

void ScenarioPrompts::queueAnswer(MessageAnswer answer, bool tick) {
    answers_.push_back(Answer{answer, tick});
}

std::optional<QString> ScenarioPrompts::takeScriptError() {
    return std::exchange(scriptError_, std::nullopt);
}

}  // namespace vantorel::host
