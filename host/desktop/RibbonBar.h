#pragma once

// The ribbon as the desktop shows it: tabs of groups, each group a row of tool buttons
// with its caption below. RibbonBar is one of the add-in's groups, kept up to date with
// the group's captions, images, tips, visibility and enabled state; RibbonStrip holds
// the mail client's own groups and the add-in's in the order the add-in asks for.

#include "addin/Ribbon.h"

#include <QTabWidget>
#include <QToolBar>

#include <functional>

#include <map>

class QHBoxLayout;

namespace vantorel::host {

// CAPTION with an access key (an "&" before the letter Alt presses): the first letter
// of a word, else any letter, that TAKEN (case-blind) does not hold yet; the letter
// joins TAKEN. An "&" of the caption itself is doubled; without a free letter, none.
QString withAccessKey(const QString& caption, QString& taken);

class RibbonBar : public QToolBar {
public:
    // PRESS is called with the pressed button; LABEL gives a caption its access key.
    RibbonBar(RibbonTab& tab, std::function<void(RibbonButton&)> press,
              std::function<QString(const QString&)> label = {}, QWidget* parent = nullptr);
    ~RibbonBar() override;
    void refresh();
    // The add-in is about to go: the bar lets go of its buttons and shows them no more.
    void detach();
    // The action showing the add-in's button with CAPTION; null when there is none.
    QAction* action(const QString& caption) const;
    // The add-in's buttons, in the ribbon's order.
    const std::vector<QAction*>& actions() const { return actions_; }

private:
    RibbonTab& tab_;
    std::function<void(RibbonButton&)> press_;
    std::function<QString(const QString&)> label_;
    std::vector<QAction*> actions_;
    bool detached_ = false;
};

// A row of tabs; each tab holds groups side by side.
class RibbonStrip : public QTabWidget {
public:
    explicit RibbonStrip(QWidget* parent = nullptr);
    // A new group with CAPTION at the end of TAB (made on first use); the tool bar of
    // its buttons, named ID.
    QToolBar* addGroup(const QString& tab, const QString& id, const QString& caption);
    // A button of the window's own in GROUP, with an access key.
    QAction* addButton(QToolBar* group, const QIcon& icon, const QString& caption);
    // Letters the window's menus use already: the buttons' access keys avoid them.
    void reserveAccessKeys(const QString& letters) { taken_ += letters; }
    // CAPTION with its access key in this window, the same each time it is asked for.
    QString accessKeyed(const QString& caption);
    // The add-in's group on TAB: before the group named by its insertBeforeMso when
    // that group is there, else at the end.
    RibbonBar* addAddInGroup(const QString& tab, RibbonTab& addInTab,
                             std::function<void(RibbonButton&)> press);

private:
    QHBoxLayout* tabLayout(const QString& tab);
    QWidget* frame(const QString& caption, QToolBar* bar);

    QString taken_;
    std::map<QString, QString> keyed_;
};

}  // namespace vantorel::host
