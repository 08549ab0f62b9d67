#include "outlook/windows/Variant.h"

#include <oleauto.h>

#include <utility>

namespace vantorel::outlook::com {

namespace {

// A copy of V's value (following a reference) as TYPE.
Variant coerced(const VARIANT& v, VARTYPE type, const char* what) {
    Variant direct;
    HRESULT result = VariantCopyInd(direct.get(), const_cast<VARIANT*>(&v));
    if (SUCCEEDED(result)) {
        Variant converted;
        result = VariantChangeType(converted.get(), direct.get(), 0, type);
        if (SUCCEEDED(result)) {
            return converted;
        }
    }
    throw VariantError(std::string("the value is not ") + what, result);
}

}  // namespace

Variant::Variant(const Variant& other) {
    VariantInit(&v_);
    VariantCopy(&v_, const_cast<VARIANT*>(&other.v_));
}

Variant::Variant(Variant&& other) noexcept : v_(other.v_) {
    VariantInit(&other.v_);
}

Variant& Variant::operator=(Variant other) noexcept {
    std::swap(v_, other.v_);
    return *this;
}

VARIANT Variant::detach() {
    VARIANT out = v_;
    VariantInit(&v_);
    return out;
}

Variant Variant::text(const QString& value) {
    Variant result;
    result.v_.vt = VT_BSTR;
    result.v_.bstrVal = newBstr(value);
    return result;
}

Variant Variant::integer(int value) {
    Variant result;
    result.v_.vt = VT_I4;
    result.v_.lVal = value;
    return result;
}

Variant Variant::boolean(bool value) {
    Variant result;
    result.v_.vt = VT_BOOL;
    result.v_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return result;
}

Variant Variant::date(double value) {
    Variant result;
    result.v_.vt = VT_DATE;
    result.v_.date = value;
    return result;
}

Variant Variant::dispatch(IDispatch* object) {
    Variant result;
    result.v_.vt = VT_DISPATCH;
    result.v_.pdispVal = object;
    if (object != nullptr) {
        object->AddRef();
    }
    return result;
}

Variant Variant::missing() {
    Variant result;
    result.v_.vt = VT_ERROR;
    result.v_.scode = DISP_E_PARAMNOTFOUND;
    return result;
}

QString toText(const VARIANT& v) {
    return fromBstr((*coerced(v, VT_BSTR, "a text")).bstrVal);
}

int toInt(const VARIANT& v) {
    return (*coerced(v, VT_I4, "a whole number")).lVal;
}

bool toBool(const VARIANT& v) {
    return (*coerced(v, VT_BOOL, "true or false")).boolVal != VARIANT_FALSE;
}

double toDate(const VARIANT& v) {
    return (*coerced(v, VT_DATE, "a date")).date;
}

bool isMissing(const VARIANT& v) {
    const VARIANT& direct = (v.vt == (VT_BYREF | VT_VARIANT) && v.pvarVal) ? *v.pvarVal : v;
    return direct.vt == VT_EMPTY || (direct.vt == VT_ERROR && direct.scode == DISP_E_PARAMNOTFOUND);
}

IDispatch* toDispatch(const VARIANT& v) {
    const VARIANT& direct = (v.vt == (VT_BYREF | VT_VARIANT) && v.pvarVal) ? *v.pvarVal : v;
    switch (direct.vt) {
        case VT_DISPATCH:
            return direct.pdispVal;
        case VT_DISPATCH | VT_BYREF:
            return direct.ppdispVal ? *direct.ppdispVal : nullptr;
        case VT_EMPTY:
        case VT_NULL:
            return nullptr;
        default:
            if (isMissing(direct)) {
                return nullptr;
            }
            throw VariantError("the value is not an object", DISP_E_TYPEMISMATCH);
    }
}

BSTR newBstr(const QString& text) {
    return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.utf16()),
                             static_cast<UINT>(text.size()));
}

QString fromBstr(BSTR b) {
    if (b == nullptr) {
        return {};
    }
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(b),
                              static_cast<qsizetype>(SysStringLen(b)));
}

QString resultText(HRESULT result) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(result), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    QString text;
    if (length > 0 && buffer != nullptr) {
        text = QString::fromWCharArray(buffer, static_cast<qsizetype>(length)).trimmed();
    }
    LocalFree(buffer);
    const QString number =
        QStringLiteral("0x%1").arg(static_cast<quint32>(result), 8, 16, QLatin1Char('0'));
    return text.isEmpty() ? number : QStringLiteral("%1 (%2)").arg(text, number);
}

}  // namespace vantorel::outlook::com
