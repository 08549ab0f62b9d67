#include "host/windows/com/Dispatch.h"

#include "host/windows/com/ComServer.h"
#include "outlook/windows/ComContract.h"

#include <oleauto.h>
#include <olectl.h>

#include <algorithm>
#include <cwchar>
#include <exception>
#include <iterator>
#include <utility>

namespace vantorel::host::com {

namespace {

int liveObjects = 0;
int advices = 0;
DWORD nextCookie = 1;

// Every member name of every type, in the order they were introduced: a name's
// DISPID is its place here (from 1), so names are only ever appended.
constexpr const wchar_t* kMemberNames[] = {
    L"Version",
    L"Session",
    L"GetNamespace",
    L"CreateItem",
    L"ActiveInspector",
    L"Explorers",
    L"Inspectors",
    L"Count",
    L"CurrentItem",
    L"GetDefaultFolder",
    L"GetItemFromID",
    L"Folders",
    L"Categories",
    L"Item",
    L"Name",
    L"EntryID",
    L"FolderPath",
    L"Items",
    L"Parent",
    L"Restrict",
    L"Class",
    L"MessageClass",
    L"Subject",
    L"Body",
    L"UserProperties",
    L"Save",
    L"Delete",
    L"Display",
    L"ConversationTopic",
    L"SenderEmailAddress",
    L"SenderName",
    L"To",
    L"CC",
    L"BCC",
    L"Recipients",
    L"Sent",
    L"SentOn",
    L"ReceivedTime",
    L"Send",
    L"Forward",
    L"PropertyAccessor",
    L"GetProperty",
    L"StartDate",
    L"DueDate",
    L"ReminderTime",
    L"Importance",
    L"ReminderOverrideDefault",
    L"ReminderSet",
    L"Complete",
    L"MarkComplete",
    L"Find",
    L"Add",
    L"Remove",
    L"Type",
    L"Value",
    L"ResolveAll",
    L"Address",
    L"Resolved",
    L"AddressEntry",
    L"ActiveWindow",
    L"ActiveExplorer",
};

// The text an engine error carries.
QString errorText(const std::exception& e) {
    const auto* outlookError = dynamic_cast<const outlook::OutlookError*>(&e);
    return outlookError ? outlookError->text() : QString::fromUtf8(e.what());
}

void fillError(EXCEPINFO* error, const QString& text) {
    if (error == nullptr) {
        return;
    }
    *error = EXCEPINFO{};
    error->wCode = 0;
    error->bstrSource = SysAllocString(oc::kErrorSource);
    error->bstrDescription = oc::newBstr(text);
    error->scode = E_FAIL;
}

// The text of an EXCEPINFO a sink filled in; frees what it holds.
QString takeErrorText(EXCEPINFO& error) {
    if (error.pfnDeferredFillIn != nullptr) {
        error.pfnDeferredFillIn(&error);
    }
    QString text = oc::fromBstr(error.bstrDescription);
    SysFreeString(error.bstrSource);
    SysFreeString(error.bstrDescription);
    SysFreeString(error.bstrHelpFile);
    error = EXCEPINFO{};
    return text;
}

// A connection point of a server for one event interface; it holds a reference on
// the server.
class ConnectionPoint final : public IConnectionPoint, private Counted {
public:
    ConnectionPoint(Server* container, const IID& iid) : container_(container), iid_(iid) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IConnectionPoint)) {
            *out = static_cast<IConnectionPoint*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override {
        if (iid == nullptr) {
            return E_POINTER;
        }
        *iid = iid_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE
    GetConnectionPointContainer(IConnectionPointContainer** out) override {
        if (out == nullptr) {
            return E_POINTER;
        }
        *out = static_cast<IConnectionPointContainer*>(container_.get());
        (*out)->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override {
        return container_->advise(iid_, sink, cookie);
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override {
        return container_->unadvise(iid_, cookie);
    }
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) override {
        if (out != nullptr) {
            *out = nullptr;
        }
        return E_NOTIMPL;
    }

private:
    oc::ComPtr<Server> container_;
    IID iid_;
    ULONG references_ = 1;
};

}  // namespace

int liveServerObjects() {
    return liveObjects;
}

int activeAdvises() {
    return advices;
}

Counted::Counted() {
    ++liveObjects;
}

Counted::~Counted() {
    --liveObjects;
}

DISPID memberId(const wchar_t* name) {
    for (std::size_t i = 0; i < std::size(kMemberNames); ++i) {
        if (wcscmp(kMemberNames[i], name) == 0) {
            return static_cast<DISPID>(i + 1);
        }
    }
    return DISPID_UNKNOWN;
}

bool Call::isText(UINT i) const {
    const VARIANT& v = arg(i);
    const VARIANT& direct = (v.vt == (VT_BYREF | VT_VARIANT) && v.pvarVal) ? *v.pvarVal : v;
    return direct.vt == VT_BSTR || direct.vt == (VT_BSTR | VT_BYREF);
}

template <typename F>
auto Call::convert(UINT i, F f) const {
    try {
        return f(arg(i));
    } catch (const oc::VariantError&) {
        throw ArgumentError{params_.cArgs - 1 - i, DISP_E_TYPEMISMATCH};
    }
}

QString Call::text(UINT i) const {
    return convert(i, [](const VARIANT& v) { return oc::toText(v); });
}

int Call::integer(UINT i) const {
    return convert(i, [](const VARIANT& v) { return oc::toInt(v); });
}

bool Call::boolean(UINT i) const {
    return convert(i, [](const VARIANT& v) { return oc::toBool(v); });
}

double Call::date(UINT i) const {
    return convert(i, [](const VARIANT& v) { return oc::toDate(v); });
}

Server::~Server() = default;

HRESULT Server::QueryInterface(REFIID iid, void** out) {
    if (out == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
        *out = static_cast<IDispatch*>(this);
    } else if (IsEqualIID(iid, IID_IConnectionPointContainer) && !events().empty()) {
        *out = static_cast<IConnectionPointContainer*>(this);
    } else if (IsEqualIID(iid, IID_IOleWindow) && isWindow()) {
        *out = static_cast<IOleWindow*>(this);
    } else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG Server::AddRef() {
    return ++references_;
}

ULONG Server::Release() {
    const ULONG left = --references_;
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT Server::GetWindow(HWND* window) {
    if (window == nullptr) {
        return E_POINTER;
    }
    *window = handle();
    return *window != nullptr ? S_OK : E_FAIL;
}

HRESULT Server::ContextSensitiveHelp(BOOL) {
    return E_NOTIMPL;
}

HRESULT Server::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = 0;
    return S_OK;
}

HRESULT Server::GetTypeInfo(UINT /*index*/, LCID /*lcid*/, ITypeInfo** info) {
    if (info != nullptr) {
        *info = nullptr;
    }
    return DISP_E_BADINDEX;
}

HRESULT Server::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID /*lcid*/, DISPID* ids) {
    if (!IsEqualIID(iid, IID_NULL)) {
        return DISP_E_UNKNOWNINTERFACE;
    }
    if (names == nullptr || ids == nullptr) {
        return E_POINTER;
    }
    if (count == 0) {
        return S_OK;
    }
    // Named arguments are not offered: only the member's own name is known.
    std::fill(ids, ids + count, DISPID_UNKNOWN);
    try {
        const QString name = names[0] ? QString::fromWCharArray(names[0]) : QString();
        for (int i = 0; i < memberCount(); ++i) {
            const wchar_t* candidate = shape(i).name;
            if (name.compare(QString::fromWCharArray(candidate), Qt::CaseInsensitive) == 0) {
                ids[0] = idBase() + memberId(candidate);
                break;
            }
        }
    } catch (...) {
        return E_OUTOFMEMORY;
    }
    return ids[0] == DISPID_UNKNOWN || count > 1 ? DISP_E_UNKNOWNNAME : S_OK;
}

int Server::find(DISPID id) const {
    // A collection's Item is its default member too.
    const DISPID wanted = id == DISPID_VALUE ? idBase() + memberId(L"Item") : id;
    for (int i = 0; i < memberCount(); ++i) {
        if (idBase() + memberId(shape(i).name) == wanted) {
            return i;
        }
    }
    return -1;
}

HRESULT Server::Invoke(DISPID id, REFIID iid, LCID /*lcid*/, WORD flags, DISPPARAMS* params,
                       VARIANT* result, EXCEPINFO* error, UINT* argumentError) {
    if (!IsEqualIID(iid, IID_NULL)) {
        return DISP_E_UNKNOWNINTERFACE;
    }
    const int index = find(id);
    if (index < 0) {
        return DISP_E_MEMBERNOTFOUND;
    }
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    const DISPPARAMS& p = params != nullptr ? *params : none;
    if (p.cArgs > 0 && p.rgvarg == nullptr) {
        return E_INVALIDARG;
    }
    // Hold on to this object for the call: a member may release what holds it.
    oc::ComPtr<IDispatch> keep(static_cast<IDispatch*>(this));
    try {
        return invoke(index, flags, p, result);
    } catch (const ArgumentError& e) {
        if (argumentError != nullptr) {
            *argumentError = e.position;
        }
        return e.result;
    } catch (const std::exception& e) {
        fillError(error, errorText(e));
        return DISP_E_EXCEPTION;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT Server::invoke(int index, WORD flags, const DISPPARAMS& params, VARIANT* result) {
    const Shape member = shape(index);
    const Call call(params);
    // No property takes an object: a put by reference finds none.
    if ((flags & DISPATCH_PROPERTYPUTREF) != 0) {
        return DISP_E_MEMBERNOTFOUND;
    }
    if ((flags & DISPATCH_PROPERTYPUT) != 0) {
        if ((member.access & kPut) == 0) {
            return DISP_E_MEMBERNOTFOUND;
        }
        if (params.cNamedArgs == 0) {
            return DISP_E_PARAMNOTFOUND;
        }
        if (params.cNamedArgs != 1 || params.rgdispidNamedArgs == nullptr ||
            params.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) {
            return DISP_E_NONAMEDARGS;
        }
        if (params.cArgs != 1) {
            return DISP_E_BADPARAMCOUNT;
        }
        put(index, call);
        return S_OK;
    }
    const bool asGet = (flags & DISPATCH_PROPERTYGET) != 0 && (member.access & kGet) != 0;
    const bool asMethod = (flags & DISPATCH_METHOD) != 0 && (member.access & kMethod) != 0;
    if (!asGet && !asMethod) {
        return DISP_E_MEMBERNOTFOUND;
    }
    if (params.cNamedArgs != 0) {
        return DISP_E_NONAMEDARGS;
    }
    if (params.cArgs < member.minArgs || params.cArgs > member.maxArgs) {
        return DISP_E_BADPARAMCOUNT;
    }
    oc::Variant value = get(index, call);
    if (result != nullptr) {
        *result = value.detach();
    }
    return S_OK;
}

HRESULT Server::EnumConnectionPoints(IEnumConnectionPoints** out) {
    if (out != nullptr) {
        *out = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT Server::FindConnectionPoint(REFIID iid, IConnectionPoint** out) {
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = nullptr;
    const std::span<const IID> ours = events();
    if (std::none_of(ours.begin(), ours.end(),
                     [&iid](const IID& each) { return IsEqualIID(each, iid) != 0; })) {
        return CONNECT_E_NOCONNECTION;
    }
    try {
        *out = new ConnectionPoint(this, iid);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

Subscription Server::subscribe(const IID& /*iid*/, const oc::ComPtr<IDispatch>& /*sink*/) {
    return {};
}

HRESULT Server::advise(REFIID iid, IUnknown* sink, DWORD* cookie) {
    if (cookie == nullptr) {
        return E_POINTER;
    }
    *cookie = 0;
    if (sink == nullptr) {
        return E_POINTER;
    }
    // The client asks the sink for the event interface; a sink that answers only
    // IDispatch is called the same way.
    oc::ComPtr<IDispatch> dispatch;
    if (FAILED(sink->QueryInterface(iid, reinterpret_cast<void**>(dispatch.put()))) || !dispatch) {
        if (FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.put()))) ||
            !dispatch) {
            return CONNECT_E_CANNOTCONNECT;
        }
    }
    try {
        Advice advice{nextCookie++, iid, subscribe(iid, dispatch),
                      oc::ComPtr<IDispatch>(static_cast<IDispatch*>(this))};
        *cookie = advice.cookie;
        advices_.push_back(std::move(advice));
    } catch (...) {
        return E_FAIL;
    }
    ++advices;
    return S_OK;
}

HRESULT Server::unadvise(REFIID iid, DWORD cookie) {
    const auto at = std::find_if(advices_.begin(), advices_.end(), [&](const Advice& each) {
        return each.cookie == cookie && IsEqualIID(each.iid, iid);
    });
    if (at == advices_.end()) {
        return CONNECT_E_NOCONNECTION;
    }
    Advice gone = std::move(*at);
    advices_.erase(at);
    --advices;
    for (outlook::Connection& each : gone.subscription) {
        each.disconnect();
    }
    return S_OK;
}

oc::Variant object(oc::ComPtr<IDispatch> object) {
    oc::Variant result = oc::Variant::dispatch(nullptr);
    VARIANT* v = result.get();
    v->pdispVal = object.detach();
    return result;
}

void fire(IDispatch* sink, DISPID id, const char* event, std::span<VARIANT> args) {
    DISPPARAMS params{args.data(), nullptr, static_cast<UINT>(args.size()), 0};
    EXCEPINFO error{};
    UINT argumentError = 0;
    const HRESULT hr = sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                                    nullptr, &error, &argumentError);
    if (hr == DISP_E_EXCEPTION) {
        if (error.pfnDeferredFillIn != nullptr) {
            error.pfnDeferredFillIn(&error);
            error.pfnDeferredFillIn = nullptr;
        }
        const SCODE code = error.scode;
        const QString text = takeErrorText(error);
        if (!text.isEmpty()) {
            throw outlook::OutlookError(text);
        }
        // A sink that failed without a word: what its SCODE says.
        throw outlook::OutlookError(
            QStringLiteral("%1 failed: %2")
                .arg(QLatin1String(event), oc::resultText(FAILED(code) ? code : hr)));
    }
    if (FAILED(hr)) {
        throw outlook::OutlookError(
            QStringLiteral("%1 failed: %2").arg(QLatin1String(event), oc::resultText(hr)));
    }
}

}  // namespace vantorel::host::com
