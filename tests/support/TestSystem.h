#pragma once

// What a test asks of the system it runs on, one implementation per system
// (tests/support/linux/, tests/support/windows/).

namespace vantorel::test {

// Whether a file's permissions cannot keep this process from reading it: root on
// Linux; always on Windows, where Qt's permissions set only the read-only attribute.
bool readsEveryFile();

}  // namespace vantorel::test
