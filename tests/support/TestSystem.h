#pragma once

// What a test asks of the system it runs on, one implementation per system
// (tests/support/linux/, tests/support/windows/).

#include <QString>

namespace vantorel::test {

// Makes text as wide as on Linux, where the forms' captions are measured. Called once
// the application exists. Under Wine Qt draws DejaVu Sans through FreeType with full
// hinting, a few pixels wider than Linux's slight hinting; vertical hinting there
// gives the same widths.
void matchLinuxTextWidths();

// Puts the add-in library into FOLDER as the build installs it, with the file version
// VERSION ("2.0.0.17"): on Linux the versioned file libvantorel.so.VERSION and the link
// libvantorel.so to it; on Windows vantorel.dll with VERSION in its version resource.
// Throws std::runtime_error when it cannot.
void installAddInLibrary(const QString& folder, const QString& version);

// Whether a file's permissions cannot keep this process from reading it: root on
// Linux; always on Windows, where Qt's permissions set only the read-only attribute.
bool readsEveryFile();

// Takes away the right to change PATH (a file, or the entries of a folder) while it
// lives, as a person would: its write permissions; for root, whom those do not stop,
// the immutable attribute; on Windows a file's read-only attribute (Windows ignores a
// folder's). done() tells whether the system could.
class WriteProtection {
public:
    explicit WriteProtection(const QString& path);
    ~WriteProtection();
    WriteProtection(const WriteProtection&) = delete;
    WriteProtection& operator=(const WriteProtection&) = delete;
    bool done() const { return done_; }

private:
    QString path_;
    unsigned mode_ = 0;
    bool done_ = false;
};

}  // namespace vantorel::test
