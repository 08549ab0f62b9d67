#include "reminders/FollowUp.h"

namespace vantorel {

QString ExpandReplyTemplate(const outlook::TaskItemPtr&, const QString& sTemplate) {
    return sTemplate;
}

void ComposeFollowUp(const outlook::TaskItemPtr&, const QString&) {}

void CloseOutTask(const outlook::TaskItemPtr&) {}

}  // namespace vantorel
