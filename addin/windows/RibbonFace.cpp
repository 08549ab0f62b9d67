#include "addin/windows/RibbonFace.h"

#include "outlook/windows/ComObjectModel.h"
#include "outlook/windows/Variant.h"
#include "resources/Images.h"

#include <QImage>
#include <QXmlStreamWriter>

#include <olectl.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <exception>

namespace vantorel::com {

namespace {

using outlook::com::Bstr;
using outlook::com::ComPtr;
using outlook::com::IID_IRibbonControl;
using outlook::com::IID_IRibbonUI;
using outlook::com::IRibbonControl;
using outlook::com::IRibbonUI;
using outlook::com::Variant;
using outlook::com::VariantError;

QString groupId(std::size_t tab) {
    return QStringLiteral("vantorel_%1").arg(tab);
}

QString buttonId(std::size_t tab, std::size_t button) {
    return QStringLiteral("vantorel_%1_%2").arg(tab).arg(button);
}

QString callbackText(RibbonFace::Callback callback) {
    return QString::fromWCharArray(RibbonFace::callbackName(callback));
}

// IMAGE (32-bit, premultiplied alpha) as a picture object owning a top-down DIB
// section; null when Windows refuses one.
ComPtr<IPictureDisp> pictureOf(const QImage& image) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = image.width();
    info.bmiHeader.biHeight = -image.height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) {
        return {};
    }
    // Both keep a row as 32-bit BGRA words, with no padding between rows.
    const std::size_t row = static_cast<std::size_t>(image.width()) * 4;
    for (int y = 0; y < image.height(); ++y) {
        std::memcpy(static_cast<uchar*>(bits) + row * y, image.constScanLine(y), row);
    }
    PICTDESC description = {};
    description.cbSizeofstruct = sizeof(PICTDESC);
    description.picType = PICTYPE_BITMAP;
    description.bmp.hbitmap = bitmap;
    ComPtr<IPictureDisp> picture;
    if (FAILED(OleCreatePictureIndirect(&description, IID_IPictureDisp, TRUE,
                                        reinterpret_cast<void**>(picture.put())))) {
        DeleteObject(bitmap);
        return {};
    }
    return picture;
}

void describeError(EXCEPINFO* exception, const QString& text) {
    if (exception == nullptr) {
        return;
    }
    *exception = EXCEPINFO{};
    exception->bstrSource = outlook::com::newBstr(QStringLiteral("Vantorel"));
    exception->bstrDescription = outlook::com::newBstr(text);
    exception->scode = E_FAIL;
}

}  // namespace

const wchar_t* RibbonFace::callbackName(Callback callback) {
    switch (callback) {
        case kOnLoad:
            return L"OnLoad_";
        case kGetLabel:
            return L"GetLabel";
        case kGetImage:
            return L"GetImage";
        case kGetScreentip:
            return L"GetScreentip";
        case kGetSupertip:
            return L"GetSupertip";
        case kGetEnabled:
            return L"GetEnabled";
        case kGetVisible:
            return L"GetVisible";
        case kOnAction:
            return L"OnAction";
    }
    return L"";
}

RibbonFace::RibbonFace(IAddIn& addIn) : addIn_(addIn) {}

RibbonFace::~RibbonFace() {
    for (auto& [control, previous] : watched_) {
        control->onChange = std::move(previous);
    }
    release();
}

QString RibbonFace::onLoadName(const QString& ribbonId) {
    QString name = QStringLiteral("OnLoad_") + ribbonId;
    for (QChar& c : name) {
        if (!c.isLetterOrNumber() && c != QLatin1Char('_')) {
            c = QLatin1Char('_');
        }
    }
    return name;
}

