// ParseTimePhrase on any text in each regional format. A time it reads is stored as
// "hh:nn" with the user's time separator, and that stored form reads back unchanged.

#include "fuzz/FuzzInput.h"
#include "platform/RegionalSettings.h"
#include "tools/Phrases.h"

using namespace vantorel;

namespace {
bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::setUp();
    fuzz::FuzzInput in(data, size);
    fuzz::useLocale(in.byte());
    const QString phrase = in.rest();

    const QString before = QStringLiteral("before");
    QString time = before;
    if (!ParseTimePhrase(phrase, time)) {
        fuzz::check(time == before, "a text that is no time leaves the time alone", phrase, time);
        return 0;
    }
    if (time == QLatin1String("NOW")) {
        return 0;
    }
    const QChar separator = platform::RegionalSettings::current().timeSeparator;
    fuzz::check(time.size() == 5 && isDigit(time[0]) && isDigit(time[1]) && time[2] == separator &&
                    isDigit(time[3]) && isDigit(time[4]) && time.left(2).toInt() < 24 &&
                    time.mid(3).toInt() < 60,
                "a time is stored as hh:nn with the user's separator", phrase, time);
    QString again;
    fuzz::check(ParseTimePhrase(time, again) && again == time, "a stored time reads back unchanged",
                time, again);
    return 0;
}
