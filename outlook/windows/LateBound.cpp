#include "outlook/windows/LateBound.h"

#include "outlook/OutlookError.h"
#include "outlook/windows/ComContract.h"

#include <ocidl.h>
#include <olectl.h>

#include <atomic>
#include <vector>

namespace vantorel::outlook::com {

namespace {

QString memberName(const wchar_t* name) {
    return QString::fromWCharArray(name);
}

[[noreturn]] void fail(const QString& text) {
    throw OutlookError(text);
}

// One sink object per subscription: the client holds it between Advise and Unadvise.
class EventSink final : public IDispatch {
public:
    EventSink(REFIID diid, EventHandler handler) : diid_(diid), handler_(std::move(handler)) {}
    EventSink(const EventSink&) = delete;
    EventSink& operator=(const EventSink&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == diid_) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
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
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) {
            return E_POINTER;
        }
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info != nullptr) {
            *info = nullptr;
        }
        return DISP_E_BADINDEX;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;  // events arrive by DISPID
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                     EXCEPINFO* exception, UINT*) override {
        if (!handler_) {
            return S_OK;
        }
        // The handler may end its own subscription: keep this sink alive meanwhile.
        AddRef();
        const HRESULT result = handler_(id, params, exception);
        Release();
        return result;
    }

    // After Unadvise, a late call does nothing.
    void detach() { handler_ = nullptr; }

private:
    ~EventSink() = default;

    const IID diid_;
    EventHandler handler_;
    std::atomic<ULONG> references_{1};
};

}  // namespace

DISPID DispIdCache::find(IDispatch* object, const wchar_t* name) {
    const auto known = ids_.find(name);
    if (known != ids_.end()) {
        return known->second;
    }
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    const HRESULT result = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_SYSTEM_DEFAULT, &id);
    if (FAILED(result)) {
        fail(QStringLiteral("The mail client's %1 has no member %2: %3")
                 .arg(QLatin1String(typeName_), memberName(name), resultText(result)));
    }
    ids_.emplace(name, id);
    return id;
}

Variant LateBound::invoke(const wchar_t* name, WORD flags, std::initializer_list<Variant> args,
                          const Variant* putValue) const {
    if (!object_) {
        fail(QStringLiteral("The mail client's %1 is gone").arg(QLatin1String(cache_->typeName())));
    }
    const DISPID id = cache_->find(object_.get(), name);
    // Reverse order: the last argument first; a put's value before them all.
    std::vector<VARIANT> reversed;
    reversed.reserve(args.size() + 1);
    if (putValue != nullptr) {
        reversed.push_back(**putValue);
    }
    for (auto it = args.end(); it != args.begin();) {
        --it;
        reversed.push_back(**it);
    }
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.data(), putValue != nullptr ? &putId : nullptr,
                      static_cast<UINT>(reversed.size()), putValue != nullptr ? 1u : 0u};
    Variant result;
    EXCEPINFO exception{};
    UINT argumentError = 0;
    const HRESULT hr =
        object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                        putValue != nullptr ? nullptr : result.get(), &exception, &argumentError);
    if (hr == DISP_E_EXCEPTION) {
        if (exception.pfnDeferredFillIn != nullptr) {
            exception.pfnDeferredFillIn(&exception);
        }
        const QString description = fromBstr(exception.bstrDescription);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrHelpFile);
        fail(description.isEmpty() ? QStringLiteral("The operation failed.") : description);
    }
    if (FAILED(hr)) {
        fail(QStringLiteral("%1.%2 failed: %3")
                 .arg(QLatin1String(cache_->typeName()), memberName(name), resultText(hr)));
    }
    return result;
}

Variant LateBound::get(const wchar_t* name, std::initializer_list<Variant> args) const {
    return invoke(name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, args, nullptr);
}

Variant LateBound::call(const wchar_t* name, std::initializer_list<Variant> args) const {
    return invoke(name, DISPATCH_METHOD, args, nullptr);
}

void LateBound::put(const wchar_t* name, Variant value) const {
    invoke(name, DISPATCH_PROPERTYPUT, {}, &value);
}

namespace {

template <typename T>
T converted(const Variant& value, const wchar_t* name, T (*convert)(const VARIANT&)) {
    try {
        return convert(*value);
    } catch (const VariantError& e) {
        fail(QStringLiteral("%1 of the mail client: %2")
                 .arg(memberName(name), QString::fromUtf8(e.what())));
    }
}

}  // namespace

QString LateBound::text(const wchar_t* name) const {
    return converted(get(name), name, &toText);
}

int LateBound::integer(const wchar_t* name) const {
    return converted(get(name), name, &toInt);
}

bool LateBound::boolean(const wchar_t* name) const {
    return converted(get(name), name, &toBool);
}

double LateBound::date(const wchar_t* name) const {
    return converted(get(name), name, &toDate);
}

ComPtr<IDispatch> LateBound::object(const wchar_t* name) const {
    return objectOf(get(name), name);
}

ComPtr<IDispatch> LateBound::callObject(const wchar_t* name,
                                        std::initializer_list<Variant> args) const {
    return objectOf(call(name, args), name);
}

ComPtr<IDispatch> objectOf(const Variant& value, const wchar_t* what) {
    try {
        return ComPtr<IDispatch>(toDispatch(*value));
    } catch (const VariantError& e) {
        fail(QStringLiteral("%1 of the mail client: %2")
                 .arg(memberName(what), QString::fromUtf8(e.what())));
    }
}

Connection advise(Event<>& subscriptions, IDispatch* source, REFIID diid, EventHandler handler) {
    ComPtr<IConnectionPointContainer> container;
    if (source == nullptr ||
        FAILED(source->QueryInterface(IID_IConnectionPointContainer,
                                      reinterpret_cast<void**>(container.put())))) {
        fail(QStringLiteral("The mail client's object raises no events"));
    }
    ComPtr<IConnectionPoint> point;
    HRESULT hr = container->FindConnectionPoint(diid, point.put());
    if (FAILED(hr)) {
        fail(QStringLiteral("The mail client's object does not raise these events: %1")
                 .arg(resultText(hr)));
    }
    EventSink* sink = new EventSink(diid, std::move(handler));
    DWORD cookie = 0;
    hr = point->Advise(sink, &cookie);
    if (FAILED(hr)) {
        sink->Release();
        fail(QStringLiteral("The mail client refused the event subscription: %1")
                 .arg(resultText(hr)));
    }
    return subscriptions.connect([] {},
                                 [point, cookie, sink] {
                                     sink->detach();
                                     point->Unadvise(cookie);
                                     sink->Release();
                                 });
}

HRESULT guardedEvent(EXCEPINFO* exception, const std::function<void()>& action) {
    QString text;
    try {
        action();
        return S_OK;
    } catch (const OutlookError& e) {
        text = e.text();
    } catch (const std::exception& e) {
        text = QString::fromUtf8(e.what());
    }
    if (exception != nullptr) {
        *exception = EXCEPINFO{};
        exception->bstrSource = SysAllocString(L"Vantorel");
        exception->bstrDescription = newBstr(text);
        exception->scode = E_FAIL;
    }
    return DISP_E_EXCEPTION;
}

}  // namespace vantorel::outlook::com
