#include "tools/OneLineText.h"

#include <gtest/gtest.h>

using namespace vantorel::tools;

namespace {

struct Row {
    const char* name;
    QString text;
    qsizetype maxLength;
    QString expected;
};

void PrintTo(const Row& row, std::ostream* os) {
    *os << row.name;
}

class OneLineTextTest : public ::testing::TestWithParam<Row> {};

TEST_P(OneLineTextTest, StaysOnOneLineWithinItsBound) {
    EXPECT_EQ(oneLineText(GetParam().text, GetParam().maxLength), GetParam().expected);
}

const QString kEllipsis(QChar(0x2026));
const QString kSmile = QString::fromUtf8("\xF0\x9F\x98\x80");  // U+1F600, two UTF-16 units

INSTANTIATE_TEST_SUITE_P(
    Texts, OneLineTextTest,
    ::testing::Values(
        Row{"plain", QStringLiteral("Ann Lee"), 256, QStringLiteral("Ann Lee")},
        Row{"empty", QString(), 256, QString()},
        Row{"line_breaks", QStringLiteral("Ann\r\nSubject: Offer (ACCEPTED)\r"), 256,
            QStringLiteral("Ann  Subject: Offer (ACCEPTED) ")},
        Row{"other_controls",
            QStringLiteral("a\tb\x01"
                           "c\x7f"
                           "d") +
                QChar(0x85) + u'e',
            256, QStringLiteral("a b c d e")},
        Row{"line_and_paragraph_separators",
            QStringLiteral("a") + QChar(0x2028) + u'b' + QChar(0x2029) + u'c', 256,
            QStringLiteral("a b c")},
        Row{"direction_overrides_and_embeddings",
            QStringLiteral("x") + QChar(0x202E) + QStringLiteral("gnp.exe") + QChar(0x202A) +
                QChar(0x202B) + QChar(0x202C) + QChar(0x202D) + u'y',
            256, QStringLiteral("xgnp.exey")},
        Row{"direction_isolates",
            QChar(0x2066) + QStringLiteral("a") + QChar(0x2067) + QChar(0x2068) + u'b' +
                QChar(0x2069),
            256, QStringLiteral("ab")},
        // Marks that only hint a direction change nothing of the line.
        Row{"right_to_left_text_and_marks", QStringLiteral("הצעה") + QChar(0x200F) + u'!', 256,
            QStringLiteral("הצעה") + QChar(0x200F) + u'!'},
        Row{"exactly_the_bound", QString(5, u'x'), 5, QString(5, u'x')},
        Row{"one_beyond_the_bound", QString(6, u'x'), 5, QString(4, u'x') + kEllipsis},
        Row{"far_beyond_the_bound", QString(100'000, u'x'), 256, QString(255, u'x') + kEllipsis},
        Row{"dropped_characters_do_not_count", QString(5, QChar(0x202E)) + QStringLiteral("abc"), 3,
            QStringLiteral("abc")},
        Row{"never_half_a_pair", QStringLiteral("ab") + kSmile + QStringLiteral("cd"), 4,
            QStringLiteral("ab") + kEllipsis}),
    [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

}  // namespace
