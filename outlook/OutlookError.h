#pragma once

// The one error of the object model: every failing call throws it, carrying the
// mail host's own error text (the text a user would be shown).

#include <QString>

#include <stdexcept>

namespace vantorel::outlook {

class OutlookError : public std::runtime_error {
public:
    explicit OutlookError(const QString& text);

    // The host's error text.
    const QString& text() const noexcept { return text_; }

private:
    QString text_;
};

}  // namespace vantorel::outlook
