#pragma once

// Both hives as .reg files in a fresh temporary folder, installed for the process
// while the object lives; afterwards the test hives are installed again.

#include "platform/RegFileHive.h"

#include <QTemporaryDir>

#include <memory>

namespace vantorel::test {

// Installs the hive files in the test process's private configuration folder (see
// TestMain.cpp), so that no test reaches the system's hives: on Windows those are
// the registry itself.
void installTestHives();

class TempHives {
public:
    TempHives();
    ~TempHives();

    platform::RegFileHive& user() { return *user_; }
    platform::RegFileHive& machine() { return *machine_; }
    QString folder() const { return dir_.path(); }
    QString userFile() const { return user_->filePath(); }

private:
    QTemporaryDir dir_;
    std::shared_ptr<platform::RegFileHive> user_;
    std::shared_ptr<platform::RegFileHive> machine_;
};

}  // namespace vantorel::test
