#include "host/scenario/Transcript.h"

#include "host/scenario/ScriptLexer.h"
#include "tools/DateTime.h"
#include "tools/TranscriptText.h"

namespace vantorel::host {

namespace {

QString yesNo(bool value) {
    return value ? QStringLiteral("yes") : QStringLiteral("no");
}

// "  Name: value", without a trailing blank when the value is empty.
QString field(const char* name, const QString& value) {
    return QStringLiteral("  %1:%2%3\n")
        .arg(QLatin1String(name), value.isEmpty() ? QString() : QStringLiteral(" "), value);
}

void printUserProperties(QTextStream& out, const outlook::ItemPtr& item) {
    const outlook::UserPropertiesPtr props = item->UserProperties();
    for (int i = 1; i <= props->Count(); ++i) {
        const outlook::UserPropertyPtr p = props->Item(i);
        out << "  user " << p->Name() << " = \"" << tools::escapeTranscriptText(p->Value())
            << "\"\n";
    }
}

void printTask(QTextStream& out, int number, const outlook::TaskItemPtr& task) {
    out << "task " << number << '\n'
        << field("EntryID", task->EntryID()) << field("Subject", task->Subject())
        << "  StartDate: " << formatDate(task->StartDate()) << '\n'
        << "  DueDate: " << formatDate(task->DueDate()) << '\n'
        << "  Importance: " << task->Importance() << '\n'
        << field("Categories", task->Categories()) << "  Complete: " << yesNo(task->Complete())
        << '\n'
        << "  ReminderSet: " << yesNo(task->ReminderSet()) << '\n'
        << "  ReminderTime: " << formatDate(task->ReminderTime()) << '\n'
        << "  Body: \"" << tools::escapeTranscriptText(task->Body()) << "\"\n";
    printUserProperties(out, task);
}

void printMail(QTextStream& out, int number, const outlook::MailItemPtr& mail) {
    out << "mail " << number << '\n'
        << field("EntryID", mail->EntryID()) << field("Subject", mail->Subject())
        << field("To", mail->To()) << field("CC", mail->CC()) << field("BCC", mail->BCC())
        << "  Body: \"" << tools::escapeTranscriptText(mail->Body()) << "\"\n";
    printUserProperties(out, mail);
}

void printMeeting(QTextStream& out, int number, const outlook::MeetingItemPtr& meeting) {
    out << "meeting " << number << '\n'
        << field("EntryID", meeting->EntryID()) << field("Subject", meeting->Subject())
        << field("From", meeting->SenderEmailAddress()) << "  Body: \""
        << tools::escapeTranscriptText(meeting->Body()) << "\"\n";
    printUserProperties(out, meeting);
}

}  // namespace

QString formatDate(outlook::DateTime value) {
    if (value >= outlook::kNoDate) {
        return QStringLiteral("none");
    }
    return tools::fromDateTime(value).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

void printItem(QTextStream& out, int number, const outlook::ItemPtr& item) {
    if (const auto task = outlook::asTaskItem(item)) {
        printTask(out, number, task);
    } else if (const auto mail = outlook::asMailItem(item)) {
        printMail(out, number, mail);
    } else if (const auto meeting = outlook::asMeetingItem(item)) {
        printMeeting(out, number, meeting);
    }
}

void printFolder(QTextStream& out, const outlook::MAPIFolderPtr& folder) {
    const outlook::ItemsPtr items = folder->Items();
    for (int i = 1; i <= items->Count(); ++i) {
        printItem(out, i, items->Item(i));
    }
}

void printRibbon(QTextStream& out, const std::vector<RibbonTab*>& tabs) {
    auto line = [&out](const RibbonTab& tab, const RibbonControl& c) {
        out << "ribbon " << tab.idMso << '/' << c.Caption() << " visible=" << yesNo(c.Visible())
            << " enabled=" << yesNo(c.Enabled()) << " image=" << c.Image() << " tip=\""
            << tools::escapeTranscriptText(c.ScreenTip()) << "\"\n";
    };
    for (const RibbonTab* tab : tabs) {
        line(*tab, tab->group);
        for (const auto& button : tab->controls) {
            line(*tab, *button);
        }
    }
}

}  // namespace vantorel::host
