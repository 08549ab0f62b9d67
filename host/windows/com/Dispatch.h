#pragma once

// What every object of the COM server shares: reference counting, IDispatch driven
// by a table of members per type, and connection points whose sinks each get an
// engine subscription of their own.

#include "outlook/Outlook.h"
#include "outlook/windows/ComPtr.h"
#include "outlook/windows/Variant.h"

#include <oaidl.h>
#include <ocidl.h>
#include <oleidl.h>

#include <QString>
#include <QStringView>

#include <span>
#include <vector>

namespace vantorel::host::com {

namespace oc = vantorel::outlook::com;

// The arguments of one Invoke, in the order the member declares them (DISPPARAMS
// holds them the other way round). A conversion that fails throws ArgumentError.
class Call {
public:
    explicit Call(const DISPPARAMS& params) : params_(params) {}

    UINT count() const { return params_.cArgs; }
    const VARIANT& arg(UINT i) const { return params_.rgvarg[params_.cArgs - 1 - i]; }
    // True when argument I is there and not left out.
    bool given(UINT i) const { return i < count() && !oc::isMissing(arg(i)); }
    // True when argument I holds a text (by reference or not): an index given by name.
    bool isText(UINT i) const;

    QString text(UINT i) const;
    int integer(UINT i) const;
    bool boolean(UINT i) const;
    double date(UINT i) const;

private:
    template <typename F>
    auto convert(UINT i, F f) const;

    const DISPPARAMS& params_;
};

// Argument I (in rgvarg's numbering) cannot be made the type the member takes.
struct ArgumentError {
    UINT position;
    HRESULT result;
};

// The engine subscriptions made for one sink.
using Subscription = std::vector<outlook::Connection>;

enum Access : unsigned { kGet = 1, kPut = 2, kMethod = 4 };

// One member of a type: a property (kGet, kPut) or a method (kMethod). get() answers
// a property get and a method call; put() a property put.
template <class Self>
struct Member {
    const wchar_t* name;
    unsigned access;
    UINT minArgs;
    UINT maxArgs;
    oc::Variant (*get)(Self&, const Call&);
    void (*put)(Self&, const Call&);
};

// The DISPID of a member name: the same for every type that has the member, and the
// same in every build (names are only ever appended to the list).
DISPID memberId(const wchar_t* name);

// Every object counts itself alive here (see liveServerObjects()).
class Counted {
public:
    Counted();
    Counted(const Counted&) = delete;
    Counted& operator=(const Counted&) = delete;
    ~Counted();
};

class Server : public IDispatch,
               public IConnectionPointContainer,
               public IOleWindow,
               private Counted {
public:
    Server() = default;
    virtual ~Server();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* error,
                                     UINT* argumentError) override;

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** out) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** out) override;

    // IOleWindow, of the objects that are windows (isWindow()).
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enterMode) override;

    // For the connection points.
    HRESULT advise(REFIID iid, IUnknown* sink, DWORD* cookie);
    HRESULT unadvise(REFIID iid, DWORD cookie);

protected:
    struct Shape {
        const wchar_t* name;
        unsigned access;
        UINT minArgs;
        UINT maxArgs;
    };
    // The member table, type-erased (see Dispatch below).
    virtual int memberCount() const = 0;
    virtual Shape shape(int index) const = 0;
    virtual oc::Variant get(int index, const Call& call) = 0;
    virtual void put(int index, const Call& call) = 0;

    // Whether the object is one of the client's windows (an Explorer, an Inspector),
    // which answer IOleWindow, and its handle now (null when it has none).
    virtual bool isWindow() const { return false; }
    virtual HWND handle() const { return nullptr; }
    // Added to every member's DISPID. The client numbers each class's members on their
    // own (an id is only good on the class it was asked of); the item kinds keep that
    // apart here by an offset of their own, so an id used on the wrong kind is unknown.
    virtual DISPID idBase() const { return 0; }

    // The event interfaces this object fires; none by default.
    virtual std::span<const IID> events() const { return {}; }
    // The engine subscriptions that fire IID's events on SINK, one for each engine
    // event; they end when the sink is unadvised.
    virtual Subscription subscribe(const IID& iid, const oc::ComPtr<IDispatch>& sink);

private:
    int find(DISPID id) const;
    HRESULT invoke(int index, WORD flags, const DISPPARAMS& params, VARIANT* result);

    struct Advice {
        DWORD cookie;
        IID iid;
        Subscription subscription;
        // While advised the object stays alive.
        oc::ComPtr<IDispatch> keep;
    };

    ULONG references_ = 1;
    std::vector<Advice> advices_;
};

// A type's member table behind the Server interface.
template <class Self>
class Dispatch : public Server {
protected:
    int memberCount() const override { return static_cast<int>(Self::members().size()); }
    Shape shape(int index) const override {
        const Member<Self>& m = Self::members()[static_cast<std::size_t>(index)];
        return {m.name, m.access, m.minArgs, m.maxArgs};
    }
    oc::Variant get(int index, const Call& call) override {
        return Self::members()[static_cast<std::size_t>(index)].get(static_cast<Self&>(*this),
                                                                    call);
    }
    void put(int index, const Call& call) override {
        Self::members()[static_cast<std::size_t>(index)].put(static_cast<Self&>(*this), call);
    }
};

// Makes a new server object (its one reference held by the result).
template <class T, typename... Args>
oc::ComPtr<IDispatch> make(Args&&... args) {
    return oc::ComPtr<IDispatch>::adopt(new T(std::forward<Args>(args)...));
}

// A VARIANT holding OBJECT (its reference taken over), or Nothing.
oc::Variant object(oc::ComPtr<IDispatch> object);

// Calls member ID of an event sink with ARGS (already in reverse order). A failure
// throws the OutlookError the engine reports for the handler: the sink's own error
// text for DISP_E_EXCEPTION, else EVENT's name and the HRESULT's text.
void fire(IDispatch* sink, DISPID id, const char* event, std::span<VARIANT> args);

}  // namespace vantorel::host::com
