#pragma once

// One of the add-in's ribbon groups shown as a row of tool buttons, kept up to date
// with the group's captions, images, tips, visibility and enabled state.

#include "addin/Ribbon.h"

#include <QToolBar>

#include <functional>

namespace vantorel::host {

class RibbonBar : public QToolBar {
public:
    // PRESS is called with the pressed button.
    RibbonBar(RibbonTab& tab, std::function<void(RibbonButton&)> press, QWidget* parent = nullptr);
    ~RibbonBar() override;
    void refresh();

private:
    RibbonTab& tab_;
    std::function<void(RibbonButton&)> press_;
    std::vector<QAction*> actions_;
};

}  // namespace vantorel::host
