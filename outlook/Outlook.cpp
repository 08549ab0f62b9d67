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

MailItemPtr asMailItem(const ItemPtr& item) {
    return std::dynamic_pointer_cast<MailItem>(item);
}

TaskItemPtr asTaskItem(const ItemPtr& item) {
    return std::dynamic_pointer_cast<TaskItem>(item);
}

MeetingItemPtr asMeetingItem(const ItemPtr& item) {
    return std::dynamic_pointer_cast<MeetingItem>(item);
}

}  // namespace vantorel::outlook
