// The add-in loaded as the mail client loads it on Windows: from its registration under
// the client's add-in key, the class it names created through the DLL's class factory,
// then driven only through COM: IDTExtensibility2 for its life, IRibbonExtensibility
// and the ribbon's callbacks for its buttons, and the engine handed over as the
// client's object model.

#include "addin/windows/ComInterfaces.h"
#include "host/AddInLoader.h"
#include "host/MailClient.h"
#include "host/engine/Engine.h"
#include "host/windows/com/ComServer.h"
#include "host/windows/com/RibbonMirror.h"
#include "outlook/windows/ComPtr.h"
#include "outlook/windows/LateBound.h"
#include "outlook/windows/Variant.h"
#include "platform/Hives.h"
#include "platform/RegistryKey.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>

#include <windows.h>

#include <stdexcept>
#include <string>

namespace vantorel::host {

namespace {

using outlook::com::ComPtr;
using outlook::com::IDTExtensibility2;
using outlook::com::IID_IDTExtensibility2;

const std::wstring kAddInsKey = L"Software\\Microsoft\\Office\\Outlook\\Addins\\";

[[noreturn]] void fail(const QString& text) {
    throw std::runtime_error(text.toStdString());
}

QString wide(const std::wstring& text) {
    return QString::fromStdWString(text);
}

// A value of the user's registry, as the client reads it; nothing when it is missing.
std::wstring readText(const std::wstring& key, const wchar_t* name) {
    DWORD size = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, nullptr,
                     &size) != ERROR_SUCCESS) {
        return {};
    }
    std::wstring value(size / sizeof(wchar_t), L'\0');
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value.data(),
                     &size) != ERROR_SUCCESS) {
        return {};
    }
    value.resize(wcsnlen(value.c_str(), value.size()));
    return value;
}

bool readNumber(const std::wstring& key, const wchar_t* name, DWORD* value) {
    DWORD size = sizeof(*value);
    return RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, value,
                        &size) == ERROR_SUCCESS;
}

// Where the client finds the add-in PROGID: its add-in key (loaded at start-up), the
// class the ProgID names, and the DLL registered for that class.
struct Registration {
    CLSID clsid{};
    std::wstring dll;
};

Registration findRegistration(const std::wstring& progId) {
    const QString advice = QStringLiteral("; register the add-in with regsvr32 vantorel.dll");
    const std::wstring addInKey = kAddInsKey + progId;
    DWORD loadBehavior = 0;
    if (!readNumber(addInKey, L"LoadBehavior", &loadBehavior)) {
        fail(QStringLiteral("the add-in %1 is not registered with the mail client (no "
                            "HKEY_CURRENT_USER\\%2)%3")
                 .arg(wide(progId), wide(addInKey), advice));
    }
    if (loadBehavior != 3) {
        fail(QStringLiteral("the add-in %1 is not set to load at start-up (LoadBehavior %2)")
                 .arg(wide(progId))
                 .arg(loadBehavior));
    }
    Registration found;
    const std::wstring clsid = readText(L"Software\\Classes\\" + progId + L"\\CLSID", nullptr);
    if (clsid.empty() || FAILED(CLSIDFromString(clsid.c_str(), &found.clsid))) {
        fail(QStringLiteral("the ProgID %1 names no class%2").arg(wide(progId), advice));
    }
    found.dll = readText(L"Software\\Classes\\CLSID\\" + clsid + L"\\InprocServer32", nullptr);
    if (found.dll.empty()) {
        fail(QStringLiteral("the class %1 has no InprocServer32%2").arg(wide(clsid), advice));
    }
    return found;
}

QString failure(const char* call, HRESULT hr) {
    return QStringLiteral("the add-in's %1 failed: %2")
        .arg(QLatin1String(call), outlook::com::resultText(hr));
}

