// On Linux the hives are files only.

#include "tests/support/HiveKinds.h"

namespace vantorel::test {

std::vector<HiveKind> hiveKinds() {
    return {fileHives()};
}

}  // namespace vantorel::test
