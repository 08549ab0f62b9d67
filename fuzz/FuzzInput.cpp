#include "fuzz/FuzzInput.h"

#include "platform/Clock.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTimeZone>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>

namespace vantorel::fuzz {

std::uint8_t FuzzInput::byte() {
    return pos_ < size_ ? data_[pos_++] : 0;
}

QString FuzzInput::text() {
    std::size_t end = pos_;
    while (end < size_ && data_[end] != 0) {
        ++end;
    }
    const QString result = decodeText(data_ + pos_, end - pos_);
    pos_ = end < size_ ? end + 1 : end;
    return result;
}

QString FuzzInput::rest() {
    const QString result = decodeText(data_ + pos_, size_ - pos_);
    pos_ = size_;
    return result;
}

QString decodeText(const std::uint8_t* data, std::size_t size) {
    if (size >= 2 && data[0] == 0xff && data[1] == 0xfe) {
        QString text;
        for (std::size_t i = 2; i + 1 < size; i += 2) {
            text += QChar(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
        }
        return text;
    }
    return QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

void useLocale(std::uint8_t pick) {
    static const std::array<const char*, 10> locales{
        "en_US",  // h:mm AP, "." decimal
        "de_DE",  // HH:mm, "," decimal
        "fi_FI",  // H.mm: "." between hours and minutes
        "da_DK",  // HH.mm
        "ko_KR",  // designator before the time
        "ar_EG",  // Arabic-Indic digits, Arabic designators
        "fr_CA",  // HH 'h' mm
        "fa_IR",  // Persian digits, "/" as decimal separator
        "zh_CN",  // designator before, no blank
        "C",
    };
    QLocale::setDefault(QLocale(QString::fromLatin1(locales[pick % locales.size()])));
}

QDateTime pickedMoment(std::uint8_t pick, std::uint8_t shift) {
    struct Moment {
        int y, mo, d, h, mi, s;
    };
    static const std::array<Moment, 10> moments{{
        {2026, 12, 10, 9, 5, 0},
        {2026, 3, 29, 1, 59, 59},  // the last second before the clocks go forward
        {2026, 3, 29, 3, 0, 0},    // the first after
        {2026, 10, 25, 2, 30, 0},  // an hour that comes twice
        {2038, 1, 19, 4, 14, 7},   // 2^31 - 1 seconds after 1970 (UTC)
        {2038, 1, 19, 4, 14, 8},
        {2106, 2, 7, 7, 28, 15},  // 2^32 seconds
        {1899, 12, 30, 0, 0, 0},  // date-time zero
        {1, 1, 1, 0, 0, 0},
        {9999, 12, 31, 23, 59, 59},
    }};
    const Moment& m = moments[pick % moments.size()];
    const QDateTime base(QDate(m.y, m.mo, m.d), QTime(m.h, m.mi, m.s));
    // Up to a day either way, in steps of about 11 minutes, within the years 1 to 9999.
    const QDateTime moved = base.addSecs((static_cast<int>(shift) - 128) * 675);
    return moved.date().year() >= 1 && moved.date().year() <= 9999 ? moved : base;
}

void useClock(std::uint8_t pick, std::uint8_t shift) {
    static const auto clock = [] {
        auto c = std::make_shared<platform::ManualClock>(QDateTime::currentDateTime());
        platform::installClock(c);
        return c;
    }();
    clock->set(pickedMoment(pick, shift));
}

void setUp() {
    static bool done = false;
    if (done) {
        return;
    }
    done = true;
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

namespace {
QString visible(const QString& text) {
    QString out;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() >= 0x7f) {
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    return out;
}
}  // namespace

void check(bool rule, const char* what, const QString& a, const QString& b) {
    if (rule) {
        return;
    }
    std::fprintf(stderr, "broken rule: %s\n  \"%s\"\n  \"%s\"\n", what,
                 visible(a).toUtf8().constData(), visible(b).toUtf8().constData());
    std::abort();
}

}  // namespace vantorel::fuzz