QString RibbonFace::customUi(const QString& ribbonId) {
    const std::vector<RibbonTab*> tabs = addIn_.RibbonTabs();
    const QString ns = QString::fromWCharArray(outlook::com::kCustomUiNamespace);
    QString xml;
    QXmlStreamWriter writer(&xml);
    writer.setAutoFormatting(true);
    auto callbackAttribute = [&writer](const QString& attribute, Callback callback) {
        writer.writeAttribute(attribute, callbackText(callback));
    };
    bool any = false;
    for (std::size_t t = 0; t < tabs.size(); ++t) {
        RibbonTab& tab = *tabs[t];
        if (tab.ribbons != ribbonId) {
            continue;
        }
        if (!any) {
            any = true;
            writer.writeDefaultNamespace(ns);
            writer.writeStartElement(ns, QStringLiteral("customUI"));
            writer.writeAttribute(QStringLiteral("onLoad"), onLoadName(ribbonId));
            if (std::find(described_.begin(), described_.end(), ribbonId) == described_.end()) {
                described_.push_back(ribbonId);
            }
            writer.writeStartElement(ns, QStringLiteral("ribbon"));
            writer.writeStartElement(ns, QStringLiteral("tabs"));
        }
        writer.writeStartElement(ns, QStringLiteral("tab"));
        writer.writeAttribute(QStringLiteral("idMso"), tab.idMso);

        writer.writeStartElement(ns, QStringLiteral("group"));
        writer.writeAttribute(QStringLiteral("id"), groupId(t));
        callbackAttribute(QStringLiteral("getLabel"), kGetLabel);
        callbackAttribute(QStringLiteral("getImage"), kGetImage);
        callbackAttribute(QStringLiteral("getScreentip"), kGetScreentip);
        callbackAttribute(QStringLiteral("getSupertip"), kGetSupertip);
        callbackAttribute(QStringLiteral("getVisible"), kGetVisible);
        if (!tab.insertBeforeMso.isEmpty()) {
            writer.writeAttribute(QStringLiteral("insertBeforeMso"), tab.insertBeforeMso);
        }
        watch(tab.group, ribbonId, groupId(t));

        for (std::size_t n = 0; n < tab.controls.size(); ++n) {
            RibbonButton& button = *tab.controls[n];
            writer.writeEmptyElement(ns, QStringLiteral("button"));
            writer.writeAttribute(QStringLiteral("id"), buttonId(t, n));
            writer.writeAttribute(QStringLiteral("size"), button.size == RibbonSize::Large
                                                              ? QStringLiteral("large")
                                                              : QStringLiteral("normal"));
            callbackAttribute(QStringLiteral("getLabel"), kGetLabel);
            callbackAttribute(QStringLiteral("getImage"), kGetImage);
            callbackAttribute(QStringLiteral("getScreentip"), kGetScreentip);
            callbackAttribute(QStringLiteral("getSupertip"), kGetSupertip);
            callbackAttribute(QStringLiteral("getEnabled"), kGetEnabled);
            callbackAttribute(QStringLiteral("getVisible"), kGetVisible);
            callbackAttribute(QStringLiteral("onAction"), kOnAction);
            watch(button, ribbonId, buttonId(t, n));
        }
        writer.writeEndElement();  // group
        writer.writeEndElement();  // tab
    }
    if (!any) {
        return {};
    }
    writer.writeEndDocument();  // closes tabs, ribbon and customUI
    return xml;
}

