#pragma once

// What the fuzz targets share: an input read from its front (a byte that picks the
// regional settings, one that picks the clock, then texts), and the check that stops
// the run when an input breaks a rule the code promises.
//
// Texts are UTF-8 (broken sequences read as U+FFFD); a text that starts with the bytes
// FF FE is UTF-16LE instead, so lone surrogates and any other code unit reach the code.

#include <QDateTime>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace vantorel::fuzz {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    // The next byte; 0 once the input is used up.
    std::uint8_t byte();
    // The text up to the next NUL byte (which is skipped) or the end.
    QString text();
    // The rest of the input as one text, NUL bytes included.
    QString rest();
    bool empty() const { return pos_ >= size_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// Turns bytes into text as described above.
QString decodeText(const std::uint8_t* data, std::size_t size);

// Makes one of a fixed list of locales the user's regional settings, each chosen for
// a format that differs: 12-hour clocks with designators before or after the time,
// "." as time separator, "," as decimal separator, native digits, a time format with
// words in it.
void useLocale(std::uint8_t pick);

// Sets the clock to one of a fixed list of moments (daylight-saving changes in the
// fuzz time zone, the 2038 boundary, the first and last years the clock holds) moved
// by up to a day either way.
void useClock(std::uint8_t pick, std::uint8_t shift);
QDateTime pickedMoment(std::uint8_t pick, std::uint8_t shift);

// What every target needs once per process: the fuzz time zone (Europe/Berlin, with
// its daylight-saving changes), a QCoreApplication, no prompts on screen.
void setUp();

// Stops the run (an abort, which libFuzzer records as a crash with its input) when
// RULE does not hold, naming it and the texts involved.
void check(bool rule, const char* what, const QString& a = {}, const QString& b = {});

}  // namespace vantorel::fuzz
