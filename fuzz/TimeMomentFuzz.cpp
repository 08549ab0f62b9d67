// TimePhraseToDateTime on any text, in each regional format, at moments around the
// daylight-saving changes, 2038 and the ends of the calendar. It reads exactly the
// texts ParseTimePhrase reads, and gives today's date at the time read.

#include "fuzz/FuzzInput.h"
#include "platform/Clock.h"
#include "platform/RegionalSettings.h"
#include "tools/DateTime.h"
#include "tools/Phrases.h"

#include <cmath>

using namespace vantorel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::setUp();
    fuzz::FuzzInput in(data, size);
    fuzz::useLocale(in.byte());
    const std::uint8_t moment = in.byte();
    fuzz::useClock(moment, in.byte());
    const QString phrase = in.rest();

    const tools::TDateTime now = tools::toDateTime(platform::now());
    tools::TDateTime when = -1;
    const bool read = TimePhraseToDateTime(phrase, when);
    QString time;
    fuzz::check(read == ParseTimePhrase(phrase, time), "the same texts read as times", phrase,
                time);
    if (!read || time == QLatin1String("NOW")) {
        fuzz::check(when == now, "no time of day gives the moment now", phrase,
                    platform::now().toString(Qt::ISODate));
        return 0;
    }
    fuzz::check(tools::dateOf(when) == tools::dateOf(now), "the time is today's", phrase,
                platform::now().toString(Qt::ISODate));
    const double ms = std::round(tools::timeOf(when) * 86'400'000.0);
    const int minutes = static_cast<int>(ms / 60'000.0);
    const QChar separator = platform::RegionalSettings::current().timeSeparator;
    const QString hhnn = QStringLiteral("%1").arg(minutes / 60, 2, 10, QLatin1Char('0')) +
                         separator +
                         QStringLiteral("%1").arg(minutes % 60, 2, 10, QLatin1Char('0'));
    fuzz::check(hhnn == time, "the moment's time of day is the time read", phrase, hhnn);
    return 0;
}
