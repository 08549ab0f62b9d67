// The stand-in client's view of the add-in's ribbon, taken as the mail client takes it:
// the customUI XML from the connect object's IRibbonExtensibility, then every callback
// the XML names, called through the connect object's IDispatch (GetIDsOfNames, then
// Invoke with the arguments in reverse order) for an IRibbonControl the mirror makes.
//
// What the callbacks answer is kept in RibbonTab objects, one per tab element, as the
// desktop shows the add-in's tabs; their controls' setters fire onChange when an answer
// changes. The add-in asks for answers anew through the IRibbonUI the mirror hands to
// its onLoad callback. Images are recognised by their pixels among the add-in's image
// resources and named as the add-in names them ("IMG_ALARM_100"), "?" when none matches.
#pragma once

#include "addin/Ribbon.h"
#include "outlook/windows/ComContract.h"
#include "outlook/windows/ComPtr.h"
#include "outlook/windows/Variant.h"

#include <QImage>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <vector>

namespace vantorel::host::com {

// A ribbon the mirror could not take: malformed customUI XML, a callback that failed or
// answered with the wrong type.
class RibbonMirrorError : public std::runtime_error {
public:
    explicit RibbonMirrorError(const QString& what) : std::runtime_error(what.toStdString()) {}
};

class RibbonMirror {
public:
    // ADDIN: the add-in's connect object, by any of its interfaces; it must answer
    // IRibbonExtensibility. IMAGES: the folder of the add-in's images, "NAME.png" each
    // (reachable once the add-in's library is loaded).
    explicit RibbonMirror(IUnknown* addIn, QString images = QStringLiteral(":/vantorel/images"));
    ~RibbonMirror();
    RibbonMirror(const RibbonMirror&) = delete;
    RibbonMirror& operator=(const RibbonMirror&) = delete;

    // Takes the ribbon RIBBONID: its customUI, onLoad once, then every control's
    // callbacks. An empty customUI is no tab and no onLoad. Throws RibbonMirrorError,
    // leaving nothing of that ribbon behind; throws std::logic_error when the ribbon is
    // taken already.
    void build(const QString& ribbonId);
    // The two halves of build(), as the mail client does them apart: the customUI of
    // RIBBONID and every control's callbacks (without onLoad); then, when the ribbon
    // is shown, onLoad and every control's callbacks again. Loading a ribbon with no
    // tab, or one loaded already, does nothing.
    void describe(const QString& ribbonId);
    void load(const QString& ribbonId);
    // Asks the callbacks of the ribbons described and not loaded again: nothing tells
    // the mirror of their changes until their onLoad has handed over an IRibbonUI.
    void refreshDescribed();
    bool described(const QString& ribbonId) const { return customUi_.count(ribbonId) != 0; }
    // The customUI XML the add-in gave for RIBBONID (empty when it is not built).
    QString customUi(const QString& ribbonId) const;

    // The tabs of every ribbon built, in the order of the XML.
    std::vector<RibbonTab*> tabs() const;
    // The mirrored control with the id ID in the XML, or null; the id of CONTROL (empty
    // for one the mirror does not hold).
    RibbonControl* control(const QString& id) const;
    QString controlId(const RibbonControl& control) const;

    // Calls onAction for BUTTON, one of tabs()' buttons (its onClick does the same),
    // with an IRibbonControl whose Context is WINDOW, the window pressed in (null when
    // the press names none). Throws RibbonMirrorError when the add-in fails it,
    // std::invalid_argument for a button not of this mirror.
    void press(RibbonButton& button, IDispatch* window = nullptr);
    // Asks every callback of every control again, as IRibbonUI::Invalidate does.
    void refresh();

    // The references the add-in holds on the mirror's own objects (its IRibbonUI and
    // IRibbonControl objects): zero once it has released all it took.
    long referencesHeld() const;
    // The Invalidate calls the add-in made, and its InvalidateControl calls for a
    // control of the ribbon it called (refused with E_INVALIDARG for any other id).
    int invalidations() const { return invalidations_; }

    // Where failures of callbacks asked for anew by the add-in (InvalidateControl) go;
    // without it, to the debug output.
    std::function<void(const QString&)> onError;

private:
    class ControlObject;
    class RibbonUiObject;
    friend class RibbonUiObject;
    struct Control;

    // Calls the callback NAME on the add-in with ARGUMENT; what it returned. ABOUT names
    // the call in errors.
    outlook::com::Variant call(const QString& name, IDispatch* argument, const QString& about);
    // Asks CONTROL's callbacks and sets what they answer.
    void query(Control& control);
    void forget(const QString& ribbonId);
    void queryRibbon(const QString& ribbonId);
    QString recognise(const VARIANT& picture, const QString& about);
    // The add-in's images of SIZE, by name.
    const std::map<QString, QImage>& candidates(QSize size);
    // From the ribbon's IRibbonUI: the calls the add-in makes through it.
    HRESULT invalidateControl(const QString& ribbonId, const QString& id);
    HRESULT invalidate(const QString& ribbonId);
    void report(const QString& text);

    outlook::com::ComPtr<IDispatch> dispatch_;
    outlook::com::ComPtr<outlook::com::IRibbonExtensibility> extensibility_;
    const QString images_;
    std::map<QString, QString> customUi_;
    std::map<QString, QString> onLoad_;
    std::set<QString> loaded_;
    std::vector<std::unique_ptr<RibbonTab>> tabs_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::map<QString, RibbonUiObject*> ribbons_;
    int invalidations_ = 0;
};

}  // namespace vantorel::host::com
