#include "host/desktop/ItemView.h"

#include "tools/DateTime.h"

#include <QLocale>

namespace vantorel::host {

namespace {

QString row(const QString& name, const QString& value) {
    return QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>")
        .arg(name.toHtmlEscaped(), value.toHtmlEscaped());
}

}  // namespace

QString shortDate(outlook::DateTime value) {
    if (value >= outlook::kNoDate) {
        return {};
    }
    return tools::fromDateTime(value).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

QString itemHtml(const outlook::ItemPtr& item) {
    if (!item) {
        return {};
    }
    QString html =
        QStringLiteral("<h3>%1</h3><table cellspacing=\"2\">").arg(item->Subject().toHtmlEscaped());
    if (const auto mail = outlook::asMailItem(item)) {
        if (!mail->SenderEmailAddress().isEmpty()) {
            html +=
                row(QStringLiteral("From"), mail->SenderName() + QStringLiteral(" <") +
                                                mail->SenderEmailAddress() + QStringLiteral(">"));
        }
        html += row(QStringLiteral("To"), mail->To());
        if (!mail->CC().isEmpty()) {
            html += row(QStringLiteral("Cc"), mail->CC());
        }
        if (!mail->BCC().isEmpty()) {
            html += row(QStringLiteral("Bcc"), mail->BCC());
        }
        if (mail->SentOn() < outlook::kNoDate) {
            html += row(QStringLiteral("Sent"), shortDate(mail->SentOn()));
        }
        if (mail->ReceivedTime() < outlook::kNoDate && mail->ReceivedTime() != mail->SentOn()) {
            html += row(QStringLiteral("Received"), shortDate(mail->ReceivedTime()));
        }
    } else if (const auto task = outlook::asTaskItem(item)) {
        html += row(QStringLiteral("Start"), shortDate(task->StartDate()));
        html += row(QStringLiteral("Due"), shortDate(task->DueDate()));
        html += row(QStringLiteral("Complete"),
                    task->Complete() ? QStringLiteral("Yes") : QStringLiteral("No"));
        html += row(QStringLiteral("Categories"), task->Categories());
        html += row(QStringLiteral("Reminder"),
                    task->ReminderSet() ? shortDate(task->ReminderTime()) : QStringLiteral("None"));
    } else if (const auto meeting = outlook::asMeetingItem(item)) {
        html += row(QStringLiteral("From"), meeting->SenderName());
        html += row(QStringLiteral("Received"), shortDate(meeting->ReceivedTime()));
    }
    html += QStringLiteral("</table>");
    const outlook::UserPropertiesPtr props = item->UserProperties();
    if (props->Count() > 0) {
        html += QStringLiteral(
            "<hr><p><b>User properties</b></p>"
            "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">"
            "<tr><th align=\"left\">Name</th><th align=\"left\">Value</th></tr>");
        for (int i = 1; i <= props->Count(); ++i) {
            const outlook::UserPropertyPtr p = props->Item(i);
            html += QStringLiteral("<tr><td>%1</td><td>%2</td></tr>")
                        .arg(p->Name().toHtmlEscaped(), p->Value().toHtmlEscaped());
        }
        html += QStringLiteral("</table>");
    }
    QString body = item->Body();
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (!body.isEmpty()) {
        html += QStringLiteral("<hr><p style=\"white-space: pre-wrap\">%1</p>")
                    .arg(body.toHtmlEscaped());
    }
    return html;
}

}  // namespace vantorel::host
