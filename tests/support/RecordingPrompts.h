#pragma once

// A prompts layer for tests: records every box and answers from a queue (default:
// the first button, check box as it was), installed while the object lives.

#include "platform/Prompts.h"

#include <deque>
#include <memory>
#include <vector>

namespace vantorel::test {

class RecordingPrompts : public platform::Prompts {
public:
    platform::MessageReply show(const platform::MessageRequest& request) override {
        shown.push_back(request);
        if (!answers.empty()) {
            const platform::MessageReply reply = answers.front();
            answers.pop_front();
            return reply;
        }
        return {platform::asksYesNo(request.buttons) ? platform::MessageAnswer::Yes
                                                     : platform::MessageAnswer::Ok,
                request.checked};
    }

    std::vector<platform::MessageRequest> shown;
    std::deque<platform::MessageReply> answers;
};

// Installs a RecordingPrompts for the scope.
class PromptsScope {
public:
    PromptsScope() : prompts(std::make_shared<RecordingPrompts>()) {
        platform::installPrompts(prompts);
    }
    ~PromptsScope() { platform::installPrompts(nullptr); }
    RecordingPrompts* operator->() { return prompts.get(); }
    std::shared_ptr<RecordingPrompts> prompts;
};

}  // namespace vantorel::test
