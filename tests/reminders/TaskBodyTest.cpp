// The body of a tracking task: the header of the sent message and its text,
// truncated at the limit, with lines ending in CR alone.

#include "ReminderFixture.h"

using namespace vantorel;
using namespace vantorel::test;

namespace {

const QString kSeparator = QString(84, QLatin1Char('_')) + QLatin1String("\r\r");

}  // namespace

TEST_F(ReminderTest, BodyQuotesHeaderAndTextWithCarriageReturnsOnly) {
    MessageFields fields;
    fields.to = QStringLiteral(
        "Ann Lee <ann@example.com>; bob@example.com; BOB@Example.com <bob@example.com>; "
        "Dora Diaz <ex:/o=org/cn=dora>");
    fields.cc = QStringLiteral("Carl <carl@example.com>");
    fields.bcc = QStringLiteral("Bea <bea@example.com>");
    fields.body = QStringLiteral("Hello Ann,\r\nhere is the offer.");
    const ol::MailItemPtr mail = message(fields);

    EXPECT_EQ(QuotedMessageBody(mail, 500),
              QStringLiteral("Message sent on 12/10/26 09:05\r"
                             "To: Ann Lee [ann@example.com]; bob@example.com; BOB@Example.com; "
                             "Dora Diaz\r"
                             "Cc: Carl [carl@example.com]\r"
                             "Bcc: Bea [bea@example.com]\r"
                             "Subject: Offer\r") +
                  kSeparator + QStringLiteral("Hello Ann,\r\nhere is the offer."));
}

TEST_F(ReminderTest, BodyHasAToLineEvenWithoutToRecipientsAndNoEmptyCcOrBccLines) {
    MessageFields fields;
    fields.cc = QStringLiteral("Carl <carl@example.com>");
    const ol::MailItemPtr mail = message(fields);
    EXPECT_EQ(QuotedMessageBody(mail, 500),
              QStringLiteral("Message sent on 12/10/26 09:05\rTo: \r"
                             "Cc: Carl [carl@example.com]\rSubject: Offer\r"));
}

TEST_F(ReminderTest, BodyEndsAfterTheSubjectLineWithoutLimitOrText) {
    MessageFields fields;
    fields.to = QStringLiteral("ann@example.com");
    fields.body = QStringLiteral("Hello");
    const QString header =
        QStringLiteral("Message sent on 12/10/26 09:05\rTo: ann@example.com\rSubject: Offer\r");
    EXPECT_EQ(QuotedMessageBody(message(fields), 0), header);
    EXPECT_EQ(QuotedMessageBody(message(fields), -1), header);
    fields.body.clear();
    EXPECT_EQ(QuotedMessageBody(message(fields), 500), header);
    EXPECT_EQ(QuotedMessageBody(message(fields), 1), header);
}

namespace {

struct TruncationCase {
    const char* name;
    int length;               // characters of message text
    std::vector<int> breaks;  // 1-based positions of CR characters in it
    int maxLength;            //
    int quoted;               // characters of the text quoted
    bool truncated;           // followed by CR and "[Truncated]"
    bool lineFeeds = false;   // every CR is followed by LF
};
void PrintTo(const TruncationCase& c, std::ostream* os) {
    *os << c.name;
}

class Truncation : public ReminderTest, public ::testing::WithParamInterface<TruncationCase> {};

// Digits 0-9 over and over, with CR (and LF) at the given positions.
QString messageText(const TruncationCase& c) {
    QString text;
    for (int i = 0; i < c.length; ++i) {
        text += QLatin1Char(static_cast<char>('0' + i % 10));
    }
    for (const int at : c.breaks) {
        text[at - 1] = QLatin1Char('\r');
        if (c.lineFeeds) {
            text[at] = QLatin1Char('\n');
        }
    }
    return text;
}

}  // namespace

TEST_P(Truncation, CutsAtTheLimitOrAtTheEndOfTheLineCrossingIt) {
    const TruncationCase& c = GetParam();
    MessageFields fields;
    fields.to = QStringLiteral("ann@example.com");
    fields.body = messageText(c);
    const QString body = QuotedMessageBody(message(fields), c.maxLength);

    QString expected = kSeparator + fields.body.left(c.quoted);
    if (c.truncated) {
        expected += QLatin1String("\r[Truncated]");
    }
    const qsizetype at = body.indexOf(kSeparator);
    ASSERT_GT(at, 0);
    EXPECT_EQ(body.mid(at), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Truncation,
    ::testing::Values(TruncationCase{"ShorterThanTheLimit", 499, {}, 500, 499, false},
                      TruncationCase{"ExactlyTheLimit", 500, {}, 500, 500, false},
                      TruncationCase{"OneOverTheLimit", 501, {}, 500, 500, true},
                      TruncationCase{"NoLineBreak", 1000, {}, 500, 500, true},
                      TruncationCase{"LineEndsAt600", 1000, {600}, 500, 600, true},
                      TruncationCase{"LineEndsAt800", 1000, {800}, 500, 500, true},
                      TruncationCase{"OnlyBreakBeforeTheLimit", 1000, {499}, 500, 500, true},
                      TruncationCase{"BreakAtTheLimit", 1000, {100, 500, 600}, 500, 500, true},
                      TruncationCase{"BreakAt200PastTheLimit", 1000, {700}, 500, 700, true},
                      TruncationCase{"BreakAt201PastTheLimit", 1000, {701}, 500, 500, true},
                      TruncationCase{
                          "FirstBreakPastTheLimitCounts", 1000, {650, 690}, 500, 650, true},
                      TruncationCase{"CrLfLineEndsWithTheCr", 1000, {600}, 500, 600, true, true},
                      TruncationCase{"LimitOfOne", 10, {5}, 1, 5, true}),
    [](const auto& info) { return std::string(info.param.name); });

// A character outside the basic plane takes two UTF-16 units; the cut never
// separates them.
TEST_F(ReminderTest, TruncationNeverSplitsACharacter) {
    MessageFields fields;
    fields.to = QStringLiteral("ann@example.com");
    const QString smile = QString::fromUtf8("\xF0\x9F\x98\x80");
    ASSERT_EQ(smile.size(), 2);
    fields.body = QString(9, QLatin1Char('a')) + smile + QString(300, QLatin1Char('b'));
    const QString body = QuotedMessageBody(message(fields), 10);
    EXPECT_TRUE(
        body.endsWith(kSeparator + QString(9, QLatin1Char('a')) + QLatin1String("\r[Truncated]")));

    fields.body = QString(8, QLatin1Char('a')) + smile + QString(300, QLatin1Char('b'));
    EXPECT_TRUE(
        QuotedMessageBody(message(fields), 10)
            .endsWith(QString(8, QLatin1Char('a')) + smile + QLatin1String("\r[Truncated]")));
}
