#include "host/MailClient.h"

#include "platform/ErrorLog.h"
#include "platform/Hives.h"
#include "platform/RegistryKey.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <stdexcept>

namespace vantorel::host {

MailClient::MailClient(const QString& dataDir)
    : dataDir_(dataDir),
      lock_(dataDir),
      engine_(
          std::make_unique<engine::Engine>(QDir(dataDir).filePath(QStringLiteral("mailbox.db")))) {
    registerProgramFolder();
    // An add-in loaded through COM reports the errors it kept from the user through
    // the error log, as it would inside the mail client.
    platform::installErrorLog([this](const QString& text) { ErrorSuppressed(text); });
}

MailClient::~MailClient() {
    if (running()) {
        quit();
    }
    platform::installErrorLog(nullptr);
}

void MailClient::registerProgramFolder() {
    // As the mail client's installer does: App Paths names the program file, so an
    // add-in finds the program's folder (and the sound file shipped in it).
    try {
        platform::RegistryKey key(platform::localMachineHive());
        if (key.openKey(
                QStringLiteral(
                    "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OUTLOOK.EXE"),
                true)) {
            key.writeString(QStringLiteral("Path"), QCoreApplication::applicationFilePath());
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vantorel-host: cannot register the program folder: %s\n", e.what());
    }
}

void MailClient::setExplorerCount(int count) {
    explorers_ = count;
    engine_->setExplorerCount(count);
}

void MailClient::start(const QString& addInPath) {
    if (running()) {
        throw std::logic_error("the add-in is running already");
    }
    library_ = loadAddIn(addInPath, *engine_);
    addIn_ = &library_->addIn();
    composeRibbonBuilt_ = false;
    addIn_->Connect(*this);
    // The main window's ribbon is built while the mail client starts, before it
    // reports that starting has finished.
    if (explorers_ > 0) {
        requestRibbon(kRibbonExplorer);
    }
    // Starting shows the quick start wizard, inside which the mail client may quit:
    // the module then goes once starting has returned.
    ++inAddInCall_;
    try {
        addIn_->StartupComplete();
    } catch (...) {
        leaveAddInCall();
        throw;
    }
    leaveAddInCall();
}

void MailClient::quit() {
    if (!running()) {
        return;
    }
    engine_->quit();
    addIn_->BeginShutdown();
    addIn_->Disconnect();
    addIn_ = nullptr;
    // Quitting from inside one of the add-in's commands (a script may quit while the
    // add-in's dialog is open): the module goes once that command has returned.
    if (inAddInCall_ > 0) {
        retired_ = std::move(library_);
    } else {
        library_.reset();
    }
}

outlook::InspectorPtr MailClient::compose(const engine::ComposeFields& fields) {
    if (running() && !composeRibbonBuilt_) {
        requestRibbon(kRibbonMailCompose);
    }
    return engine_->compose(fields);
}

void MailClient::requestRibbon(const QString& ribbonId) {
    if (ribbonId == kRibbonMailCompose) {
        composeRibbonBuilt_ = true;
    }
    addIn_->RibbonBeforeCreate(ribbonId);
    if (onRibbonCreated) {
        onRibbonCreated(ribbonId);
    }
}

std::vector<RibbonTab*> MailClient::ribbonTabs() const {
    return running() ? addIn_->RibbonTabs() : std::vector<RibbonTab*>{};
}

void MailClient::press(const QString& caption, const outlook::InspectorPtr& window) {
    for (RibbonTab* tab : ribbonTabs()) {
        for (const auto& button : tab->controls) {
            if (button->Caption() != caption) {
                continue;
            }
            const bool compose = tab->ribbons == kRibbonMailCompose;
            if (compose && engine_->inspectors().empty()) {
                throw std::invalid_argument("no message window is open");
            }
            if (!compose && explorers_ == 0) {
                throw std::invalid_argument("no main window is open");
            }
            if (!compose && window) {
                throw std::invalid_argument(
                    QStringLiteral("the button \"%1\" is not in a message window")
                        .arg(caption)
                        .toStdString());
            }
            if (window && !engine_->isOpen(window)) {
                throw std::invalid_argument("the message window is closed");
            }
            // The ribbon pressed belongs to a window: the one named, else the one in front.
            const outlook::InspectorPtr pressedIn =
                compose ? (window ? window : engine_->inspectors().back()) : nullptr;
            if (!tab->group.Visible() || !button->Visible()) {
                throw std::invalid_argument(
                    QStringLiteral("the button \"%1\" is hidden").arg(caption).toStdString());
            }
            if (!button->Enabled()) {
                throw std::invalid_argument(
                    QStringLiteral("the button \"%1\" is disabled").arg(caption).toStdString());
            }
            ++inAddInCall_;
            try {
                addIn_->Press(*button, pressedIn);
            } catch (...) {
                leaveAddInCall();
                throw;
            }
            leaveAddInCall();
            return;
        }
    }
    throw std::invalid_argument(
        QStringLiteral("the add-in has no button \"%1\"").arg(caption).toStdString());
}

void MailClient::leaveAddInCall() {
    if (--inAddInCall_ == 0) {
        retired_.reset();
    }
}

QString MailClient::describe(const QString& what) const {
    return running() ? addIn_->Describe(what) : QString();
}

outlook::ApplicationPtr MailClient::HostApplication() {
    return engine_->application();
}

QString MailClient::AddInFolder() {
    return library_ ? library_->folder() : QString();
}

void MailClient::ErrorSuppressed(const QString& text) {
    if (onErrorSuppressed) {
        onErrorSuppressed(text);
    } else {
        std::fprintf(stderr, "vantorel-host: %s\n", qUtf8Printable(text));
    }
}

}  // namespace vantorel::host
