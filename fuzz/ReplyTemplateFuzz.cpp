// ExpandReplyTemplate on any template, for a tracking task of the mail engine whose
// "Recipients" and "FirstSent" hold any text (or are missing), in each regional
// format. A template without placeholders comes back unchanged.

#include "fuzz/FuzzInput.h"
#include "host/engine/Engine.h"
#include "reminders/FollowUp.h"
#include "reminders/TrackingProperties.h"

#include <QTemporaryDir>

#include <memory>

using namespace vantorel;
namespace ol = vantorel::outlook;

namespace {
ol::ApplicationPtr mailClient() {
    static QTemporaryDir dir;
    static engine::Engine mailbox(dir.filePath(QStringLiteral("mailbox.db")));
    static const ol::ApplicationPtr app = mailbox.application();
    return app;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::setUp();
    fuzz::FuzzInput in(data, size);
    fuzz::useLocale(in.byte());
    const std::uint8_t which = in.byte();
    const QString recipients = in.text();
    const QString firstSent = in.text();
    const QString text = in.rest();

    const ol::TaskItemPtr task = ol::asTaskItem(mailClient()->CreateItem(ol::olTaskItem));
    if ((which & 1) != 0) {
        WriteTrackingProperty(*task, TrackingProperty::Recipients, recipients);
    }
    if ((which & 2) != 0) {
        WriteTrackingProperty(*task, TrackingProperty::FirstSent, firstSent);
    }
    const QString expanded = ExpandReplyTemplate(task, text);
    if (!text.contains(QLatin1String("&["))) {
        fuzz::check(expanded == text, "a template without placeholders stays as it is", text,
                    expanded);
    }
    return 0;
}
