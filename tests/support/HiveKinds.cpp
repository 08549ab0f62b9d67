#include "tests/support/HiveKinds.h"

#include "tests/support/TempHives.h"

namespace vantorel::test {

namespace {

class FileScratchHives : public ScratchHives {
public:
    platform::RegistryHive& user() override { return hives_.user(); }
    platform::RegistryHive& machine() override { return hives_.machine(); }

private:
    TempHives hives_;
};

}  // namespace

HiveKind fileHives() {
    return {"File", [] { return std::make_unique<FileScratchHives>(); }};
}

}  // namespace vantorel::test
