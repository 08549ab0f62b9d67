#pragma once

// The ribbon as the desktop shows it: tabs of groups, each group a row of tool buttons
// with its caption below. RibbonBar is one of the add-in's groups, kept up to date with
// the group's captions, images, tips, visibility and enabled state; RibbonStrip holds
// the mail client's own groups and the add-in's in the order the add-in asks for.

#include "addin/Ribbon.h"

#include <QTabWidget>
#include <QToolBar>

#include <functional>

class QHBoxLayout;

namespace vantorel::host {

class RibbonBar : public QToolBar {
public:
    // PRESS is called with the pressed button.
    RibbonBar(RibbonTab& tab, std::function<void(RibbonButton&)> press, QWidget* parent = nullptr);
    ~RibbonBar() override;
    void refresh();
    // The add-in is about to go: the bar lets go of its buttons and shows them no more.
    void detach();
    // The action showing the add-in's button with CAPTION; null when there is none.
    QAction* action(const QString& caption) const;

private:
    RibbonTab& tab_;
    std::function<void(RibbonButton&)> press_;
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
    // The add-in's group on TAB: before the group named by its insertBeforeMso when
    // that group is there, else at the end.
    RibbonBar* addAddInGroup(const QString& tab, RibbonTab& addInTab,
                             std::function<void(RibbonButton&)> press);

private:
    QHBoxLayout* tabLayout(const QString& tab);
    QWidget* frame(const QString& caption, QToolBar* bar);
};

}  // namespace vantorel::host
