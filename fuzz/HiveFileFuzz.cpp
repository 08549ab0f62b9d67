// The hive file reader on any bytes: decoding, parsing, and a hive on a file holding
// them. A file it reads writes back as text that reads as the same tree, and that
// text is a fixed point.

#include "fuzz/FuzzInput.h"
#include "platform/RegFileHive.h"
#include "platform/RegTree.h"

#include <QFile>
#include <QTemporaryDir>

using namespace vantorel;
using platform::RegTree;

namespace {
const QString kRoot = QStringLiteral("HKEY_CURRENT_USER");

QString folder() {
    static QTemporaryDir dir;
    return dir.path();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::setUp();
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    QString written;
    try {
        const RegTree tree = RegTree::parse(platform::decodeRegFile(bytes), kRoot);
        written = tree.toRegText(kRoot);
    } catch (const platform::RegistryError&) {
        // A file the hive cannot read; below, it is moved aside.
    }
    if (!written.isNull()) {
        QString again;
        try {
            again = RegTree::parse(written, kRoot).toRegText(kRoot);
        } catch (const platform::RegistryError& e) {
            fuzz::check(false, "a written hive reads back", written, QString::fromUtf8(e.what()));
        }
        fuzz::check(again == written, "a written hive reads back as the same tree", written, again);
    }

    // The same bytes as a hive file on disk: what was read is what the file holds.
    const QString path = folder() + QStringLiteral("/HKEY_CURRENT_USER.reg");
    QFile::remove(path);
    QFile::remove(path + QStringLiteral(".damaged"));
    {
        QFile file(path);
        fuzz::check(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(),
                    "the fuzz folder takes a file");
    }
    platform::RegFileHive hive(path, kRoot);
    const QString exported = hive.exportText();
    fuzz::check(exported == (written.isNull() ? RegTree().toRegText(kRoot) : written),
                "the hive holds what the file holds", written, exported);
    return 0;
}
