// The subject of a tracking task: header, To recipients by name or address, the
// message's subject, the date and time of sending.

#include "ReminderFixture.h"

using namespace vantorel;
using namespace vantorel::test;

namespace {

struct SubjectCase {
    const char* name;
    const char* to;
    const char* cc;
    const char* header;
    bool names;
    bool addresses;
    bool date;
    bool time;
    const char* expected;
    const char* taskSubject = "";  // the new task's subject before filling
};
void PrintTo(const SubjectCase& c, std::ostream* os) {
    *os << c.name;
}

class TaskSubject : public ReminderTest, public ::testing::WithParamInterface<SubjectCase> {};

QString text(const char* s) {
    return QString::fromUtf8(s);
}

}  // namespace

TEST_P(TaskSubject, IsComposedFromTheOptions) {
    const SubjectCase& c = GetParam();
    MessageFields fields;
    fields.to = text(c.to);
    fields.cc = text(c.cc);
    fields.bcc = QStringLiteral("Bea Berg <bea@example.com>");
    const ol::MailItemPtr mail = message(fields);

    TReminderData data;
    data.sSubjectHeader = text(c.header);
    data.bSubjectIncludeName = c.names;
    data.bSubjectIncludeAdress = c.addresses;
    data.bSubjectIncludeDate = c.date;
    data.bSubjectIncludeTime = c.time;
    const ol::TaskItemPtr task = newTask();
    task->SetSubject(text(c.taskSubject));
    FillReminderTask(task, mail, data);

    EXPECT_EQ(stored(task->EntryID())->Subject(), text(c.expected));
}

