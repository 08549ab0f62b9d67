// The body of a tracking task: the header of the sent message and its text,
// truncated at the limit, every line ending in CR LF (the client's line break).

#include "ReminderFixture.h"

using namespace vantorel;
using namespace vantorel::test;

namespace {

const QString kSeparator = QString(84, QLatin1Char('_')) + QLatin1String("\r\n\r\n");

}  // namespace

TEST_F(ReminderTest, BodyQuotesHeaderAndTextWithCrLfLineBreaks) {
    MessageFields fields;
    fields.to = QStringLiteral(
        "Ann Lee <ann@example.com>; bob@example.com; BOB@Example.com <bob@example.com>; "
        "Dora Diaz <ex:/o=org/cn=dora>");
    fields.cc = QStringLiteral("Carl <carl@example.com>");
    fields.bcc = QStringLiteral("Bea <bea@example.com>");
    fields.body = QStringLiteral("Hello Ann,\r\nhere is the offer.");
    const ol::MailItemPtr mail = message(fields);

    EXPECT_EQ(QuotedMessageBody(mail, 500),
              QStringLiteral("Message sent on 12/10/26 09:05\r\n"
                             "To: Ann Lee [ann@example.com]; bob@example.com; BOB@Example.com; "
                             "Dora Diaz\r\n"
                             "Cc: Carl [carl@example.com]\r\n"
                             "Bcc: Bea [bea@example.com]\r\n"
                             "Subject: Offer\r\n") +
                  kSeparator + QStringLiteral("Hello Ann,\r\nhere is the offer."));
}

TEST_F(ReminderTest, BodyHasAToLineEvenWithoutToRecipientsAndNoEmptyCcOrBccLines) {
    MessageFields fields;
    fields.cc = QStringLiteral("Carl <carl@example.com>");
    const ol::MailItemPtr mail = message(fields);
    EXPECT_EQ(QuotedMessageBody(mail, 500),
              QStringLiteral("Message sent on 12/10/26 09:05\r\nTo: \r\n"
                             "Cc: Carl [carl@example.com]\r\nSubject: Offer\r\n"));
}

TEST_F(ReminderTest, BodyEndsAfterTheSubjectLineWithoutLimitOrText) {
    MessageFields fields;
    fields.to = QStringLiteral("ann@example.com");
    fields.body = QStringLiteral("Hello");
    const QString header = QStringLiteral(
        "Message sent on 12/10/26 09:05\r\nTo: ann@example.com\r\nSubject: Offer\r\n");
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
    std::vector<int> breaks;  // 1-based positions of the CR of each CR LF in it
    int maxLength;            //
    int quoted;               // characters of the text quoted (a CR quoted brings its LF)
    bool truncated;           // followed by CR LF and "[Truncated]"
};
void PrintTo(const TruncationCase& c, std::ostream* os) {
    *os << c.name;
}

class Truncation : public ReminderTest, public ::testing::WithParamInterface<TruncationCase> {};

// Digits 0-9 over and over, with CR LF at the given positions.
QString messageText(const TruncationCase& c) {
    QString text;
    for (int i = 0; i < c.length; ++i) {
        text += QLatin1Char(static_cast<char>('0' + i % 10));
    }
    for (const int at : c.breaks) {
        text[at - 1] = QLatin1Char('\r');
        text[at] = QLatin1Char('\n');
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
    if (expected.endsWith(QLatin1Char('\r'))) {
        expected += QLatin1Char('\n');
    }
    if (c.truncated) {
        expected += QLatin1String("\r\n[Truncated]");
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
    EXPECT_TRUE(body.endsWith(kSeparator + QString(9, QLatin1Char('a')) +
                              QLatin1String("\r\n[Truncated]")));

    fields.body = QString(8, QLatin1Char('a')) + smile + QString(300, QLatin1Char('b'));
    EXPECT_TRUE(
        QuotedMessageBody(message(fields), 10)
            .endsWith(QString(8, QLatin1Char('a')) + smile + QLatin1String("\r\n[Truncated]")));
}

// The client's line break is CR LF: a message text that mixes CR LF, a CR alone and an
// LF alone is quoted with CR LF only, also where it is cut.
TEST_F(ReminderTest, MixedLineBreaksAreQuotedAsCrLf) {
    MessageFields fields;
    fields.to = QStringLiteral("ann@example.com");
    fields.body = QStringLiteral("one\rtwo\nthree\r\nfour\n\rfive");
    const QString body = QuotedMessageBody(message(fields), 500);
    EXPECT_TRUE(
        body.endsWith(kSeparator + QStringLiteral("one\r\ntwo\r\nthree\r\nfour\r\n\r\nfive")));
    EXPECT_EQ(body.count(QLatin1Char('\r')), body.count(QLatin1String("\r\n")));
    EXPECT_EQ(body.count(QLatin1Char('\n')), body.count(QLatin1String("\r\n")));

    // Cut at the second line: its break is quoted whole, CR and LF.
    fields.body = QStringLiteral("12345\n67890\nabcdef");
    EXPECT_TRUE(QuotedMessageBody(message(fields), 7)
                    .endsWith(kSeparator + QStringLiteral("12345\r\n67890\r\n\r\n[Truncated]")));
}
