#pragma once

// Calls the COM server as the add-in does: GetIDsOfNames by name, then Invoke with the
// arguments in reverse order; sinks for its connection points; and a real engine on a
// temporary mailbox behind it.

#include "host/windows/com/ComServer.h"
#include "outlook/windows/ComContract.h"
#include "outlook/windows/ComPtr.h"
#include "outlook/windows/Variant.h"
#include "tests/engine/EngineFixture.h"

#include <ocidl.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace vantorel::host::com::testing {

namespace oc = vantorel::outlook::com;
namespace ol = vantorel::outlook;
using Object = oc::ComPtr<IDispatch>;

// What one Invoke answered.
struct Outcome {
    HRESULT hr = E_UNEXPECTED;
    oc::Variant value;
    UINT argumentError = ~0u;
    WORD code = 0xFFFF;
    QString source;
    QString description;
    SCODE scode = S_OK;
};

inline DISPID idOf(IDispatch* object, const wchar_t* name) {
    if (object == nullptr) {
        ADD_FAILURE() << "no object to ask for " << QString::fromWCharArray(name).toStdString();
        return DISPID_UNKNOWN;
    }
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    const HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    return SUCCEEDED(hr) ? id : DISPID_UNKNOWN;
}

// Invokes member ID with ARGS given in the order the member declares them.
inline Outcome invokeId(IDispatch* object, DISPID id, WORD flags, std::vector<oc::Variant> args,
                        std::vector<DISPID> named = {}) {
    Outcome out;
    if (object == nullptr) {
        ADD_FAILURE() << "no object to call";
        out.hr = E_POINTER;
        return out;
    }
    std::vector<VARIANT> reversed;
    for (auto it = args.rbegin(); it != args.rend(); ++it) {
        reversed.push_back(**it);  // still owned by ARGS
    }
    DISPPARAMS params{reversed.data(), named.data(), static_cast<UINT>(reversed.size()),
                      static_cast<UINT>(named.size())};
    EXCEPINFO error{};
    out.hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, out.value.get(),
                            &error, &out.argumentError);
    if (out.hr == DISP_E_EXCEPTION) {
        out.code = error.wCode;
        out.source = oc::fromBstr(error.bstrSource);
        out.description = oc::fromBstr(error.bstrDescription);
        out.scode = error.scode;
    }
    SysFreeString(error.bstrSource);
    SysFreeString(error.bstrDescription);
    SysFreeString(error.bstrHelpFile);
    return out;
}

inline Outcome invoke(IDispatch* object, const wchar_t* name, WORD flags,
                      std::vector<oc::Variant> args = {}) {
    const DISPID id = idOf(object, name);
    if (id == DISPID_UNKNOWN) {
        Outcome out;
        out.hr = DISP_E_UNKNOWNNAME;
        return out;
    }
    std::vector<DISPID> named;
    if ((flags & DISPATCH_PROPERTYPUT) != 0) {
        named.push_back(DISPID_PROPERTYPUT);
    }
    return invokeId(object, id, flags, std::move(args), std::move(named));
}

inline constexpr WORD kGetFlags = DISPATCH_PROPERTYGET;
inline constexpr WORD kLateGet = DISPATCH_METHOD | DISPATCH_PROPERTYGET;

// The value of a property (or a method's result), asked for as late-bound callers ask.
inline oc::Variant get(IDispatch* object, const wchar_t* name, std::vector<oc::Variant> args = {},
                       WORD flags = kLateGet) {
    Outcome out = invoke(object, name, flags, std::move(args));
    EXPECT_EQ(out.hr, S_OK) << QString::fromWCharArray(name).toStdString() << ": "
                            << out.description.toStdString();
    return std::move(out.value);
}

inline oc::Variant call(IDispatch* object, const wchar_t* name,
                        std::vector<oc::Variant> args = {}) {
    return get(object, name, std::move(args), DISPATCH_METHOD);
}

inline Object objectOf(const oc::Variant& value) {
    return Object(value.type() == VT_DISPATCH ? (*value).pdispVal : nullptr);
}

inline Object getObject(IDispatch* object, const wchar_t* name,
                        std::vector<oc::Variant> args = {}) {
    return objectOf(get(object, name, std::move(args)));
}