HRESULT RibbonFace::getCustomUi(BSTR ribbonId, BSTR* xml) {
    if (xml == nullptr) {
        return E_POINTER;
    }
    *xml = nullptr;
    try {
        *xml = outlook::com::newBstr(customUi(outlook::com::fromBstr(ribbonId)));
        return *xml != nullptr ? S_OK : E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

HRESULT RibbonFace::getIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (riid != IID_NULL) {
        return DISP_E_UNKNOWNINTERFACE;
    }
    if (count == 0) {
        return S_OK;
    }
    if (names == nullptr || ids == nullptr) {
        return E_POINTER;
    }
    // The callbacks take no named arguments: any name after the first is unknown.
    for (UINT i = 0; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
    }
    HRESULT outcome = count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
    if (names[0] == nullptr) {
        return DISP_E_UNKNOWNNAME;
    }
    const QString name = QString::fromWCharArray(names[0]);
    for (std::size_t r = 0; r < described_.size(); ++r) {
        if (name.compare(onLoadName(described_[r]), Qt::CaseInsensitive) == 0) {
            ids[0] = kOnLoad + static_cast<DISPID>(r);
            return outcome;
        }
    }
    for (DISPID c = kGetLabel; c <= kOnAction; ++c) {
        if (_wcsicmp(names[0], callbackName(static_cast<Callback>(c))) == 0) {
            ids[0] = c;
            return outcome;
        }
    }
    return DISP_E_UNKNOWNNAME;
}

HRESULT RibbonFace::invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                           VARIANT* result, EXCEPINFO* exception, UINT* argumentError) {
    // Nothing thrown inside the add-in may cross into the client.
    try {
        return call(id, riid, flags, params, result, argumentError);
    } catch (const std::exception& error) {
        describeError(exception, QString::fromLocal8Bit(error.what()));
    } catch (...) {
        describeError(exception, QStringLiteral("unknown error"));
    }
    return DISP_E_EXCEPTION;
}

HRESULT RibbonFace::call(DISPID id, REFIID riid, WORD flags, DISPPARAMS* params, VARIANT* result,
                         UINT* argumentError) {
    if (riid != IID_NULL) {
        return DISP_E_UNKNOWNINTERFACE;
    }
    const bool onLoad = id >= kOnLoad && id < kOnLoad + static_cast<DISPID>(described_.size());
    if ((!onLoad && (id < kGetLabel || id > kOnAction)) || (flags & DISPATCH_METHOD) == 0) {
        return DISP_E_MEMBERNOTFOUND;
    }
    const auto callback = static_cast<Callback>(id);
    if (params == nullptr) {
        return E_POINTER;
    }
    if (params->cNamedArgs != 0) {
        return DISP_E_NONAMEDARGS;
    }
    if (params->cArgs != 1) {
        return DISP_E_BADPARAMCOUNT;
    }
    if (params->rgvarg == nullptr) {
        return E_POINTER;
    }
    auto typeMismatch = [argumentError] {
        if (argumentError != nullptr) {
            *argumentError = 0;
        }
        return DISP_E_TYPEMISMATCH;
    };
    IDispatch* argument = nullptr;
    try {
        argument = outlook::com::toDispatch(params->rgvarg[0]);
    } catch (const VariantError&) {
        return typeMismatch();
    }
    if (argument == nullptr) {
        return E_INVALIDARG;
    }

    if (onLoad) {
        return load(described_[static_cast<std::size_t>(id - kOnLoad)], argument, argumentError);
    }

    ComPtr<IRibbonControl> control;
    if (FAILED(argument->QueryInterface(IID_IRibbonControl,
                                        reinterpret_cast<void**>(control.put())))) {
        return typeMismatch();
    }
    Bstr controlId;
    if (FAILED(control->get_Id(controlId.put()))) {
        return E_INVALIDARG;
    }
    const Found found = find(controlId.text());
    if (found.control == nullptr) {
        return E_INVALIDARG;
    }
    if (callback == kOnAction) {
        if (found.button == nullptr) {
            return E_INVALIDARG;
        }
        // The context is the window whose ribbon was pressed: an Inspector on a message
        // window's ribbon (the main window's is an Explorer, which the add-in does not
        // need). A client that names none leaves the add-in to take the active one.
        ComPtr<IDispatch> context;
        if (found.ribbons != kRibbonExplorer && FAILED(control->get_Context(context.put()))) {
            context.reset();
        }
        // Press takes the add-in's errors to its error path.
        addIn_.Press(*found.button, outlook::com::comInspector(context.get()));
        return S_OK;
    }
    if (result == nullptr) {
        return E_POINTER;
    }
    return answer(callback, found, result);
}

