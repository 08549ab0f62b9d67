#include "reminders/AutomaticReplies.h"

#include "reminders/TrackingProperties.h"
#include "tools/DateTime.h"

#include <QRegularExpression>
#include <QStringList>

namespace vantorel {

bool IsAutomaticMessageClass(const QString& messageClass) {
    static const QStringList kAutomatic = {
        QStringLiteral("IPM.Note.Rules.OofTemplate.Microsoft"),
        QStringLiteral("IPM.Note.Rules.ReplyTemplate.Microsoft"),
    };
    for (const QString& automatic : kAutomatic) {
        if (messageClass.compare(automatic, Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    // Delivery and read reports: "IPM.Report.*" as written here, "REPORT.IPM.Note.NDR"
    // and the like as the mail server writes them.
    return messageClass.startsWith(QLatin1String("IPM.Report."), Qt::CaseInsensitive) ||
           messageClass.startsWith(QLatin1String("REPORT."), Qt::CaseInsensitive);
}

std::optional<QString> InternetHeader(const QString& headers, const QString& name) {
    const QStringList lines = headers.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r'))) {
            line.chop(1);
        }
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon <= 0 || line[0].isSpace() ||
            QStringView(line).left(colon).trimmed().compare(name, Qt::CaseInsensitive) != 0) {
            continue;
        }
        QString value = line.mid(colon + 1);
        // A line that starts with a blank continues the header before it.
        while (i + 1 < lines.size() && !lines[i + 1].isEmpty() &&
               (lines[i + 1][0] == QLatin1Char(' ') || lines[i + 1][0] == QLatin1Char('\t'))) {
            QString next = lines[++i];
            if (next.endsWith(QLatin1Char('\r'))) {
                next.chop(1);
            }
            value += next;
        }
        return value.trimmed();
    }
    return std::nullopt;
}

bool IsAutomaticByHeaders(const QString& headers) {
    if (const std::optional<QString> submitted =
            InternetHeader(headers, QStringLiteral("Auto-Submitted"))) {
        // "auto-replied; owner-email=...", "no (a comment)": the keyword comes first.
        static const QRegularExpression kKeyword(QStringLiteral("^[^;(\\s]*"));
        const QString keyword = kKeyword.match(*submitted).captured(0);
        if (keyword.compare(QLatin1String("no"), Qt::CaseInsensitive) != 0) {
            return true;
        }
    }
    if (const std::optional<QString> precedence =
            InternetHeader(headers, QStringLiteral("Precedence"))) {
        for (const char* automatic : {"auto_reply", "bulk", "junk"}) {
            if (precedence->compare(QLatin1String(automatic), Qt::CaseInsensitive) == 0) {
                return true;
            }
        }
    }
    return false;
}

bool IsAutomaticReply(outlook::MailItem& message) {
    if (IsAutomaticMessageClass(message.MessageClass())) {
        return true;
    }
    QString headers;
    try {
        headers = message.PropertyAccessor()->GetProperty(outlook::PR_TRANSPORT_MESSAGE_HEADERS);
    } catch (const std::exception&) {
        return false;  // written or sent here: no headers to go by
    }
    return IsAutomaticByHeaders(headers);
}

void RecordAutoReply(outlook::TaskItem& task, outlook::MailItem& message) {
    const outlook::DateTime received = message.ReceivedTime();
    const QString seconds =
        tools::fitsMailDate(received) ? tools::localUnixSecondsText(received) : QStringLiteral("0");
    const QString sender =
        QStringLiteral("%1 <%2>").arg(message.SenderName(), message.SenderEmailAddress());
    WriteTrackingProperty(task, TrackingProperty::AutoReply, sender + QLatin1Char('|') + seconds);
    task.Save();
}

bool HasAutoReply(outlook::TaskItem& task) {
    try {
        return ReadTrackingProperty(task, TrackingProperty::AutoReply).has_value();
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace vantorel
