#pragma once

// Message boxes in scripts: each is printed as it appears and answered as the script
// said with `answer` (default: OK, or Yes for a yes/no box; unticked).

#include "platform/Prompts.h"

#include <QTextStream>

#include <deque>
#include <optional>

namespace vantorel::host {

class ScenarioPrompts : public platform::Prompts {
public:
    explicit ScenarioPrompts(QTextStream& out) : out_(out) {}

    platform::MessageReply show(const platform::MessageRequest& request) override;

    // How the next box is answered.
    void queueAnswer(platform::MessageAnswer answer, bool tick);
    // A mistake of the script noticed while a box was answered (an answer that the
    // box does not offer); the runner reports it once the command has finished.
    std::optional<QString> takeScriptError();
    bool hasQueuedAnswers() const { return !answers_.empty(); }

private:
    struct Answer {
        platform::MessageAnswer answer;
        bool tick;
    };
    QTextStream& out_;
    std::deque<Answer> answers_;
    std::optional<QString> scriptError_;
};

}  // namespace vantorel::host
