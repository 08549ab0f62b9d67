#include "tests/support/TestSystem.h"

#include <QDir>
#include <QFile>

#include <unistd.h>
#include <stdexcept>

namespace vantorel::test {

bool readsEveryFile() {
    return ::geteuid() == 0;
}

void matchLinuxTextWidths() {}

void installAddInLibrary(const QString& folder, const QString& version) {
    const QDir dir(folder);
    const QString real = dir.filePath(QStringLiteral("libvantorel.so.") + version);
    QFile file(real);
    if (!file.open(QIODevice::WriteOnly)) {
        throw std::runtime_error("cannot write " + real.toStdString());
    }
    file.close();
    if (!QFile::link(real, dir.filePath(QStringLiteral("libvantorel.so")))) {
        throw std::runtime_error("cannot link libvantorel.so to " + real.toStdString());
    }
}

}  // namespace vantorel::test
