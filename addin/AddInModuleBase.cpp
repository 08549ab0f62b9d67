#include "addin/AddInModuleBase.h"

#include "platform/Prompts.h"

#include <utility>

namespace vantorel {

QString ErrorText(const std::exception& error) {
    if (const auto* outlookError = dynamic_cast<const outlook::OutlookError*>(&error)) {
        return outlookError->text();
    }
    return QString::fromUtf8(error.what());
}

AddInModuleBase::AddInModuleBase(QString addInName) : addInName_(std::move(addInName)) {}

AddInModuleBase::~AddInModuleBase() = default;

QString AddInModuleBase::AddInFolder() const {
    return host_ ? host_->AddInFolder() : QString();
}

ShutdownBehavior AddInModuleBase::OutlookShutdownBehavior() const {
    return host_ ? host_->OutlookShutdownBehavior() : ShutdownBehavior::Fast;
}

outlook::ApplicationPtr AddInModuleBase::HostApplication() const {
    return host_ ? host_->HostApplication() : nullptr;
}

void AddInModuleBase::Guarded(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& error) {
        bool handled = false;
        const QString text = ErrorText(error);
        try {
            ModuleError(error, handled);
        } catch (const std::exception&) {
            handled = false;  // a failing error handler hides nothing
        }
        if (handled) {
            if (host_) {
                host_->ErrorSuppressed(text);
            }
            return;
        }
        platform::showMessage(QStringLiteral("%1 error: the add-in has fired an exception.\r\n%2")
                                  .arg(addInName_, text),
                              platform::MessageIcon::Error, addInName_);
    }
}

void AddInModuleBase::Connect(IAddInHost& host) {
    host_ = &host;
    Guarded([this] { AddInInitialize(); });
}

void AddInModuleBase::StartupComplete() {
    Guarded([this] { AddInStartupComplete(); });
    // The framework's own subscriptions come after everything the module hooked while
    // starting. The mail client calls the subscribers of one event in no promised
    // order, so no handler may count on running before another.
    ConnectApplicationEvents();
}

void AddInModuleBase::ConnectApplicationEvents() {
    const outlook::ApplicationPtr app = HostApplication();
    if (!app) {
        return;
    }
    // A subscription that fails is reported like a failing handler; the others are
    // still made.
    Guarded([&] {
        itemSend_ = app->OnItemSend([this](const outlook::ItemPtr& item, bool& cancel) {
            // A send that an earlier handler cancelled is over: it is not delivered further.
            if (cancel) {
                return;
            }
            Guarded([&] { AppEventsItemSend(item, cancel); });
        });
    });
    Guarded([&] { quit_ = app->OnQuit([this] { Guarded([this] { AppEventsQuit(); }); }); });
    Guarded([&] {
        inspectorActivate_ =
            app->OnInspectorActivate([this](const outlook::InspectorPtr& inspector) {
                Guarded([&] { OLInspectorActivate(inspector); });
            });
    });
}

void AddInModuleBase::BeginShutdown() {
    Guarded([this] { AddInBeginShutdown(); });
}

void AddInModuleBase::Disconnect() {
    Guarded([this] { AddInFinalize(); });
    itemSend_.disconnect();
    quit_.disconnect();
    inspectorActivate_.disconnect();
}

void AddInModuleBase::RibbonBeforeCreate(const QString& ribbonId) {
    Guarded([&] { RibbonBeforeCreateHandler(ribbonId); });
}

void AddInModuleBase::Press(RibbonButton& button, const outlook::InspectorPtr& window) {
    if (!button.Visible() || !button.Enabled() || !button.onClick) {
        return;
    }
    // A command may open a modal dialog in which another button is pressed: each press
    // sees its own window, and the outer one's comes back after.
    outlook::InspectorPtr outer = std::exchange(pressedWindow_, window);
    Guarded([&] { button.onClick(); });
    pressedWindow_ = std::move(outer);
}

}  // namespace vantorel
