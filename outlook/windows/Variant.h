// VARIANTs and BSTRs, converted in one place. Both sides of the COM boundary use
// these: what the add-in passes to the client's objects and reads back, and what the
// stand-in client passes to the add-in and reads back.
#pragma once

#include <oaidl.h>

#include <QString>

#include <stdexcept>
#include <string>

namespace vantorel::outlook::com {

// A value that is not of the type asked for and cannot be made one. HRESULT is
// the coercion's (DISP_E_TYPEMISMATCH, DISP_E_OVERFLOW, ...).
class VariantError : public std::runtime_error {
public:
    VariantError(const std::string& what, HRESULT result)
        : std::runtime_error(what), result_(result) {}
    HRESULT result() const noexcept { return result_; }

private:
    HRESULT result_;
};

// Owns one VARIANT; clears it when it goes.
class Variant {
public:
    Variant() { VariantInit(&v_); }
    Variant(const Variant& other);
    Variant(Variant&& other) noexcept;
    Variant& operator=(Variant other) noexcept;
    ~Variant() { VariantClear(&v_); }

    static Variant text(const QString& value);
    static Variant integer(int value);
    static Variant boolean(bool value);
    static Variant date(double value);
    // Takes a reference of its own (OBJECT may be null: "Nothing").
    static Variant dispatch(IDispatch* object);
    // An optional argument left out.
    static Variant missing();

    VARIANT* get() { return &v_; }
    const VARIANT& operator*() const { return v_; }
    VARTYPE type() const { return v_.vt; }
    // Hands the value to the caller (who clears it); this one becomes empty.
    VARIANT detach();

private:
    VARIANT v_;
};

// The value of V (by reference or not) as that type, coerced as the client coerces
// its arguments: a number given as text is read, a text given as a number written.
// Throw VariantError when it cannot be.
QString toText(const VARIANT& v);
int toInt(const VARIANT& v);
bool toBool(const VARIANT& v);
double toDate(const VARIANT& v);
// The object V holds, without a reference of its own; null for Nothing, an empty or
// a missing value. Throws VariantError for anything else.
IDispatch* toDispatch(const VARIANT& v);
// True for an optional argument left out (or empty).
bool isMissing(const VARIANT& v);

// A new BSTR holding TEXT (UTF-16 as it is, embedded zeros kept); the caller frees it.
BSTR newBstr(const QString& text);
// The text of B (null is the empty text).
QString fromBstr(BSTR b);

// Owns one BSTR.
class Bstr {
public:
    explicit Bstr(const QString& text) : b_(newBstr(text)) {}
    Bstr() = default;
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(b_); }
    BSTR get() const { return b_; }
    BSTR* put() {
        SysFreeString(b_);
        b_ = nullptr;
        return &b_;
    }
    QString text() const { return fromBstr(b_); }

private:
    BSTR b_ = nullptr;
};

// The description of a failed call: HRESULT's system text, else its number in hex.
QString resultText(HRESULT result);

}  // namespace vantorel::outlook::com
