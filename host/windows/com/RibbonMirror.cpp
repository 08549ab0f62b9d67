#include "host/windows/com/RibbonMirror.h"

#include <QDirIterator>
#include <QStringList>
#include <QXmlStreamReader>

#include <olectl.h>

#include <algorithm>
#include <atomic>
#include <set>
#include <string>

namespace vantorel::host::com {

using outlook::com::Bstr;
using outlook::com::ComPtr;
using outlook::com::fromBstr;
using outlook::com::IID_IRibbonControl;
using outlook::com::IID_IRibbonExtensibility;
using outlook::com::IID_IRibbonUI;
using outlook::com::IRibbonControl;
using outlook::com::IRibbonExtensibility;
using outlook::com::IRibbonUI;
using outlook::com::newBstr;
using outlook::com::resultText;
using outlook::com::Variant;

namespace {

// IUnknown and an IDispatch that reaches nothing by name, for the mirror's objects
// (the add-in calls them through their vtables), with the references counted.
template <typename Derived, typename Interface>
class CountedObject : public Interface {
public:
    explicit CountedObject(const IID& iid) : iid_(iid) {}

    ULONG references() const { return references_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == iid_) {
            *object = static_cast<Interface*>(this);
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
            delete static_cast<Derived*>(this);
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
        if (info == nullptr) {
            return E_POINTER;
        }
        *info = nullptr;
        return DISP_E_BADINDEX;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID,
                                            DISPID* ids) override {
        for (UINT i = 0; ids != nullptr && i < count; ++i) {
            ids[i] = DISPID_UNKNOWN;
        }
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return DISP_E_MEMBERNOTFOUND;
    }

protected:
    ~CountedObject() = default;

private:
    const IID iid_;
    std::atomic<ULONG> references_{1};
};

HRESULT giveText(const QString& text, BSTR* out) {
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = newBstr(text);
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

// The pixels of BITMAP as a 32-bit image (premultiplied alpha, as the add-in's images
// are loaded); null when Windows cannot read it.
QImage imageOf(HBITMAP bitmap) {
    BITMAP header = {};
    if (GetObjectW(bitmap, sizeof header, &header) == 0 || header.bmWidth <= 0 ||
        header.bmHeight <= 0) {
        return {};
    }
    QImage image(header.bmWidth, header.bmHeight, QImage::Format_ARGB32_Premultiplied);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = header.bmWidth;
    info.bmiHeader.biHeight = -header.bmHeight;  // top-down, as QImage keeps its rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(header.bmHeight), image.bits(),
                               &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return rows == header.bmHeight ? image : QImage();
}

// The attributes each element may carry; the customUI's callbacks and settings.
const std::set<QString>& allowedAttributes(const QString& element) {
    static const std::map<QString, std::set<QString>> allowed = {
        {QStringLiteral("customUI"), {QStringLiteral("onLoad")}},
        {QStringLiteral("ribbon"), {}},
        {QStringLiteral("tabs"), {}},
        {QStringLiteral("tab"), {QStringLiteral("idMso")}},
        {QStringLiteral("group"),
         {QStringLiteral("id"), QStringLiteral("label"), QStringLiteral("getLabel"),
          QStringLiteral("getImage"), QStringLiteral("screentip"), QStringLiteral("getScreentip"),
          QStringLiteral("supertip"), QStringLiteral("getSupertip"), QStringLiteral("visible"),
          QStringLiteral("getVisible"), QStringLiteral("insertBeforeMso"), QStringLiteral("tag")}},
        {QStringLiteral("button"),
         {QStringLiteral("id"), QStringLiteral("size"), QStringLiteral("label"),
          QStringLiteral("getLabel"), QStringLiteral("getImage"), QStringLiteral("screentip"),
          QStringLiteral("getScreentip"), QStringLiteral("supertip"), QStringLiteral("getSupertip"),
          QStringLiteral("enabled"), QStringLiteral("getEnabled"), QStringLiteral("visible"),
          QStringLiteral("getVisible"), QStringLiteral("onAction"), QStringLiteral("tag")}},
    };
    static const std::set<QString> none;
    const auto found = allowed.find(element);
    return found != allowed.end() ? found->second : none;
}

// The element each element must stand in.
QString parentOf(const QString& element) {
    static const std::map<QString, QString> parents = {
        {QStringLiteral("customUI"), QString()},
        {QStringLiteral("ribbon"), QStringLiteral("customUI")},
        {QStringLiteral("tabs"), QStringLiteral("ribbon")},
        {QStringLiteral("tab"), QStringLiteral("tabs")},
        {QStringLiteral("group"), QStringLiteral("tab")},
        {QStringLiteral("button"), QStringLiteral("group")},
    };
    return parents.at(element);
}

}  // namespace

// What the add-in's callbacks are told about a control.
class RibbonMirror::ControlObject final : public CountedObject<ControlObject, IRibbonControl> {
public:
    ControlObject(QString id, QString tag)
        : CountedObject(IID_IRibbonControl), id_(std::move(id)), tag_(std::move(tag)) {}

