#pragma once

// The error of opening a mailbox database: the file or its folder cannot be
// written, the file is not a regular file, is no mailbox, belongs to another
// program, is damaged, is of a newer format, or is in use. The text names the file.

#include <QString>

#include <stdexcept>

namespace vantorel::engine {

class MailboxError : public std::runtime_error {
public:
    MailboxError(const QString& path, const QString& text)
        : std::runtime_error(text.toStdString()), path_(path), text_(text) {}

    const QString& path() const noexcept { return path_; }
    const QString& text() const noexcept { return text_; }

private:
    QString path_;
    QString text_;
};

}  // namespace vantorel::engine
