// The add-in's ribbon as the mail client takes it over COM: customUI XML for each of
// its ribbons, naming callbacks, and the callbacks themselves, which the client calls
// on the connect object through IDispatch. The connect object forwards GetCustomUI,
// GetIDsOfNames and Invoke here.
//
// Every control the XML names has an id of its own: "vantorel_T" for the group of the
// add-in's tab T (its place in IAddIn::RibbonTabs()), "vantorel_T_N" for that group's
// button N. Once a ribbon has been described, a change to one of its controls asks the
// client (through the IRibbonUI objects onLoad handed over) to call that control's
// callbacks again.
#pragma once

#include "addin/AddInHost.h"
#include "outlook/windows/ComContract.h"
#include "outlook/windows/ComPtr.h"

#include <QString>

#include <functional>
#include <map>
#include <vector>

namespace vantorel::com {

class RibbonFace {
public:
    // The callbacks the XML names, by the names it gives them, and their DISPIDs.
    // Each ribbon has an onLoad of its own ("OnLoad_Microsoft_Outlook_Explorer"), for
    // the IRibbonUI it hands over belongs to that ribbon: DISPIDs from kOnLoad on, one
    // per ribbon described, in the order they were.
    enum Callback : DISPID {
        kOnLoad = 0x100,
        kGetLabel = 2,
        kGetImage,
        kGetScreentip,
        kGetSupertip,
        kGetEnabled,
        kGetVisible,
        kOnAction,
    };
    static const wchar_t* callbackName(Callback callback);

    // ADDIN outlives the face.
    explicit RibbonFace(IAddIn& addIn);
    ~RibbonFace();
    RibbonFace(const RibbonFace&) = delete;
    RibbonFace& operator=(const RibbonFace&) = delete;

    // Describes the add-in's tabs on the ribbon RIBBONID: customUI XML, or the empty
    // text when the add-in has nothing there. The client loads the ribbon later (at
    // once for its main window, with the first message window for a message's ribbon):
    // its onLoad tells the add-in that the ribbon is built (IAddIn::RibbonBeforeCreate),
    // before the client asks the controls' callbacks.
    QString customUi(const QString& ribbonId);

    // IRibbonExtensibility::GetCustomUI: customUi(), no exception escaping.
    HRESULT getCustomUi(BSTR ribbonId, BSTR* xml);
    // IDispatch, over the callbacks: the client calls each with one argument, the
    // IRibbonControl it is called for (onLoad: the IRibbonUI).
    HRESULT getIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids);
    HRESULT invoke(DISPID id, REFIID riid, LCID locale, WORD flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO* exception, UINT* argumentError);

    // Lets go of the client's IRibbonUI objects; the connect object calls this when the
    // client disconnects the add-in.
    void release();
    // How many IRibbonUI objects the face holds.
    int ribbonsHeld() const { return static_cast<int>(ribbons_.size()); }
    // The name of RIBBONID's onLoad callback.
    static QString onLoadName(const QString& ribbonId);

    // The add-in's control with the id ID, or null.
    RibbonControl* control(const QString& id) const;
    bool hasControl(const QString& id) const { return control(id) != nullptr; }
    // The id of the add-in's CONTROL; empty for a control the add-in does not have.
    QString controlId(const RibbonControl& control) const;

private:
    struct Found {
        RibbonControl* control = nullptr;
        RibbonButton* button = nullptr;
        // The ribbon the control's tab belongs to.
        QString ribbons;
    };
    Found find(const QString& id) const;
    HRESULT call(DISPID id, REFIID riid, WORD flags, DISPPARAMS* params, VARIANT* result,
                 UINT* argumentError);
    HRESULT answer(Callback callback, const Found& found, VARIANT* result);
    // Makes CONTROL's changes reach the client's ribbons.
    void watch(RibbonControl& control, const QString& ribbonId, const QString& id);
    void invalidate(const QString& ribbonId, const QString& id);
    HRESULT load(const QString& ribbonId, IDispatch* argument, UINT* argumentError);

    IAddIn& addIn_;
    // The ribbons described (their onLoad DISPIDs follow this order) and those loaded.
    std::vector<QString> described_;
    std::map<QString, outlook::com::ComPtr<outlook::com::IRibbonUI>> ribbons_;
    // The controls watched, with what their onChange did before.
    std::map<RibbonControl*, std::function<void()>> watched_;
};

}  // namespace vantorel::com
