#pragma once

// The error of opening a mailbox database: the file is missing its rights, is no
// mailbox, belongs to another program, is damaged, or is in use. The text names
// the file.

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
