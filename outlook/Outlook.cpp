#include "outlook/Outlook.h"

namespace vantorel::outlook {

OutlookError::OutlookError(const QString& text)
    : std::runtime_error(text.toStdString()), text_(text) {}

Application::~Application() = default;
NameSpace::~NameSpace() = default;
Folders::~Folders() = default;
MAPIFolder::~MAPIFolder() = default;
Items::~Items() = default;
Item::~Item() = default;
PropertyAccessor::~PropertyAccessor() = default;
UserProperties::~UserProperties() = default;
UserProperty::~UserProperty() = default;
Recipients::~Recipients() = default;
Recipient::~Recipient() = default;
AddressEntry::~AddressEntry() = default;
Inspector::~Inspector() = default;
Categories::~Categories() = default;
Category::~Category() = default;
Explorers::~Explorers() = default;
Inspectors::~Inspectors() = default;

InspectorsPtr Application::Inspectors() {
    throw OutlookError(QStringLiteral("The mail client does not list its inspector windows."));
}

MailItemPtr asMailItem(const ItemPtr& item) {
    MailItem* mail = item ? item->queryMailItem() : nullptr;
    return mail ? MailItemPtr(item, mail) : nullptr;
}

TaskItemPtr asTaskItem(const ItemPtr& item) {
    TaskItem* task = item ? item->queryTaskItem() : nullptr;
    return task ? TaskItemPtr(item, task) : nullptr;
}

MeetingItemPtr asMeetingItem(const ItemPtr& item) {
    MeetingItem* meeting = item ? item->queryMeetingItem() : nullptr;
    return meeting ? MeetingItemPtr(item, meeting) : nullptr;
}

QString UserPropertySchemaName(const QString& name) {
    return QStringLiteral(
               "http://schemas.microsoft.com/mapi/string/"
               "{00020329-0000-0000-C000-000000000046}/") +
           name;
}

QString UserPropertyFilter(const QString& name, const QString& text) {
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    // Typed as a text: a user property that is not a field of the folder is known to
    // the mail client's filters only with its type.
    return QStringLiteral("@SQL=\"%1/0000001f\" = '%2'").arg(UserPropertySchemaName(name), quoted);
}

}  // namespace vantorel::outlook
