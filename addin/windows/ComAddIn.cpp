#include "addin/windows/ComAddIn.h"

#include "addin/windows/ComServer.h"
#include "addin/windows/RibbonFace.h"
#include "addin/windows/ServerLifetime.h"
#include "forms/QtPrompts.h"
#include "outlook/windows/ComContract.h"
#include "outlook/windows/ComObjectModel.h"
#include "outlook/windows/LateBound.h"
#include "outlook/windows/Variant.h"
#include "platform/ClientWindow.h"
#include "platform/ErrorLog.h"
#include "platform/Hives.h"
#include "platform/Prompts.h"
#include "platform/RegistryKey.h"

#include <QApplication>
#include <QFileInfo>

#include <functional>
#include <utility>

namespace vantorel::com {

namespace {

QString moduleFile() {
    return QString::fromStdWString(thisModulePath());
}

// Qt inside the client: one QApplication for the process, made on the first connection
// (never in DllMain) and never deleted. Inside the stand-in client, which is a Qt
// program itself, the client's own serves, with the services the stand-in installed.
void startQt() {
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    // Message boxes are real ones, shown to the person at the client.
    platform::installPrompts(std::make_shared<QtPrompts>());
    // A plug-in: Qt leaves the process's DPI awareness as the client set it.
    QCoreApplication::setAttribute(Qt::AA_PluginApplication);
    // The platform plug-in lives beside the DLL, not beside the client's program.
    QCoreApplication::addLibraryPath(QFileInfo(moduleFile()).absolutePath());
    static int argc = 1;
    static char name[] = "vantorel";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

}  // namespace

ComAddIn::ComAddIn() = default;

ComAddIn::~ComAddIn() {
    if (module_) {
        disconnected(outlook::com::ext_dm_HostShutdown);
    }
}

namespace {
// Counts a call into the module for as long as it runs.
class Call {
public:
    Call(std::function<void()> enter, std::function<void()> leave) : leave_(std::move(leave)) {
        enter();
    }
    ~Call() { leave_(); }

private:
    std::function<void()> leave_;
};
}  // namespace

void ComAddIn::leave() {
    if (--calls_ == 0 && disconnected_) {
        letGo();
    }
}

void ComAddIn::letGo() {
    if (ribbon_) {
        ribbon_->release();
    }
    ribbon_.reset();
    module_.reset();
    application_.reset();
    platform::installClientWindow(nullptr);
    if (applicationDispatch_ != nullptr) {
        std::exchange(applicationDispatch_, nullptr)->Release();
    }
    disconnected_ = false;
}

void ComAddIn::connected(IDispatch* application, int connectMode) {
    if (module_) {
        return;  // connected already: the client calls once per connection
    }
    startQt();
    // The module's code and Qt's objects stay in the process from now on.
    ServerLifetime::pin();
    application_ = outlook::com::comApplication(application);
    application->AddRef();
    applicationDispatch_ = application;
    // The add-in's dialogs belong to the client's window in front.
    platform::installClientWindow([application] {
        return reinterpret_cast<platform::NativeWindow>(
            outlook::com::activeWindowHandle(application));
    });
    module_.reset(vantorel_create_addin());
    ribbon_ = std::make_unique<RibbonFace>(*module_);
    startupCompleted_ = false;
    const Call call([this] { enter(); }, [this] { leave(); });
    module_->Connect(*this);
    // Connected after the client has started (by the user, or by a script): the client
    // reports no start-up completion, so the add-in runs its own.
    if (connectMode != outlook::com::ext_cm_Startup) {
        startupComplete();
    }
}

void ComAddIn::startupComplete() {
    if (!module_ || startupCompleted_) {
        return;
    }
    startupCompleted_ = true;
    // Start-up shows the quick start wizard, inside which the client may quit.
    const Call call([this] { enter(); }, [this] { leave(); });
    module_->StartupComplete();
}

void ComAddIn::beginShutdown() {
    if (module_ && !disconnected_) {
        module_->BeginShutdown();
    }
}

void ComAddIn::disconnected(int /*removeMode*/) {
    if (!module_ || disconnected_) {
        return;
    }
    // While the object model still answers: the module tidies up, then every object of
    // the client it held goes (once no call into the module is in progress).
    disconnected_ = true;
    module_->Disconnect();
    if (calls_ == 0) {
        letGo();
    }
}

QString ComAddIn::customUi(const QString& ribbonId) {
    if (!module_ || disconnected_) {
        return {};
    }
    const Call call([this] { enter(); }, [this] { leave(); });
    return ribbon_->customUi(ribbonId);
}

HRESULT ComAddIn::idsOfNames(LPOLESTR* names, UINT count, DISPID* ids) {
    if (names == nullptr || ids == nullptr) {
        return E_POINTER;
    }
    for (UINT i = 0; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
    }
    if (count >= 1 && names[0] != nullptr && lstrcmpiW(names[0], L"Describe") == 0) {
        ids[0] = kDispIdDescribe;
        return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
    }
    if (ribbon_) {
        return ribbon_->getIDsOfNames(IID_NULL, names, count, LOCALE_USER_DEFAULT, ids);
    }
    return DISP_E_UNKNOWNNAME;
}

HRESULT ComAddIn::invoke(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                         EXCEPINFO* exception, UINT* argumentError) {
    if (id != kDispIdDescribe) {
        if (!ribbon_ || disconnected_) {
            return DISP_E_MEMBERNOTFOUND;
        }
        const Call call([this] { enter(); }, [this] { leave(); });
        return ribbon_->invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, params, result, exception,
                               argumentError);
    }
    if ((flags & DISPATCH_METHOD) == 0) {
        return DISP_E_MEMBERNOTFOUND;
    }
    if (params == nullptr || params->cArgs != 1) {
        return DISP_E_BADPARAMCOUNT;
    }
    if (params->cNamedArgs != 0) {
        return DISP_E_NONAMEDARGS;
    }
    QString what;
    try {
        what = outlook::com::toText(params->rgvarg[0]);
    } catch (const outlook::com::VariantError& e) {
        if (argumentError != nullptr) {
            *argumentError = 0;
        }
        return e.result();
    }
    QString text;
    const HRESULT hr = outlook::com::guardedEvent(
        exception, [&] { text = module_ ? module_->Describe(what) : QString(); });
    if (SUCCEEDED(hr) && result != nullptr) {
        VariantInit(result);
        *result = outlook::com::Variant::text(text).detach();
    }
    return hr;
}

QString ComAddIn::AddInFolder() {
    return QFileInfo(moduleFile()).absolutePath() + QLatin1Char('/');
}

ShutdownBehavior ComAddIn::OutlookShutdownBehavior() {
    // Since version 14 the client shuts down fast: add-ins hear only Quit, unless an
    // administrator's policy asks for the shutdown calls.
    try {
        const QString version = application_ ? application_->Version() : QString();
        const QString major = version.section(QLatin1Char('.'), 0, 0);
        platform::RegistryKey key(platform::currentUserHive(), true);
        if (!major.isEmpty() &&
            key.openKey(QStringLiteral("\\Software\\Policies\\Microsoft\\Office\\%1.0\\Outlook\\"
                                       "Options\\Shutdown")
                            .arg(major),
                        false) &&
            key.valueExists(QStringLiteral("AddinFastShutdownBehavior")) &&
            key.readInteger(QStringLiteral("AddinFastShutdownBehavior")) == 1) {
            return ShutdownBehavior::Normal;
        }
    } catch (const std::exception& e) {
        platform::logSuppressedError(QString::fromUtf8(e.what()));
    }
    return ShutdownBehavior::Fast;
}

void ComAddIn::ErrorSuppressed(const QString& text) {
    platform::logSuppressedError(text);
}

}  // namespace vantorel::com
