// The add-in's ribbon over COM, both sides real: the add-in's RibbonFace answers the
// stand-in client's RibbonMirror as the mail client's calls reach it, through a connect
// object's IRibbonExtensibility and IDispatch. The add-in here is a small one of two
// tabs, one on each of the mail client's ribbons.

#include "addin/windows/RibbonFace.h"
#include "host/windows/com/RibbonMirror.h"
#include "outlook/windows/Variant.h"

#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <olectl.h>

#include <atomic>
#include <optional>
#include <ostream>
#include <set>
#include <stdexcept>

// Texts in failures as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace vantorel::test {

namespace {

using com::RibbonFace;
using host::com::RibbonMirror;
using host::com::RibbonMirrorError;
using outlook::com::Bstr;
using outlook::com::IID_IRibbonControl;
using outlook::com::IID_IRibbonExtensibility;
using outlook::com::IRibbonControl;
using outlook::com::IRibbonExtensibility;
using outlook::com::Variant;

const QString kOtherRibbon = QStringLiteral("Microsoft.Outlook.Appointment");

// An add-in of two tabs. Its buttons record presses; "Broken" throws past Press, as no
// add-in should.
class TwoTabAddIn : public IAddIn {
public:
    TwoTabAddIn()
        : explorer(QStringLiteral("TabMail"), kRibbonExplorer, QStringLiteral("Vantorel")),
          compose(QStringLiteral("TabNewMailMessage"), kRibbonMailCompose,
                  QStringLiteral("Vantorel <&> \"reminders\""), QStringLiteral("GroupSend")) {
        settings = &explorer.AddButton(QStringLiteral("Default settings"), RibbonSize::Large);
        settings->SetScreenTip(QStringLiteral("Reminders of every message"));
        preferences = &explorer.AddButton(QStringLiteral("Preferences..."), RibbonSize::Normal);
        broken = &explorer.AddButton(QStringLiteral("Broken"), RibbonSize::Normal);
        remindMe = &compose.AddButton(QStringLiteral("Remind me"), RibbonSize::Large);
        custom = &compose.AddButton(QStringLiteral("Custom"), RibbonSize::Large);
        custom->SetEnabled(false);
        compose.group.SetVisible(false);
        for (RibbonTab* tab : RibbonTabs()) {
            for (const auto& button : tab->controls) {
                RibbonButton* b = button.get();
                b->onClick = [this, b] { presses.push_back(b->Caption()); };
            }
        }
        broken->onClick = [] { throw std::runtime_error("the button broke"); };
    }

    void Connect(IAddInHost&) override {}
    void StartupComplete() override {}
    void BeginShutdown() override {}
    void Disconnect() override {}
    void RibbonBeforeCreate(const QString& ribbonId) override {
        created.push_back(ribbonId);
        if (failRibbons) {
            throw std::runtime_error("no ribbon today");
        }
        if (ribbonId == kRibbonExplorer) {
            explorer.group.SetImage(QStringLiteral("IMG_ALARM_100"));
            settings->SetImage(QStringLiteral("IMG_DEFAULT_100"));
        } else if (ribbonId == kRibbonMailCompose) {
            compose.group.SetImage(QStringLiteral("IMG_ALARM_150"));
            remindMe->SetImage(QStringLiteral("IMG_REMINDME_150"));
            custom->SetImage(QStringLiteral("IMG_CUSTOM_150"));
        }
    }
    std::vector<RibbonTab*> RibbonTabs() override {
        std::vector<RibbonTab*> tabs = {&explorer, &compose};
        tabs.insert(tabs.end(), extra.begin(), extra.end());
        return tabs;
    }
    void Press(RibbonButton& button, const outlook::InspectorPtr& window) override {
        windowNamed.push_back(window != nullptr);
        if (&button == broken) {
            button.onClick();  // no error path: the face must stop it
            return;
        }
        try {
            button.onClick();
        } catch (const std::exception& error) {
            errors.push_back(QString::fromStdString(error.what()));
        }
    }
    QString Describe(const QString&) override { return {}; }

