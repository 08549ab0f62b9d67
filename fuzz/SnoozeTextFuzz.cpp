// ParseSnoozeText on any text in each regional format. A length it reads is between 1
// and 2^31 - 1 minutes and becomes its canonical wording, which reads back as the
// same length; a text it refuses stays as typed.

#include "forms/ReminderWindowLogic.h"
#include "fuzz/FuzzInput.h"

using namespace vantorel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::setUp();
    fuzz::FuzzInput in(data, size);
    fuzz::useLocale(in.byte());
    const QString typed = in.rest();

    QString text = typed;
    const qint32 minutes = ParseSnoozeText(text);
    if (minutes == -1) {
        fuzz::check(text == typed, "a refused text stays as typed", typed, text);
        return 0;
    }
    fuzz::check(minutes >= 1, "a snooze lasts a minute or more", typed, QString::number(minutes));
    fuzz::check(text == SnoozeMinutesToText(minutes), "the text becomes the canonical wording",
                typed, text);
    QString again = text;
    fuzz::check(ParseSnoozeText(again) == minutes && again == text,
                "the canonical wording reads back as the same length", text, again);
    return 0;
}