inline QString getText(IDispatch* object, const wchar_t* name) {
    const oc::Variant value = get(object, name);
    EXPECT_EQ(value.type(), VT_BSTR);
    return oc::toText(*value);
}

inline void put(IDispatch* object, const wchar_t* name, oc::Variant value) {
    std::vector<oc::Variant> args;
    args.push_back(std::move(value));
    const Outcome out = invoke(object, name, DISPATCH_PROPERTYPUT, std::move(args));
    EXPECT_EQ(out.hr, S_OK) << QString::fromWCharArray(name).toStdString() << ": "
                            << out.description.toStdString();
}

template <typename... Args>
std::vector<oc::Variant> args(Args... values) {
    std::vector<oc::Variant> list;
    (list.push_back(std::move(values)), ...);
    return list;
}

// An event sink: answers IDispatch and its event interface, and hands every call to
// its handler.
class Sink final : public IDispatch {
public:
    using Handler = std::function<HRESULT(DISPID, DISPPARAMS&, EXCEPINFO*)>;

    static oc::ComPtr<Sink> make(const IID& iid, Handler handler) {
        return oc::ComPtr<Sink>::adopt(new Sink(iid, std::move(handler)));
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
            IsEqualIID(iid, iid_)) {
            *out = static_cast<IDispatch*>(this);
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
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                     EXCEPINFO* error, UINT*) override {
        return handler_(id, *params, error);
    }

private:
    Sink(const IID& iid, Handler handler) : iid_(iid), handler_(std::move(handler)) {}

    IID iid_;
    Handler handler_;
    ULONG references_ = 1;
};

// Fails the way a sink of the add-in fails: with its own error text.
inline HRESULT raiseError(EXCEPINFO* error, const QString& text) {
    *error = EXCEPINFO{};
    error->bstrSource = SysAllocString(L"Vantorel");
    error->bstrDescription = oc::newBstr(text);
    error->scode = E_FAIL;
    return DISP_E_EXCEPTION;
}

inline oc::ComPtr<IConnectionPoint> connectionPoint(IDispatch* source, const IID& iid) {
    oc::ComPtr<IConnectionPoint> point;
    const auto container = oc::ComPtr<IDispatch>(source).query<IConnectionPointContainer>(
        IID_IConnectionPointContainer);
    EXPECT_TRUE(container);
    if (container) {
        EXPECT_EQ(container->FindConnectionPoint(iid, point.put()), S_OK);
    }
    return point;
}

inline DWORD advise(IDispatch* source, const IID& iid, IUnknown* sink) {
    DWORD cookie = 0;
    const oc::ComPtr<IConnectionPoint> point = connectionPoint(source, iid);
    if (point) {
        EXPECT_EQ(point->Advise(sink, &cookie), S_OK);
    }
    return cookie;
}

inline HRESULT unadvise(IDispatch* source, const IID& iid, DWORD cookie) {
    const oc::ComPtr<IConnectionPoint> point = connectionPoint(source, iid);
    return point ? point->Unadvise(cookie) : E_FAIL;
}

// The engine on a temporary mailbox, and its Application as the add-in receives it.
// Each test ends with every server object released and every sink unadvised.
class ServerTest : public engine::testing::EngineTest {
public:
    ServerTest() { application = makeApplicationServer(app, windowsOf(*engine)); }
    void TearDown() override {
        application.reset();
        EXPECT_EQ(liveServerObjects(), 0);
        EXPECT_EQ(activeAdvises(), 0);
    }

    Object session() { return getObject(application.get(), L"Session"); }
    Object folder(int type) {
        return getObject(session().get(), L"GetDefaultFolder", args(oc::Variant::integer(type)));
    }
    Object items(int type) { return getObject(folder(type).get(), L"Items"); }
    Object create(int type) {
        return getObject(application.get(), L"CreateItem", args(oc::Variant::integer(type)));
    }
    // A saved task or an unsent message with a subject (and for a message, a recipient).
    Object saved(int type, const QString& subject) {
        Object item = create(type);
        put(item.get(), L"Subject", oc::Variant::text(subject));
        if (type == ol::olMailItem) {
            put(item.get(), L"To", oc::Variant::text(QStringLiteral("ann@example.com")));
        }
        call(item.get(), L"Save");
        return item;
    }

    Object application;
};

}  // namespace vantorel::host::com::testing