class ComLoadedAddIn final : public LoadedAddIn, private IAddIn {
public:
    explicit ComLoadedAddIn(engine::Engine& engine) : engine_(engine) {
        const Registration registration = findRegistration(vantorel::com::kProgId);
        dll_ = wide(registration.dll);
        // Wine reads no per-user class registrations: the DLL is loaded from the
        // registered path and asked for its class directly, as COM would.
        module_ = LoadLibraryExW(registration.dll.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        if (module_ == nullptr) {
            fail(QStringLiteral("cannot load the add-in %1: %2")
                     .arg(dll_, outlook::com::resultText(HRESULT_FROM_WIN32(GetLastError()))));
        }
        using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
        const auto getClassObject = reinterpret_cast<GetClassObject>(
            reinterpret_cast<void (*)()>(GetProcAddress(module_, "DllGetClassObject")));
        if (getClassObject == nullptr) {
            fail(QStringLiteral("%1 is not a COM server (no DllGetClassObject)").arg(dll_));
        }
        ComPtr<IClassFactory> factory;
        HRESULT hr = getClassObject(registration.clsid, IID_IClassFactory,
                                    reinterpret_cast<void**>(factory.put()));
        if (FAILED(hr)) {
            fail(failure("DllGetClassObject", hr));
        }
        hr = factory->CreateInstance(nullptr, IID_IDTExtensibility2,
                                     reinterpret_cast<void**>(connect_.put()));
        if (FAILED(hr)) {
            fail(failure("CreateInstance", hr));
        }
    }

    ~ComLoadedAddIn() override {
        // What the add-in still holds of the client once it is gone is a fault of the
        // add-in: the real client's saves fail over leaked items.
        const long ribbonReferences = ribbon_ ? ribbon_->referencesHeld() : 0;
        ribbon_.reset();
        connect_.reset();
        application_.reset();
        // Windows the add-in closed on its way out go with the next pass of the message
        // loop, as they would in the client.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const int objects = com::liveServerObjects();
        const int advises = com::activeAdvises();
        if (objects != 0 || advises != 0 || ribbonReferences != 0) {
            reportContractFault(
                QStringLiteral("the add-in still holds %1 objects of the mail client, %2 event "
                               "subscriptions and %3 references to its ribbon after it was "
                               "disconnected")
                    .arg(objects)
                    .arg(advises)
                    .arg(ribbonReferences));
        }
        // The DLL stays loaded: it answers DllCanUnloadNow with no once it has run.
    }

    IAddIn& addIn() override { return *this; }
    QString folder() const override { return QFileInfo(dll_).absolutePath() + QLatin1Char('/'); }

private:
    void Connect(IAddInHost& host) override {
        writeShutdownPolicy(host);
        application_ = com::makeApplicationServer(host.HostApplication(), desktopWindows(host));
        SAFEARRAY* custom = SafeArrayCreateVector(VT_VARIANT, 0, 0);
        const HRESULT hr = connect_->OnConnection(application_.get(), outlook::com::ext_cm_Startup,
                                                  nullptr, &custom);
        SafeArrayDestroy(custom);
        if (FAILED(hr)) {
            fail(failure("OnConnection", hr));
        }
        connected_ = true;
        // The client takes the XML of a ribbon when it first shows it; the stand-in takes
        // both at once, so that its ribbon view shows the message window's group before
        // a message window opens (in the order the add-in declares them). The add-in
        // hears of a ribbon being built from its onLoad, which comes with the window.
        ribbon_ = std::make_unique<com::RibbonMirror>(connect_.get());
        ribbon_->describe(kRibbonMailCompose);
        ribbon_->describe(kRibbonExplorer);
    }

    // The engine's windows, and the desktop's native ones behind them (none in scripts):
    // the add-in's dialogs belong to them.
    com::HostWindows desktopWindows(IAddInHost& host) {
        com::HostWindows windows = com::windowsOf(engine_);
        if (auto* client = dynamic_cast<MailClient*>(&host)) {
            windows.mainWindow = [client] {
                return client->mainWindowHandle ? reinterpret_cast<HWND>(client->mainWindowHandle())
                                                : nullptr;
            };
            windows.inspectorWindow = [client](const outlook::InspectorPtr& inspector) {
                return client->inspectorWindowHandle
                           ? reinterpret_cast<HWND>(client->inspectorWindowHandle(inspector))
                           : nullptr;
            };
        }
        return windows;
    }

    // The client tells add-ins of its shutdown (fast or normal) only through the
    // administrator's policy: the stand-in writes the policy as the scenario set it.
    void writeShutdownPolicy(IAddInHost& host) {
        const bool normal = host.OutlookShutdownBehavior() == ShutdownBehavior::Normal;
        const QString major = host.HostApplication()->Version().section(QLatin1Char('.'), 0, 0);
        platform::RegistryKey key(platform::currentUserHive());
        const QString name = QStringLiteral("AddinFastShutdownBehavior");
        // Written only when it changes: the hive is a file the stand-in writes whole.
        if (!key.openKey(QStringLiteral("\\Software\\Policies\\Microsoft\\Office\\%1.0\\"
                                        "Outlook\\Options\\Shutdown")
                             .arg(major),
                         normal)) {
            return;
        }
        const bool written = key.valueExists(name) && key.readInteger(name) == 1;
        if (normal && !written) {
            key.writeInteger(name, 1);
        } else if (!normal && key.valueExists(name)) {
            key.deleteValue(name);
        }
    }

    template <typename Call>
    void lifecycle(const char* name, Call call) {
        if (!connected_) {
            return;
        }
        SAFEARRAY* custom = SafeArrayCreateVector(VT_VARIANT, 0, 0);
        const HRESULT hr = call(&custom);
        SafeArrayDestroy(custom);
        if (FAILED(hr)) {
            fail(failure(name, hr));
        }
    }

    void StartupComplete() override {
        lifecycle("OnStartupComplete",
                  [&](SAFEARRAY** custom) { return connect_->OnStartupComplete(custom); });
    }

    void BeginShutdown() override {
        lifecycle("OnBeginShutdown",
                  [&](SAFEARRAY** custom) { return connect_->OnBeginShutdown(custom); });
    }

    void Disconnect() override {
        lifecycle("OnDisconnection", [&](SAFEARRAY** custom) {
            return connect_->OnDisconnection(outlook::com::ext_dm_HostShutdown, custom);
        });
        connected_ = false;
    }

    void RibbonBeforeCreate(const QString& ribbonId) override {
        if (!ribbon_) {
            return;
        }
        if (!ribbon_->described(ribbonId)) {
            ribbon_->describe(ribbonId);
        }
        ribbon_->load(ribbonId);
    }

    std::vector<RibbonTab*> RibbonTabs() override {
        if (!ribbon_) {
            return {};
        }
        ribbon_->refreshDescribed();
        return ribbon_->tabs();
    }

    void Press(RibbonButton& button, const outlook::InspectorPtr& window) override {
        if (ribbon_) {
            // The control names the window whose ribbon was pressed.
            ribbon_->press(button, com::windowObject(application_.get(), window).get());
        }
    }

    QString Describe(const QString& what) override {
        static outlook::com::DispIdCache ids("the add-in");
        outlook::com::LateBound addIn(ComPtr<IDispatch>(connect_.get()), ids);
        return outlook::com::toText(*addIn.call(L"Describe", {outlook::com::Variant::text(what)}));
    }

    engine::Engine& engine_;
    QString dll_;
    HMODULE module_ = nullptr;
    ComPtr<IDTExtensibility2> connect_;
    ComPtr<IDispatch> application_;
    std::unique_ptr<com::RibbonMirror> ribbon_;
    bool connected_ = false;
};

}  // namespace

std::unique_ptr<LoadedAddIn> loadComAddIn(engine::Engine& engine) {
    return std::make_unique<ComLoadedAddIn>(engine);
}

}  // namespace vantorel::host
