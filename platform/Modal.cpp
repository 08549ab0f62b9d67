#include "platform/Modal.h"

#include <stdexcept>

namespace vantorel::platform {

namespace {

// QDialog::exec() is a slot: the meta-object system reaches it without this layer
// depending on the widget library.
class ExecRunner : public ModalRunner {
public:
    int runModal(QObject& dialog) override {
        int result = 0;
        if (!QMetaObject::invokeMethod(&dialog, "exec", Qt::DirectConnection,
                                       Q_RETURN_ARG(int, result))) {
            throw std::logic_error("runModal needs a dialog");
        }
        return result;
    }
};

std::shared_ptr<ModalRunner>& installed() {
    static std::shared_ptr<ModalRunner> runner = std::make_shared<ExecRunner>();
    return runner;
}

}  // namespace

int runModal(QObject& dialog) {
    return installed()->runModal(dialog);
}

void installModalRunner(std::shared_ptr<ModalRunner> runner) {
    installed() = runner ? std::move(runner) : std::make_shared<ExecRunner>();
}

}  // namespace vantorel::platform
