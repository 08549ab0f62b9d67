// ParsePeriodPhrase on any text, with and without keywords. A period it reads has a
// phrase that reads back as the same period, and a length in days from any base date.

#include "fuzz/FuzzInput.h"
#include "tools/DateTime.h"
#include "tools/Phrases.h"

using namespace vantorel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::setUp();
    fuzz::FuzzInput in(data, size);
    const bool keywords = (in.byte() & 1) != 0;
    const QDateTime base = fuzz::pickedMoment(in.byte(), in.byte());
    const QString phrase = in.rest();

    QString period = QStringLiteral("before");
    const bool read = ParsePeriodPhrase(keywords, phrase, period);
    fuzz::check(read != period.isEmpty(), "a period comes back exactly when the text is one",
                phrase, period);
    if (!read) {
        return 0;
    }
    const QString shown = FormatPeriodPhrase(period, kPhraseStyleStart);
    QString again;
    fuzz::check(ParsePeriodPhrase(true, shown, again) && again == period,
                "the phrase of a period reads back as that period", period, shown);
    fuzz::check(!FormatPeriodPhrase(period, kPhraseStyleAfter).isEmpty() &&
                    !FormatPeriodPhrase(period, kPhraseStyleDuration).isEmpty(),
                "a period has a phrase in every style", period);

    qint32 days = -1;
    const bool counted = PeriodToDays(period, tools::toDateTime(base), days);
    if (period.startsWith(QLatin1Char('d'))) {
        fuzz::check(counted && QString::number(days) == period.mid(1),
                    "a period of days is that many days", period);
    } else if (period.startsWith(QLatin1Char('o'))) {
        fuzz::check(counted && days >= 1 && days <= 7, "a weekday is one to seven days ahead",
                    period, base.toString(Qt::ISODate));
    } else if (period.startsWith(QLatin1Char('b'))) {
        fuzz::check(counted ? days >= period.mid(1).toLongLong() : days == 0,
                    "working days take at least as many days", period, base.toString(Qt::ISODate));
    } else {
        fuzz::check(counted ? days >= 0 : days == 0, "months count forward", period,
                    base.toString(Qt::ISODate));
    }
    return 0;
}