// The clock reads 2026-12-10 09:05; the en_US short date is M/d/yy.
INSTANTIATE_TEST_SUITE_P(
    Cases, TaskSubject,
    ::testing::Values(
        SubjectCase{"HeaderNameDateAndTime", "Ann Lee <ann@example.com>", "Carl <carl@example.com>",
                    "[Vantorel]", true, false, true, true,
                    "[Vantorel] Ann Lee: Offer - 12/10/26 09:05"},
        SubjectCase{"TimeOnly", "Ann Lee <ann@example.com>", "", "", false, false, false, true,
                    "Offer - 09:05"},
        SubjectCase{"DateOnly", "Ann Lee <ann@example.com>", "", "", false, false, true, false,
                    "Offer - 12/10/26"},
        SubjectCase{"NothingButTheSubject", "Ann Lee <ann@example.com>", "", "", false, false,
                    false, false, "Offer"},
        SubjectCase{"HeaderAndNamesWithoutToRecipient", "", "Carl <carl@example.com>", "[Vantorel]",
                    true, false, false, false, "[Vantorel] : Offer"},
        SubjectCase{"NamesWithoutToRecipientOrHeader", "", "Carl <carl@example.com>", "", true,
                    false, false, false, "Offer"},
        SubjectCase{"TwoNames", "Ann Lee <ann@example.com>; Bob <bob@example.com>", "", "", true,
                    false, false, false, "Ann Lee; Bob: Offer"},
        SubjectCase{"NamesAndAddresses", "Ann Lee <ann@example.com>; Bob <bob@example.com>", "", "",
                    true, true, false, false,
                    "Ann Lee (ann@example.com); Bob (bob@example.com): Offer"},
        SubjectCase{"AddressesOnly", "Ann Lee <ann@example.com>", "", "[Vantorel]", false, true,
                    true, true, "[Vantorel] ann@example.com: Offer - 12/10/26 09:05"},
        SubjectCase{"NameEqualsAddressWrittenOnce", "ann@example.com", "", "", true, true, false,
                    false, "ann@example.com: Offer"},
        SubjectCase{"NameEqualsAddressButForCase", "ANN@EXAMPLE.COM <ann@example.com>", "", "",
                    true, true, false, false, "ANN@EXAMPLE.COM: Offer"},
        SubjectCase{"ExchangeAddressesOnly", "Dora Diaz <ex:/o=org/cn=dora>", "", "", false, true,
                    false, false, "Dora Diaz: Offer"},
        SubjectCase{"ExchangeNamesAndAddresses", "Dora Diaz <ex:/o=org/cn=dora>", "", "", true,
                    true, false, false, "Dora Diaz: Offer"},
        SubjectCase{"ExchangeNamesOnly", "Dora Diaz <ex:/o=org/cn=dora>", "", "", true, false,
                    false, false, "Dora Diaz: Offer"},
        SubjectCase{"NameWithAddressInParentheses",
                    "\"Ann Lee (ann@example.com)\" <ann@example.com>", "", "", true, false, false,
                    false, "Ann Lee: Offer"},
        SubjectCase{"NameWithAddressInAngleBrackets",
                    "\"Ann Lee <ANN@example.com>\" <ann@example.com>", "", "", true, false, false,
                    false, "Ann Lee: Offer"},
        SubjectCase{"NameWithAddressKeptWholeWithAddresses",
                    "\"Ann Lee (ann@example.com)\" <ann@example.com>", "", "", true, true, false,
                    false, "Ann Lee (ann@example.com): Offer"},
        SubjectCase{"AddressesOnlyWhateverTheDisplayName",
                    "\"Ann Lee (ann@example.com)\" <ann@example.com>", "", "", false, true, false,
                    false, "ann@example.com: Offer"},
        SubjectCase{"CcAndBccLeftOut", "Ann Lee <ann@example.com>", "Carl <carl@example.com>", "",
                    true, true, false, false, "Ann Lee (ann@example.com): Offer"},
        SubjectCase{"AppendedToTheTaskSubject", "Ann Lee <ann@example.com>", "", "", true, false,
                    false, false, "Follow up: Ann Lee: Offer", "Follow up: "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReminderTest, SubjectRecipientTextListsOnlyToRecipientsJoinedBySemicolons) {
    MessageFields fields;
    fields.to = QStringLiteral("Ann Lee <ann@example.com>; Dora Diaz <ex:/o=org/cn=dora>");
    fields.cc = QStringLiteral("Carl <carl@example.com>");
    fields.bcc = QStringLiteral("Bea <bea@example.com>");
    const ol::MailItemPtr mail = message(fields);
    EXPECT_EQ(SubjectRecipientText(mail, true, false), QStringLiteral("Ann Lee; Dora Diaz"));
    EXPECT_EQ(SubjectRecipientText(mail, false, true),
              QStringLiteral("ann@example.com; Dora Diaz"));
    EXPECT_EQ(SubjectRecipientText(mail, false, false), QString());
}

namespace {
struct LocaleCase {
    const char* locale;
    const char* expected;
};
void PrintTo(const LocaleCase& c, std::ostream* os) {
    *os << c.locale;
}
class SubjectLocale : public ReminderTest, public ::testing::WithParamInterface<LocaleCase> {};
}  // namespace

// The date follows the user's short date format; the time is always the 24-hour
// clock with ":".
TEST_P(SubjectLocale, DateInTheShortFormatTimeOnThe24HourClock) {
    QLocale::setDefault(QLocale(QString::fromLatin1(GetParam().locale)));
    clock->set(QDateTime(QDate(2026, 3, 4), QTime(21, 7)));
    TReminderData data;
    data.bSubjectIncludeDate = true;
    data.bSubjectIncludeTime = true;
    const ol::TaskItemPtr task = newTask();
    FillReminderTask(task, message(QStringLiteral("ann@example.com")), data);
    EXPECT_EQ(task->Subject(), QString::fromLatin1(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Locales, SubjectLocale,
                         ::testing::Values(LocaleCase{"en_US", "Offer - 3/4/26 21:07"},
                                           LocaleCase{"de_DE", "Offer - 04.03.26 21:07"}),
                         [](const auto& info) { return std::string(info.param.locale); });
