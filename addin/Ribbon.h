#pragma once

// The add-in's ribbon controls as the hosting framework shows them: one group on a
// built-in tab of the mail client, holding buttons. The add-in changes captions,
// images, ScreenTips, visibility and enabled state; the host shows the current
// state and delivers presses to onClick.

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace vantorel {

enum class RibbonSize { Normal, Large };

class RibbonControl {
public:
    explicit RibbonControl(QString caption) : caption_(std::move(caption)) {}
    virtual ~RibbonControl() = default;

    const QString& Caption() const { return caption_; }
    const QString& Image() const { return image_; }
    const QString& ScreenTip() const { return screenTip_; }
    bool Visible() const { return visible_; }
    bool Enabled() const { return enabled_; }

    void SetCaption(const QString& v) { change(caption_, v); }
    void SetImage(const QString& v) { change(image_, v); }
    void SetScreenTip(const QString& v) { change(screenTip_, v); }
    void SetVisible(bool v) { change(visible_, v); }
    void SetEnabled(bool v) { change(enabled_, v); }

    // Called after any property changed (the host refreshes what it shows).
    std::function<void()> onChange;

private:
    template <typename T>
    void change(T& field, const T& value) {
        if (field == value) {
            return;
        }
        field = value;
        if (onChange) {
            onChange();
        }
    }

    QString caption_;
    QString image_;
    QString screenTip_;
    bool visible_ = true;
    bool enabled_ = true;
};

class RibbonButton : public RibbonControl {
public:
    RibbonButton(QString caption, RibbonSize size)
        : RibbonControl(std::move(caption)), size(size) {}
    const RibbonSize size;
    // The command; the hosting framework passes errors that leave it to its error path.
    std::function<void()> onClick;
};

// The add-in's group on one built-in tab.
class RibbonTab {
public:
    // IDMSO: the built-in tab ("TabMail"); RIBBONS: the ribbon the tab belongs to
    // ("Microsoft.Outlook.Explorer"); INSERTBEFORE: the built-in group the add-in's
    // group stands before, or empty for the end of the tab.
    RibbonTab(QString idMso, QString ribbons, QString groupCaption, QString insertBefore = {})
        : idMso(std::move(idMso)),
          ribbons(std::move(ribbons)),
          insertBeforeMso(std::move(insertBefore)),
          group(std::move(groupCaption)) {}

    RibbonButton& AddButton(const QString& caption, RibbonSize size) {
        controls.push_back(std::make_unique<RibbonButton>(caption, size));
        return *controls.back();
    }

    const QString idMso;
    const QString ribbons;
    const QString insertBeforeMso;
    RibbonControl group;
    std::vector<std::unique_ptr<RibbonButton>> controls;
};

}  // namespace vantorel
