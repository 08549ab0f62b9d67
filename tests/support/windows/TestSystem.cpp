#include "tests/support/TestSystem.h"

namespace vantorel::test {

bool readsEveryFile() {
    return true;
}

}  // namespace vantorel::test