    // Whether each press named the window it came from.
    std::vector<bool> windowNamed;
    RibbonTab explorer;
    RibbonTab compose;
    RibbonButton* settings;
    RibbonButton* preferences;
    RibbonButton* broken;
    RibbonButton* remindMe;
    RibbonButton* custom;
    // Tabs a test adds after the two.
    std::vector<RibbonTab*> extra;
    bool failRibbons = false;
    QStringList created;
    QStringList presses;
    QStringList errors;
};

// The connect object's ribbon part: IRibbonExtensibility and IDispatch forwarded to the
// face, or customUI XML of the test's own in place of the face's.
class ConnectObject final : public IRibbonExtensibility {
public:
    explicit ConnectObject(RibbonFace& face) : face_(face) {}

    std::optional<QString> xml;
    ULONG references() const { return references_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IRibbonExtensibility) {
            *object = static_cast<IRibbonExtensibility*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // Lives in the fixture: never deleted by its last reference.
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override {
        return DISP_E_BADINDEX;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return face_.getIDsOfNames(riid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID locale, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override {
        return face_.invoke(id, riid, locale, flags, params, result, exception, argumentError);
    }
    HRESULT STDMETHODCALLTYPE GetCustomUI(BSTR RibbonID, BSTR* RibbonXml) override {
        if (xml) {
            *RibbonXml = outlook::com::newBstr(*xml);
            return S_OK;
        }
        return face_.getCustomUi(RibbonID, RibbonXml);
    }

private:
    RibbonFace& face_;
    std::atomic<ULONG> references_{1};
};

// A control as some client might describe one: any id.
class AnyControl final : public IRibbonControl {
public:
    explicit AnyControl(QString id) : id_(std::move(id)) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IRibbonControl) {
            *object = static_cast<IRibbonControl*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_Id(BSTR* Id) override {
        *Id = outlook::com::newBstr(id_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Context(IDispatch** Context) override {
        *Context = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Tag(BSTR* Tag) override {
        *Tag = nullptr;
        return S_OK;
    }
    ULONG references() const { return references_; }

private:
    const QString id_;
    std::atomic<ULONG> references_{1};
};

class RibbonComTest : public ::testing::Test {
protected:
    void TearDown() override {
        mirror.reset();
        face.reset();
        EXPECT_EQ(1u, connect.references()) << "references to the connect object left";
    }

    void buildBoth() {
        mirror->build(kRibbonExplorer);
        mirror->build(kRibbonMailCompose);
    }

    // The mirror shows every control of the add-in's tabs as the add-in has it.
    void expectMirrored() {
        const std::vector<RibbonTab*> theirs = mirror->tabs();
        std::vector<RibbonTab*> mine;
        for (RibbonTab* tab : addIn.RibbonTabs()) {
            if (!mirror->customUi(tab->ribbons).isEmpty()) {
                mine.push_back(tab);
            }
        }
        ASSERT_EQ(mine.size(), theirs.size());
        auto same = [](const RibbonControl& a, const RibbonControl& m, bool enabled) {
            SCOPED_TRACE(a.Caption().toStdString());
            EXPECT_EQ(a.Caption(), m.Caption());
            EXPECT_EQ(a.ScreenTip(), m.ScreenTip());
            EXPECT_EQ(a.Image(), m.Image());
            EXPECT_EQ(a.Visible(), m.Visible());
            if (enabled) {
                EXPECT_EQ(a.Enabled(), m.Enabled());
            }
        };
        for (std::size_t t = 0; t < mine.size(); ++t) {
            const RibbonTab& a = *mine[t];
            const RibbonTab& m = *theirs[t];
            EXPECT_EQ(a.idMso, m.idMso);
            EXPECT_EQ(a.ribbons, m.ribbons);
            EXPECT_EQ(a.insertBeforeMso, m.insertBeforeMso);
            same(a.group, m.group, false);  // a group has no enabled state in customUI
            ASSERT_EQ(a.controls.size(), m.controls.size());
            for (std::size_t n = 0; n < a.controls.size(); ++n) {
                same(*a.controls[n], *m.controls[n], true);
                EXPECT_EQ(a.controls[n]->size, m.controls[n]->size);
            }
        }
    }

    // The mirror's control standing for the add-in's CONTROL.
    RibbonControl& mirrored(const RibbonControl& control) {
        RibbonControl* found = mirror->control(face->controlId(control));
        EXPECT_NE(nullptr, found);
        return *found;
    }
    RibbonButton& mirroredButton(const RibbonButton& button) {
        return static_cast<RibbonButton&>(mirrored(button));
    }

    // Calls the callback NAME through the connect object's IDispatch with ARGUMENTS.
    HRESULT invoke(const wchar_t* name, std::vector<Variant> arguments, VARIANT* result,
                   UINT* argumentError = nullptr, EXCEPINFO* exception = nullptr) {
        std::wstring wide = name;
        LPOLESTR names[] = {wide.data()};
        DISPID id = DISPID_UNKNOWN;
        const HRESULT named = connect.GetIDsOfNames(IID_NULL, names, 1, 0, &id);
        if (FAILED(named)) {
            return named;
        }
        std::vector<VARIANT> raw;
        for (auto& a : arguments) {
            raw.push_back(*a);
        }
        DISPPARAMS params = {raw.data(), nullptr, static_cast<UINT>(raw.size()), 0};
        return connect.Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, result, exception,
                              argumentError);
    }

    // The callbacks called with each argument no client sends.
    void refuse(AnyControl& known, AnyControl& group, AnyControl& unknown);

    TwoTabAddIn addIn;
    // A tab on a ribbon of its own, named with what XML must escape.
    RibbonTab odd{QStringLiteral("Tab\"<&>'"), QStringLiteral("Vantorel.Odd"),
                  QStringLiteral("Odd"), QStringLiteral("Group&Send")};
    std::unique_ptr<RibbonFace> face = std::make_unique<RibbonFace>(addIn);
    ConnectObject connect{*face};
    std::unique_ptr<RibbonMirror> mirror = std::make_unique<RibbonMirror>(&connect);
};

TEST_F(RibbonComTest, DescribesTheTabsOfEachRibbonInCustomUi) {
    struct Case {
        QString ribbonId;
        QString idMso;
        QString groupId;
        QString insertBefore;
        QStringList buttons;  // id:size
    };
    const Case cases[] = {
        {kRibbonExplorer,
         QStringLiteral("TabMail"),
         QStringLiteral("vantorel_0"),
         {},
         {QStringLiteral("vantorel_0_0:large"), QStringLiteral("vantorel_0_1:normal"),
          QStringLiteral("vantorel_0_2:normal")}},
        {kRibbonMailCompose,
         QStringLiteral("TabNewMailMessage"),
         QStringLiteral("vantorel_1"),
         QStringLiteral("GroupSend"),
         {QStringLiteral("vantorel_1_0:large"), QStringLiteral("vantorel_1_1:large")}},
    };
    const QString ns = QString::fromWCharArray(outlook::com::kCustomUiNamespace);
    const QStringList buttonCallbacks = {
        QStringLiteral("getLabel"),    QStringLiteral("getImage"),   QStringLiteral("getScreentip"),
        QStringLiteral("getSupertip"), QStringLiteral("getEnabled"), QStringLiteral("getVisible"),
        QStringLiteral("onAction")};
    std::set<QString> ids;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ribbonId.toStdString());
        const QString xml = face->customUi(c.ribbonId);
        EXPECT_FALSE(addIn.created.contains(c.ribbonId)) << "RibbonBeforeCreate waits for onLoad";
        QXmlStreamReader reader(xml);
        QStringList path;
        QStringList buttons;
        while (!reader.atEnd()) {
            if (reader.readNext() != QXmlStreamReader::StartElement) {
                continue;
            }
            EXPECT_EQ(ns, reader.namespaceUri());
            const QXmlStreamAttributes a = reader.attributes();
            const QString name = reader.name().toString();
            path.append(name);
            if (name == QStringLiteral("customUI")) {
                EXPECT_EQ(RibbonFace::onLoadName(c.ribbonId), a.value(QStringLiteral("onLoad")));
            } else if (name == QStringLiteral("tab")) {
                EXPECT_EQ(c.idMso, a.value(QStringLiteral("idMso")));
            } else if (name == QStringLiteral("group")) {
                EXPECT_EQ(c.groupId, a.value(QStringLiteral("id")));
                EXPECT_EQ(c.insertBefore, a.value(QStringLiteral("insertBeforeMso")));
                EXPECT_EQ(!c.insertBefore.isEmpty(),
                          a.hasAttribute(QStringLiteral("insertBeforeMso")));
                EXPECT_EQ(QStringLiteral("GetImage"), a.value(QStringLiteral("getImage")));
                EXPECT_TRUE(ids.insert(a.value(QStringLiteral("id")).toString()).second);
            } else if (name == QStringLiteral("button")) {
                buttons.append(a.value(QStringLiteral("id")).toString() + QLatin1Char(':') +
                               a.value(QStringLiteral("size")).toString());
                for (const QString& callback : buttonCallbacks) {
                    EXPECT_TRUE(a.hasAttribute(callback)) << callback.toStdString();
                }
                EXPECT_TRUE(ids.insert(a.value(QStringLiteral("id")).toString()).second);
            }
        }
        EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
        EXPECT_EQ(c.buttons, buttons);
        EXPECT_EQ(
            (QStringList{QStringLiteral("customUI"), QStringLiteral("ribbon"),
                         QStringLiteral("tabs"), QStringLiteral("tab"), QStringLiteral("group")}),
            path.mid(0, 5));
    }
    // A ribbon the add-in has nothing on: nothing, and no onLoad to come.
    EXPECT_EQ(QString(), face->customUi(kOtherRibbon));
    EXPECT_TRUE(addIn.created.isEmpty()) << "the add-in hears of a ribbon from its onLoad";
    EXPECT_EQ(&addIn.compose.group, face->control(QStringLiteral("vantorel_1")));
    EXPECT_EQ(addIn.custom, face->control(QStringLiteral("vantorel_1_1")));
    for (const char* unknown : {"vantorel_2", "vantorel_0_3", "vantorel", "", "VANTOREL_0"}) {
        EXPECT_FALSE(face->hasControl(QString::fromLatin1(unknown))) << unknown;
    }
}

TEST_F(RibbonComTest, MirrorShowsWhatTheAddInHas) {
    buildBoth();
    EXPECT_EQ((QStringList{kRibbonExplorer, kRibbonMailCompose}), addIn.created);
    EXPECT_EQ(2, face->ribbonsHeld()) << "onLoad once per ribbon";
    expectMirrored();
    // Spelled out, so the comparison cannot pass on two empty sides.
    EXPECT_EQ(QStringLiteral("IMG_ALARM_100"), mirrored(addIn.explorer.group).Image());
    EXPECT_EQ(QStringLiteral("IMG_CUSTOM_150"), mirrored(*addIn.custom).Image());
    EXPECT_EQ(QString(), mirrored(*addIn.preferences).Image()) << "no image, no picture";
    EXPECT_EQ(QStringLiteral("Vantorel <&> \"reminders\""),
              mirrored(addIn.compose.group).Caption());
    EXPECT_EQ(QStringLiteral("Reminders of every message"), mirrored(*addIn.settings).ScreenTip());
    EXPECT_FALSE(mirrored(*addIn.custom).Enabled());
    EXPECT_FALSE(mirrored(addIn.compose.group).Visible());
    EXPECT_EQ(RibbonSize::Normal, mirroredButton(*addIn.preferences).size);
    // The client asks for each ribbon once.
    EXPECT_THROW(mirror->build(kRibbonExplorer), std::logic_error);
    // A ribbon the add-in has nothing on: no tab, no onLoad.
    mirror->build(kOtherRibbon);
    EXPECT_EQ(2u, mirror->tabs().size());
    EXPECT_EQ(2, face->ribbonsHeld());
}

TEST_F(RibbonComTest, NamesXmlMustEscapeSurviveTheCustomUi) {
    odd.AddButton(QStringLiteral("A <b>"), RibbonSize::Normal);
    addIn.extra.push_back(&odd);
    mirror->build(QStringLiteral("Vantorel.Odd"));
    expectMirrored();
    ASSERT_EQ(1u, mirror->tabs().size());
    EXPECT_EQ(QStringLiteral("Tab\"<&>'"), mirror->tabs()[0]->idMso);
    EXPECT_EQ(QStringLiteral("Group&Send"), mirror->tabs()[0]->insertBeforeMso);
    EXPECT_EQ(QStringLiteral("vantorel_2_0"), mirror->controlId(*mirror->tabs()[0]->controls[0]));
}

TEST_F(RibbonComTest, PictureMatchingNoImageIsNamedByAQuestionMark) {
    QTemporaryDir noImages;
    RibbonMirror elsewhere(&connect, noImages.path());
    elsewhere.build(kRibbonExplorer);
    const RibbonTab& tab = *elsewhere.tabs().at(0);
    EXPECT_EQ(QStringLiteral("?"), tab.group.Image());
    EXPECT_EQ(QStringLiteral("?"), tab.controls.at(0)->Image());
    EXPECT_EQ(QString(), tab.controls.at(1)->Image());
}

TEST_F(RibbonComTest, ChangesOnTheAddInsSideReachTheMirror) {
    // What was listening on the add-in's controls before still hears of changes.
    int heardBefore = 0;
    addIn.settings->onChange = [&heardBefore] { ++heardBefore; };
    buildBoth();
    heardBefore = 0;
    struct Case {
        const char* name;
        std::function<void()> change;
        RibbonControl* control;
    };
    const Case cases[] = {
        {"ScreenTip", [&] { addIn.settings->SetScreenTip(QStringLiteral("Another tip")); },
         addIn.settings},
        {"Enabled", [&] { addIn.custom->SetEnabled(true); }, addIn.custom},
        {"Visible of a group", [&] { addIn.compose.group.SetVisible(true); }, &addIn.compose.group},
        {"Caption", [&] { addIn.preferences->SetCaption(QStringLiteral("Options & more")); },
         addIn.preferences},
        {"Image", [&] { addIn.preferences->SetImage(QStringLiteral("IMG_SETTINGS_150")); },
         addIn.preferences},
        {"no Image", [&] { addIn.settings->SetImage(QString()); }, addIn.settings},
        {"Image of a group", [&] { addIn.explorer.group.SetImage(QStringLiteral("IMG_TIP_100")); },
         &addIn.explorer.group},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int refreshed = 0;
        mirrored(*c.control).onChange = [&refreshed] { ++refreshed; };
        const int invalidations = mirror->invalidations();
        c.change();
        EXPECT_EQ(invalidations + 1, mirror->invalidations());
        EXPECT_EQ(1, refreshed) << "the desktop hears of the change";
        mirrored(*c.control).onChange = nullptr;
        expectMirrored();
    }
    EXPECT_EQ(2, heardBefore);
    EXPECT_EQ(QStringLiteral("IMG_TIP_100"), mirrored(addIn.explorer.group).Image());
    // No change, no call.
    const int invalidations = mirror->invalidations();
    addIn.custom->SetEnabled(true);
    EXPECT_EQ(invalidations, mirror->invalidations());
}

TEST_F(RibbonComTest, PressCallsTheAddInsButton) {
    buildBoth();
    mirror->press(mirroredButton(*addIn.settings));
    mirroredButton(*addIn.custom).onClick();  // what the desktop calls
    EXPECT_EQ((QStringList{QStringLiteral("Default settings"), QStringLiteral("Custom")}),
              addIn.presses);
    // An error the add-in lets through stays on its side of COM.
    try {
        mirror->press(mirroredButton(*addIn.broken));
        ADD_FAILURE() << "no error";
    } catch (const RibbonMirrorError& error) {
        EXPECT_NE(std::string::npos, std::string(error.what()).find("the button broke"))
            << error.what();
    }
    RibbonButton stranger(QStringLiteral("Default settings"), RibbonSize::Large);
    EXPECT_THROW(mirror->press(stranger), std::invalid_argument);
    EXPECT_EQ(2, addIn.presses.size());
}

TEST_F(RibbonComTest, APressInAMessageWindowNamesItsWindow) {
    buildBoth();
    AnyControl window(QStringLiteral("an inspector"));
    mirror->press(mirroredButton(*addIn.remindMe), &window);
    mirror->press(mirroredButton(*addIn.remindMe));
    // The main window's Explorer is no message window.
    mirror->press(mirroredButton(*addIn.settings), &window);
    EXPECT_EQ((std::vector<bool>{true, false, false}), addIn.windowNamed);
    EXPECT_EQ(1u, window.references()) << "the window is held past its press";
}

TEST_F(RibbonComTest, CallbacksRefuseWhatTheClientNeverSends) {
    face->customUi(kRibbonExplorer);
    AnyControl known(QStringLiteral("vantorel_0_1"));
    AnyControl group(QStringLiteral("vantorel_0"));
    AnyControl unknown(QStringLiteral("vantorel_7_0"));
    refuse(known, group, unknown);
    EXPECT_TRUE(addIn.presses.isEmpty());
    EXPECT_EQ(1u, known.references()) << "the face keeps no control";
    EXPECT_EQ(1u, group.references());
    EXPECT_EQ(1u, unknown.references());
}

void RibbonComTest::refuse(AnyControl& known, AnyControl& group, AnyControl& unknown) {
    struct Case {
        const char* name;
        const wchar_t* callback;
        std::vector<Variant> arguments;
        HRESULT expected;
    };
    const Case cases[] = {
        {"a known control", L"GetLabel", {Variant::dispatch(&known)}, S_OK},
        {"names are not case-sensitive", L"getlabel", {Variant::dispatch(&known)}, S_OK},
        {"an unknown callback", L"GetKeytip", {Variant::dispatch(&known)}, DISP_E_UNKNOWNNAME},
        {"no argument", L"GetLabel", {}, DISP_E_BADPARAMCOUNT},
        {"two arguments",
         L"GetEnabled",
         {Variant::dispatch(&known), Variant::integer(1)},
         DISP_E_BADPARAMCOUNT},
        {"a number", L"GetVisible", {Variant::integer(3)}, DISP_E_TYPEMISMATCH},
        {"a text",
         L"GetImage",
         {Variant::text(QStringLiteral("vantorel_0_1"))},
         DISP_E_TYPEMISMATCH},
        {"Nothing", L"GetScreentip", {Variant::dispatch(nullptr)}, E_INVALIDARG},
        {"an object that is no control",
         L"GetLabel",
         {Variant::dispatch(&connect)},
         DISP_E_TYPEMISMATCH},
        {"an unknown id", L"GetSupertip", {Variant::dispatch(&unknown)}, E_INVALIDARG},
        {"onAction of a group", L"OnAction", {Variant::dispatch(&group)}, E_INVALIDARG},
        {"onLoad with a control",
         L"OnLoad_Microsoft_Outlook_Explorer",
         {Variant::dispatch(&known)},
         DISP_E_TYPEMISMATCH},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Variant result;
        UINT argumentError = 99;
        EXPECT_EQ(c.expected, invoke(c.callback, c.arguments, result.get(), &argumentError));
        if (c.expected == DISP_E_TYPEMISMATCH) {
            EXPECT_EQ(0u, argumentError);
        }
        EXPECT_EQ(c.expected == S_OK ? VT_BSTR : VT_EMPTY, result.type());
    }

    // Calls no client makes that way.
    Variant argument = Variant::dispatch(&known);
    DISPPARAMS params = {argument.get(), nullptr, 1, 0};
    Variant result;
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, connect.Invoke(99, IID_NULL, 0, DISPATCH_METHOD, &params,
                                                    result.get(), nullptr, nullptr));
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND,
              connect.Invoke(RibbonFace::kGetLabel, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params,
                             result.get(), nullptr, nullptr));
    EXPECT_EQ(DISP_E_UNKNOWNINTERFACE,
              connect.Invoke(RibbonFace::kGetLabel, IID_IDispatch, 0, DISPATCH_METHOD, &params,
                             result.get(), nullptr, nullptr));
    EXPECT_EQ(E_POINTER, connect.Invoke(RibbonFace::kGetLabel, IID_NULL, 0, DISPATCH_METHOD,
                                        &params, nullptr, nullptr, nullptr));
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS namedParams = {argument.get(), &named, 1, 1};
    EXPECT_EQ(DISP_E_NONAMEDARGS,
              connect.Invoke(RibbonFace::kGetLabel, IID_NULL, 0, DISPATCH_METHOD, &namedParams,
                             result.get(), nullptr, nullptr));
    std::wstring label = L"GetLabel";
    std::wstring control = L"control";
    LPOLESTR names[] = {label.data(), control.data()};
    DISPID ids[2] = {0, 0};
    EXPECT_EQ(DISP_E_UNKNOWNNAME, connect.GetIDsOfNames(IID_NULL, names, 2, 0, ids));
    EXPECT_EQ(RibbonFace::kGetLabel, ids[0]);
    EXPECT_EQ(DISPID_UNKNOWN, ids[1]);
}

TEST_F(RibbonComTest, ThrowingButtonBecomesAnExceptionResult) {
    face->customUi(kRibbonExplorer);
    AnyControl broken(face->controlId(*addIn.broken));
    Variant result;
    EXCEPINFO exception = {};
    EXPECT_EQ(DISP_E_EXCEPTION,
              invoke(L"OnAction", {Variant::dispatch(&broken)}, result.get(), nullptr, &exception));
    EXPECT_EQ(QStringLiteral("the button broke"),
              outlook::com::fromBstr(exception.bstrDescription));
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
}

TEST_F(RibbonComTest, AddInReleasesTheMirrorsObjects) {
    buildBoth();
    addIn.settings->SetScreenTip(QStringLiteral("changed"));
    mirror->press(mirroredButton(*addIn.preferences));
    mirror->refresh();
    EXPECT_EQ(2, mirror->referencesHeld()) << "the two IRibbonUI objects onLoad gave";
    face->release();
    EXPECT_EQ(0, face->ribbonsHeld());
    EXPECT_EQ(0, mirror->referencesHeld());
    // Released: changes no longer reach the client.
    const int invalidations = mirror->invalidations();
    addIn.settings->SetScreenTip(QStringLiteral("changed again"));
    EXPECT_EQ(invalidations, mirror->invalidations());
    EXPECT_EQ(QStringLiteral("changed"), mirrored(*addIn.settings).ScreenTip());
}

TEST_F(RibbonComTest, FaceOutlivingTheMirrorsRibbonChangesSafely) {
    buildBoth();
    mirror.reset();  // the client's ribbon is gone; the face still holds its IRibbonUI
    addIn.settings->SetEnabled(false);
    addIn.compose.group.SetCaption(QStringLiteral("gone"));
    EXPECT_EQ(2, face->ribbonsHeld());
    // Gone with the face: the add-in's controls keep no call into it.
    face.reset();
    addIn.settings->SetEnabled(true);
    EXPECT_FALSE(addIn.settings->onChange);
}

TEST_F(RibbonComTest, MirrorRefusesRibbonsItCannotTake) {
    const QString ns = QString::fromWCharArray(outlook::com::kCustomUiNamespace);
    auto wrap = [&ns](const QString& group) {
        return QStringLiteral(
                   "<customUI xmlns=\"%1\" onLoad=\"OnRibbonLoad\"><ribbon><tabs>"
                   "<tab idMso=\"TabMail\">%2</tab></tabs></ribbon></customUI>")
            .arg(ns, group);
    };
    struct Case {
        const char* name;
        QString xml;
        const char* error;
    };
    const Case cases[] = {
        {"not well-formed", wrap(QStringLiteral("<group id=\"g\">")), "line"},
        {"another namespace",
         QStringLiteral(
             "<customUI xmlns=\"http://schemas.microsoft.com/office/2006/01/customui\"/>"),
         "namespace"},
        {"an unknown element", wrap(QStringLiteral("<group id=\"g\"><menu id=\"m\"/></group>")),
         "unknown element <menu>"},
        {"an unknown attribute",
         wrap(QStringLiteral("<group id=\"g\" getScreenTip=\"GetScreentip\"/>")),
         "unknown attribute getScreenTip"},
        {"a button outside a group", wrap(QStringLiteral("<button id=\"b\"/>")),
         "<button> inside <tab>"},
        {"a tab without a group", wrap(QString()), "no group"},
        {"an id twice", wrap(QStringLiteral("<group id=\"g\"><button id=\"g\"/></group>")),
         "the id g twice"},
        {"a size of its own",
         wrap(QStringLiteral("<group id=\"g\"><button id=\"b\" size=\"huge\"/></group>")),
         "size \"huge\""},
        {"a callback the add-in does not have",
         wrap(QStringLiteral("<group id=\"g\" getLabel=\"GetCaption\"/>")),
         "no callback GetCaption"},
        {"a callback answering the wrong type",
         wrap(QStringLiteral("<group id=\"vantorel_0\" getVisible=\"GetLabel\"/>")), "not VT_BOOL"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        connect.xml = c.xml;
        try {
            mirror->build(kRibbonExplorer);
            ADD_FAILURE() << "taken";
        } catch (const RibbonMirrorError& error) {
            EXPECT_NE(std::string::npos, std::string(error.what()).find(c.error)) << error.what();
        }
        // Nothing of it kept: the ribbon can be taken again.
        EXPECT_TRUE(mirror->tabs().empty());
        EXPECT_EQ(QString(), mirror->customUi(kRibbonExplorer));
        EXPECT_EQ(0, mirror->referencesHeld());
    }
    connect.xml.reset();
    face->release();

    // The add-in failing the ribbon: an error result, nothing kept.
    addIn.failRibbons = true;
    try {
        mirror->build(kRibbonExplorer);
        ADD_FAILURE() << "taken";
    } catch (const RibbonMirrorError& error) {
        EXPECT_NE(std::string::npos, std::string(error.what()).find("onLoad")) << error.what();
    }
    EXPECT_EQ(0, face->ribbonsHeld());
    EXPECT_EQ(E_POINTER, face->getCustomUi(Bstr(kRibbonExplorer).get(), nullptr));

    addIn.failRibbons = false;
    mirror->build(kRibbonExplorer);
    expectMirrored();
}

}  // namespace

}  // namespace vantorel::test