    // The window of the call under way (a press's), null outside one.
    void setContext(IDispatch* window) { context_ = outlook::com::ComPtr<IDispatch>(window); }

    HRESULT STDMETHODCALLTYPE get_Id(BSTR* Id) override { return giveText(id_, Id); }
    HRESULT STDMETHODCALLTYPE get_Context(IDispatch** Context) override {
        if (Context == nullptr) {
            return E_POINTER;
        }
        *Context = context_.get();
        if (*Context != nullptr) {
            (*Context)->AddRef();
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Tag(BSTR* Tag) override { return giveText(tag_, Tag); }

private:
    friend class CountedObject<ControlObject, IRibbonControl>;
    ~ControlObject() = default;

    const QString id_;
    const QString tag_;
    outlook::com::ComPtr<IDispatch> context_;
};

// One ribbon, as the add-in's onLoad receives it. It outlives the mirror while the
// add-in holds it, refusing calls then.
class RibbonMirror::RibbonUiObject final : public CountedObject<RibbonUiObject, IRibbonUI> {
public:
    RibbonUiObject(RibbonMirror* mirror, QString ribbonId)
        : CountedObject(IID_IRibbonUI), mirror_(mirror), ribbonId_(std::move(ribbonId)) {}

    void detach() { mirror_ = nullptr; }

    HRESULT STDMETHODCALLTYPE Invalidate() override {
        return mirror_ != nullptr ? mirror_->invalidate(ribbonId_) : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE InvalidateControl(BSTR ControlID) override {
        return mirror_ != nullptr ? mirror_->invalidateControl(ribbonId_, fromBstr(ControlID))
                                  : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE InvalidateControlMso(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ActivateTab(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ActivateTabMso(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ActivateTabQ(BSTR, BSTR) override { return E_NOTIMPL; }

private:
    friend class CountedObject<RibbonUiObject, IRibbonUI>;
    ~RibbonUiObject() = default;

    RibbonMirror* mirror_;
    const QString ribbonId_;
};

struct RibbonMirror::Control {
    QString id;
    QString ribbonId;
    RibbonControl* mirrored = nullptr;
    RibbonButton* button = nullptr;  // null for a group
    // The get... attributes and the callbacks they name.
    std::map<QString, QString> getters;
    QString onAction;
    QString supertip;
    ComPtr<ControlObject> object;
};

RibbonMirror::RibbonMirror(IUnknown* addIn, QString images) : images_(std::move(images)) {
    if (addIn == nullptr) {
        throw std::invalid_argument("no add-in to mirror the ribbon of");
    }
    addIn->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch_.put()));
    addIn->QueryInterface(IID_IRibbonExtensibility, reinterpret_cast<void**>(extensibility_.put()));
    if (!dispatch_ || !extensibility_) {
        throw RibbonMirrorError(QStringLiteral("the add-in has no IRibbonExtensibility"));
    }
}

RibbonMirror::~RibbonMirror() {
    for (auto& [id, ribbon] : ribbons_) {
        ribbon->detach();
        ribbon->Release();
    }
}

void RibbonMirror::build(const QString& ribbonId) {
    describe(ribbonId);
    load(ribbonId);
}

void RibbonMirror::describe(const QString& ribbonId) {
    if (customUi_.count(ribbonId) != 0) {
        throw std::logic_error("the ribbon " + ribbonId.toStdString() + " is built already");
    }
    Bstr xml;
    const Bstr id(ribbonId);
    const HRESULT got = extensibility_->GetCustomUI(id.get(), xml.put());
    if (FAILED(got)) {
        throw RibbonMirrorError(
            QStringLiteral("GetCustomUI(%1) failed: %2").arg(ribbonId, resultText(got)));
    }
    const QString text = xml.text();

    // Read the whole XML before anything of it is kept.
    std::vector<std::unique_ptr<RibbonTab>> tabs;
    std::vector<std::unique_ptr<Control>> controls;
    QString onLoad;
    if (!text.isEmpty()) {
        const QString ns = QString::fromWCharArray(outlook::com::kCustomUiNamespace);
        auto fail = [&ribbonId](const QXmlStreamReader& reader, const QString& what) {
            return RibbonMirrorError(QStringLiteral("the customUI of %1, line %2: %3")
                                         .arg(ribbonId)
                                         .arg(reader.lineNumber())
                                         .arg(what));
        };
        std::set<QString> ids;
        QStringList open;
        QString tabIdMso;
        bool tabHasGroup = false;
        QXmlStreamReader reader(text);
        while (!reader.atEnd()) {
            const QXmlStreamReader::TokenType token = reader.readNext();
            if (token == QXmlStreamReader::Characters && !reader.isWhitespace()) {
                throw fail(reader,
                           QStringLiteral("text inside <%1>").arg(open.value(open.size() - 1)));
            }
            if (token == QXmlStreamReader::EndElement) {
                if (open.last() == QStringLiteral("tab") && !tabHasGroup) {
                    throw fail(reader, QStringLiteral("the tab %1 has no group").arg(tabIdMso));
                }
                open.removeLast();
                continue;
            }
            if (token != QXmlStreamReader::StartElement) {
                continue;
            }
            const QString element = reader.name().toString();
            if (reader.namespaceUri() != ns) {
                throw fail(reader, QStringLiteral("<%1> is not in the namespace %2 but in \"%3\"")
                                       .arg(element, ns, reader.namespaceUri().toString()));
            }
            static const QStringList known = {QStringLiteral("customUI"), QStringLiteral("ribbon"),
                                              QStringLiteral("tabs"),     QStringLiteral("tab"),
                                              QStringLiteral("group"),    QStringLiteral("button")};
            if (!known.contains(element)) {
                throw fail(reader, QStringLiteral("unknown element <%1>").arg(element));
            }
            const QString parent = open.isEmpty() ? QString() : open.last();
            if (parent != parentOf(element)) {
                throw fail(reader, QStringLiteral("<%1> inside <%2>").arg(element, parent));
            }
            open.append(element);
            const QXmlStreamAttributes attributes = reader.attributes();
            const std::set<QString>& allowed = allowedAttributes(element);
            for (const QXmlStreamAttribute& a : attributes) {
                if (allowed.count(a.qualifiedName().toString()) == 0) {
                    throw fail(reader, QStringLiteral("<%1> with the unknown attribute %2")
                                           .arg(element, a.qualifiedName().toString()));
                }
            }
            auto value = [&attributes](const char* name) {
                return attributes.value(QLatin1String(name)).toString();
            };
            if (element == QStringLiteral("customUI")) {
                onLoad = value("onLoad");
                continue;
            }
            if (element == QStringLiteral("tab")) {
                tabIdMso = value("idMso");
                tabHasGroup = false;
                if (tabIdMso.isEmpty()) {
                    throw fail(reader, QStringLiteral("a tab without idMso"));
                }
                continue;
            }
            if (element != QStringLiteral("group") && element != QStringLiteral("button")) {
                continue;
            }

            auto control = std::make_unique<Control>();
            control->id = value("id");
            control->ribbonId = ribbonId;
            if (control->id.isEmpty()) {
                throw fail(reader, QStringLiteral("a %1 without id").arg(element));
            }
            if (!ids.insert(control->id).second) {
                throw fail(reader, QStringLiteral("the id %1 twice").arg(control->id));
            }
            if (element == QStringLiteral("group")) {
                if (tabHasGroup) {
                    throw fail(reader,
                               QStringLiteral("a second group on the tab %1").arg(tabIdMso));
                }
                tabHasGroup = true;
                tabs.push_back(std::make_unique<RibbonTab>(tabIdMso, ribbonId, QString(),
                                                           value("insertBeforeMso")));
                control->mirrored = &tabs.back()->group;
            } else {
                const QString size = value("size");
                if (!size.isEmpty() && size != QStringLiteral("large") &&
                    size != QStringLiteral("normal")) {
                    throw fail(
                        reader,
                        QStringLiteral("the button %1 of size \"%2\"").arg(control->id, size));
                }
                RibbonButton& button = tabs.back()->AddButton(
                    QString(),
                    size == QStringLiteral("large") ? RibbonSize::Large : RibbonSize::Normal);
                control->mirrored = control->button = &button;
                control->onAction = value("onAction");
            }
            for (const QXmlStreamAttribute& a : attributes) {
                const QString name = a.qualifiedName().toString();
                if (name.startsWith(QStringLiteral("get"))) {
                    control->getters[name] = a.value().toString();
                }
            }
            // Settings given in the XML itself; a callback answers over them.
            RibbonControl& mirrored = *control->mirrored;
            mirrored.SetCaption(value("label"));
            mirrored.SetScreenTip(value("screentip"));
            control->supertip = value("supertip");
            mirrored.SetVisible(value("visible") != QStringLiteral("false"));
            mirrored.SetEnabled(value("enabled") != QStringLiteral("false"));
            control->object =
                ComPtr<ControlObject>::adopt(new ControlObject(control->id, value("tag")));
            controls.push_back(std::move(control));
        }
        if (reader.hasError()) {
            throw fail(reader, reader.errorString());
        }
    }

    customUi_[ribbonId] = text;
    if (text.isEmpty()) {
        return;
    }
    for (auto& tab : tabs) {
        tabs_.push_back(std::move(tab));
    }
    for (auto& control : controls) {
        if (control->button != nullptr) {
            RibbonButton* button = control->button;
            button->onClick = [this, button] { press(*button); };
        }
        controls_.push_back(std::move(control));
    }
    onLoad_[ribbonId] = onLoad;
    try {
        queryRibbon(ribbonId);
    } catch (...) {
        forget(ribbonId);
        throw;
    }
}

void RibbonMirror::load(const QString& ribbonId) {
    if (customUi_.count(ribbonId) == 0) {
        throw std::logic_error("the ribbon " + ribbonId.toStdString() + " is not described");
    }
    if (loaded_.count(ribbonId) != 0 || customUi_[ribbonId].isEmpty()) {
        return;
    }
    loaded_.insert(ribbonId);
    try {
        const QString onLoad = onLoad_[ribbonId];
        if (!onLoad.isEmpty()) {
            auto* ribbon = new RibbonUiObject(this, ribbonId);
            ribbons_[ribbonId] = ribbon;
            call(onLoad, ribbon, QStringLiteral("onLoad of %1").arg(ribbonId));
        }
        queryRibbon(ribbonId);
    } catch (...) {
        forget(ribbonId);
        throw;
    }
}

void RibbonMirror::queryRibbon(const QString& ribbonId) {
    for (auto& control : controls_) {
        if (control->ribbonId == ribbonId) {
            query(*control);
        }
    }
}

void RibbonMirror::refreshDescribed() {
    for (const auto& [ribbonId, xml] : customUi_) {
        if (!xml.isEmpty() && loaded_.count(ribbonId) == 0) {
            queryRibbon(ribbonId);
        }
    }
}

void RibbonMirror::forget(const QString& ribbonId) {
    customUi_.erase(ribbonId);
    onLoad_.erase(ribbonId);
    loaded_.erase(ribbonId);
    const auto ribbon = ribbons_.find(ribbonId);
    if (ribbon != ribbons_.end()) {
        ribbon->second->detach();
        ribbon->second->Release();
        ribbons_.erase(ribbon);
    }
    std::erase_if(controls_, [&ribbonId](const auto& c) { return c->ribbonId == ribbonId; });
    std::erase_if(tabs_, [&ribbonId](const auto& t) { return t->ribbons == ribbonId; });
}

QString RibbonMirror::customUi(const QString& ribbonId) const {
    const auto found = customUi_.find(ribbonId);
    return found != customUi_.end() ? found->second : QString();
}

std::vector<RibbonTab*> RibbonMirror::tabs() const {
    std::vector<RibbonTab*> result;
    for (const auto& tab : tabs_) {
        result.push_back(tab.get());
    }
    return result;
}

RibbonControl* RibbonMirror::control(const QString& id) const {
    for (const auto& c : controls_) {
        if (c->id == id) {
            return c->mirrored;
        }
    }
    return nullptr;
}

QString RibbonMirror::controlId(const RibbonControl& control) const {
    for (const auto& c : controls_) {
        if (c->mirrored == &control) {
            return c->id;
        }
    }
    return {};
}

void RibbonMirror::press(RibbonButton& button, IDispatch* window) {
    for (const auto& c : controls_) {
        if (c->button != &button) {
            continue;
        }
        if (c->onAction.isEmpty()) {
            throw RibbonMirrorError(QStringLiteral("the button %1 has no onAction").arg(c->id));
        }
        // The control names the window for this call only, as the client's does.
        c->object->setContext(window);
        try {
            call(c->onAction, c->object.get(), QStringLiteral("onAction of %1").arg(c->id));
        } catch (...) {
            c->object->setContext(nullptr);
            throw;
        }
        c->object->setContext(nullptr);
        return;
    }
    throw std::invalid_argument("the button is not one of the mirrored ribbon's");
}

void RibbonMirror::refresh() {
    for (const auto& c : controls_) {
        query(*c);
    }
}

long RibbonMirror::referencesHeld() const {
    long held = 0;
    for (const auto& [id, ribbon] : ribbons_) {
        held += static_cast<long>(ribbon->references()) - 1;
    }
    for (const auto& c : controls_) {
        held += static_cast<long>(c->object->references()) - 1;
    }
    return held;
}

Variant RibbonMirror::call(const QString& name, IDispatch* argument, const QString& about) {
    std::wstring wide = name.toStdWString();
    LPOLESTR names[] = {wide.data()};
    DISPID id = DISPID_UNKNOWN;
    HRESULT result = dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(result)) {
        throw RibbonMirrorError(
            QStringLiteral("%1: no callback %2: %3").arg(about, name, resultText(result)));
    }
    // One argument: rgvarg[0], the last (and first) in reverse order.
    Variant arguments[] = {Variant::dispatch(argument)};
    DISPPARAMS params = {arguments[0].get(), nullptr, 1, 0};
    Variant answer;
    EXCEPINFO exception = {};
    UINT argumentError = 0;
    result = dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                               answer.get(), &exception, &argumentError);
    const QString description = fromBstr(exception.bstrDescription);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    if (FAILED(result)) {
        throw RibbonMirrorError(
            QStringLiteral("%1: %2 failed: %3%4")
                .arg(about, name, resultText(result),
                     description.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(description)));
    }
    return answer;
}

void RibbonMirror::query(Control& control) {
    RibbonControl& mirrored = *control.mirrored;
    for (const auto& [attribute, name] : control.getters) {
        const QString about = QStringLiteral("%1 of %2").arg(attribute, control.id);
        const Variant answer = call(name, control.object.get(), about);
        auto wrongType = [&about, &answer](const char* expected) {
            return RibbonMirrorError(QStringLiteral("%1 answered a VARIANT of type %2, not %3")
                                         .arg(about)
                                         .arg(answer.type())
                                         .arg(QLatin1String(expected)));
        };
        if (attribute == QStringLiteral("getImage")) {
            mirrored.SetImage(recognise(*answer, about));
        } else if (attribute == QStringLiteral("getEnabled") ||
                   attribute == QStringLiteral("getVisible")) {
            if (answer.type() != VT_BOOL) {
                throw wrongType("VT_BOOL");
            }
            const bool state = (*answer).boolVal != VARIANT_FALSE;
            if (attribute == QStringLiteral("getEnabled")) {
                mirrored.SetEnabled(state);
            } else {
                mirrored.SetVisible(state);
            }
        } else {
            if (answer.type() != VT_BSTR) {
                throw wrongType("VT_BSTR");
            }
            const QString text = fromBstr((*answer).bstrVal);
            if (attribute == QStringLiteral("getLabel")) {
                mirrored.SetCaption(text);
            } else if (attribute == QStringLiteral("getScreentip")) {
                mirrored.SetScreenTip(text);
            } else {
                control.supertip = text;
            }
        }
    }
}

QString RibbonMirror::recognise(const VARIANT& picture, const QString& about) {
    if (picture.vt == VT_EMPTY || (picture.vt == VT_DISPATCH && picture.pdispVal == nullptr)) {
        return {};
    }
    if (picture.vt != VT_DISPATCH) {
        throw RibbonMirrorError(QStringLiteral("%1 answered a VARIANT of type %2, not a picture")
                                    .arg(about)
                                    .arg(picture.vt));
    }
    ComPtr<IPicture> object;
    picture.pdispVal->QueryInterface(IID_IPicture, reinterpret_cast<void**>(object.put()));
    if (!object) {
        throw RibbonMirrorError(
            QStringLiteral("%1 answered an object that is no picture").arg(about));
    }
    SHORT type = PICTYPE_UNINITIALIZED;
    OLE_HANDLE handle = 0;
    if (FAILED(object->get_Type(&type)) || type != PICTYPE_BITMAP ||
        FAILED(object->get_Handle(&handle))) {
        return QStringLiteral("?");
    }
    const QImage image = imageOf(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)));
    if (image.isNull()) {
        return QStringLiteral("?");
    }
    for (const auto& [name, candidate] : candidates(image.size())) {
        if (candidate == image) {
            return name;
        }
    }
    return QStringLiteral("?");
}

const std::map<QString, QImage>& RibbonMirror::candidates(QSize size) {
    // The images of a folder, decoded once for the process: the add-in's resources stay
    // as they are while its library is loaded, and the client is started many times in
    // one test process.
    using BySize = std::map<std::pair<int, int>, std::map<QString, QImage>>;
    static std::map<QString, BySize> folders;
    const auto known = folders.find(images_);
    BySize& bySize = known != folders.end() ? known->second : folders[images_];
    if (known == folders.end()) {
        QDirIterator files(images_, {QStringLiteral("*.png")}, QDir::Files);
        while (files.hasNext()) {
            const QString path = files.next();
            const QImage image = QImage(path).convertToFormat(QImage::Format_ARGB32_Premultiplied);
            if (!image.isNull()) {
                bySize[{image.width(), image.height()}][files.fileInfo().completeBaseName()] =
                    image;
            }
        }
    }
    return bySize[{size.width(), size.height()}];
}

HRESULT RibbonMirror::invalidateControl(const QString& ribbonId, const QString& id) {
    for (const auto& c : controls_) {
        if (c->id != id || c->ribbonId != ribbonId) {
            continue;
        }
        ++invalidations_;
        try {
            query(*c);
            return S_OK;
        } catch (const std::exception& error) {
            report(QString::fromStdString(error.what()));
            return E_FAIL;
        }
    }
    return E_INVALIDARG;
}

HRESULT RibbonMirror::invalidate(const QString& ribbonId) {
    ++invalidations_;
    HRESULT outcome = S_OK;
    for (const auto& c : controls_) {
        if (c->ribbonId != ribbonId) {
            continue;
        }
        try {
            query(*c);
        } catch (const std::exception& error) {
            report(QString::fromStdString(error.what()));
            outcome = E_FAIL;
        }
    }
    return outcome;
}

void RibbonMirror::report(const QString& text) {
    if (onError) {
        onError(text);
    } else {
        qWarning("ribbon: %s", qUtf8Printable(text));
    }
}

}  // namespace vantorel::host::com