HRESULT RibbonFace::answer(Callback callback, const Found& found, VARIANT* result) {
    const RibbonControl& control = *found.control;
    Variant value;
    switch (callback) {
        case kGetLabel:
            value = Variant::text(control.Caption());
            break;
        case kGetScreentip:
            value = Variant::text(control.ScreenTip());
            break;
        case kGetSupertip:
            // The add-in's controls have a ScreenTip only, no longer description.
            value = Variant::text(QString());
            break;
        case kGetEnabled:
            value = Variant::boolean(control.Enabled());
            break;
        case kGetVisible:
            value = Variant::boolean(control.Visible());
            break;
        case kGetImage: {
            // No image: no picture. A name carries its display scale already.
            if (control.Image().isEmpty()) {
                break;
            }
            const QImage image = LoadImageResource(control.Image());
            if (image.isNull()) {
                break;
            }
            ComPtr<IPictureDisp> picture = pictureOf(image);
            if (!picture) {
                return E_OUTOFMEMORY;
            }
            value = Variant::dispatch(picture.get());
            break;
        }
        case kOnLoad:
        case kOnAction:
            return DISP_E_MEMBERNOTFOUND;
    }
    *result = value.detach();
    return S_OK;
}

RibbonFace::Found RibbonFace::find(const QString& id) const {
    const std::vector<RibbonTab*> tabs = addIn_.RibbonTabs();
    for (std::size_t t = 0; t < tabs.size(); ++t) {
        if (id == groupId(t)) {
            return {&tabs[t]->group, nullptr, tabs[t]->ribbons};
        }
        for (std::size_t n = 0; n < tabs[t]->controls.size(); ++n) {
            if (id == buttonId(t, n)) {
                RibbonButton* button = tabs[t]->controls[n].get();
                return {button, button, tabs[t]->ribbons};
            }
        }
    }
    return {};
}

RibbonControl* RibbonFace::control(const QString& id) const {
    return find(id).control;
}

QString RibbonFace::controlId(const RibbonControl& control) const {
    const std::vector<RibbonTab*> tabs = addIn_.RibbonTabs();
    for (std::size_t t = 0; t < tabs.size(); ++t) {
        if (&control == &tabs[t]->group) {
            return groupId(t);
        }
        for (std::size_t n = 0; n < tabs[t]->controls.size(); ++n) {
            if (&control == tabs[t]->controls[n].get()) {
                return buttonId(t, n);
            }
        }
    }
    return {};
}

HRESULT RibbonFace::load(const QString& ribbonId, IDispatch* argument, UINT* argumentError) {
    ComPtr<IRibbonUI> ribbon;
    if (FAILED(argument->QueryInterface(IID_IRibbonUI, reinterpret_cast<void**>(ribbon.put())))) {
        if (argumentError != nullptr) {
            *argumentError = 0;
        }
        return DISP_E_TYPEMISMATCH;
    }
    if (ribbons_.count(ribbonId) != 0) {
        return S_OK;  // loaded already
    }
    ribbons_.emplace(ribbonId, std::move(ribbon));
    // The add-in sets what the ribbon shows now (its images at the display's scale);
    // its changes reach the client through the ribbon just kept.
    try {
        addIn_.RibbonBeforeCreate(ribbonId);
    } catch (...) {
        ribbons_.erase(ribbonId);
        throw;
    }
    return S_OK;
}

void RibbonFace::watch(RibbonControl& control, const QString& ribbonId, const QString& id) {
    if (watched_.count(&control) != 0) {
        return;
    }
    std::function<void()> previous = control.onChange;
    control.onChange = [this, previous, ribbonId, id] {
        if (previous) {
            previous();
        }
        invalidate(ribbonId, id);
    };
    watched_.emplace(&control, std::move(previous));
}

void RibbonFace::invalidate(const QString& ribbonId, const QString& id) {
    // Until its ribbon is loaded, the client asks the control's callbacks when it loads.
    const auto found = ribbons_.find(ribbonId);
    if (found == ribbons_.end()) {
        return;
    }
    // The client may call back meanwhile: hold the ribbon for the call.
    const ComPtr<IRibbonUI> ribbon = found->second;
    const Bstr controlId(id);
    ribbon->InvalidateControl(controlId.get());
}

void RibbonFace::release() {
    ribbons_.clear();
}

}  // namespace vantorel::com
