// Calls on the mail client's objects by name, as a script would make them: the
// member's DISPID from GetIDsOfNames (cached per type of object), then Invoke with the
// arguments in reverse order. A failing call throws OutlookError with the client's
// own error text (EXCEPINFO's description) or, when it gave none, a text naming the
// member and the failure.
#pragma once

#include "outlook/Event.h"
#include "outlook/windows/ComPtr.h"
#include "outlook/windows/Variant.h"

#include <QString>

#include <functional>
#include <initializer_list>
#include <string>
#include <unordered_map>

namespace vantorel::outlook::com {

// The DISPIDs of one type of object, by member name.
class DispIdCache {
public:
    explicit DispIdCache(const char* typeName) : typeName_(typeName) {}
    const char* typeName() const { return typeName_; }
    DISPID find(IDispatch* object, const wchar_t* name);

private:
    const char* typeName_;
    std::unordered_map<std::wstring, DISPID> ids_;
};

class LateBound {
public:
    LateBound(ComPtr<IDispatch> object, DispIdCache& cache)
        : object_(std::move(object)), cache_(&cache) {}

    IDispatch* object() const { return object_.get(); }

    // ARGS in the order the member declares them.
    Variant get(const wchar_t* name, std::initializer_list<Variant> args = {}) const;
    Variant call(const wchar_t* name, std::initializer_list<Variant> args = {}) const;
    void put(const wchar_t* name, Variant value) const;

    QString text(const wchar_t* name) const;
    int integer(const wchar_t* name) const;
    bool boolean(const wchar_t* name) const;
    double date(const wchar_t* name) const;
    // The object the property NAME holds (null for Nothing).
    ComPtr<IDispatch> object(const wchar_t* name) const;
    // The object the method NAME returns (null for Nothing).
    ComPtr<IDispatch> callObject(const wchar_t* name,
                                 std::initializer_list<Variant> args = {}) const;

private:
    Variant invoke(const wchar_t* name, WORD flags, std::initializer_list<Variant> args,
                   const Variant* putValue) const;

    ComPtr<IDispatch> object_;
    DispIdCache* cache_;
};

// The object a VARIANT result holds, with a reference of its own (null for Nothing).
// Throws OutlookError naming WHAT when the result is not an object.
ComPtr<IDispatch> objectOf(const Variant& value, const wchar_t* what);

// Receives one event interface's events: HANDLER gets the DISPID and the arguments,
// and answers with an HRESULT (DISP_E_EXCEPTION filling EXCEPINFO for a failure).
using EventHandler = std::function<HRESULT(DISPID, DISPPARAMS*, EXCEPINFO*)>;

// Advises a sink on SOURCE's connection point DIID; the subscription lasts until the
// returned Connection ends, which unadvises it. SUBSCRIPTIONS is the event the
// Connection is minted from: clearing it ends every subscription made through it.
// Throws OutlookError when SOURCE has no such connection point or refuses the sink.
Connection advise(Event<>& subscriptions, IDispatch* source, REFIID diid, EventHandler handler);

// Runs ACTION for an event sink: an exception that leaves it becomes DISP_E_EXCEPTION
// with its text, as the client reports a failing handler.
HRESULT guardedEvent(EXCEPINFO* exception, const std::function<void()>& action);

}  // namespace vantorel::outlook::com
