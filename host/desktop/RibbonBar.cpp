#include "host/desktop/RibbonBar.h"

#include <QAction>
#include <QIcon>

namespace vantorel::host {

namespace {
QIcon ribbonIcon(const QString& image) {
    return image.isEmpty() ? QIcon() : QIcon(QStringLiteral(":/vantorel/images/%1.png").arg(image));
}
}  // namespace

RibbonBar::RibbonBar(RibbonTab& tab, std::function<void(RibbonButton&)> press, QWidget* parent)
    : QToolBar(tab.group.Caption(), parent), tab_(tab), press_(std::move(press)) {
    setObjectName(tab.idMso);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setIconSize(QSize(32, 32));
    for (auto& button : tab_.controls) {
        RibbonButton* b = button.get();
        QAction* action = addAction(b->Caption());
        connect(action, &QAction::triggered, this, [this, b] { press_(*b); });
        actions_.push_back(action);
        b->onChange = [this] { refresh(); };
    }
    tab_.group.onChange = [this] { refresh(); };
    refresh();
}

RibbonBar::~RibbonBar() {
    tab_.group.onChange = nullptr;
    for (auto& button : tab_.controls) {
        button->onChange = nullptr;
    }
}

void RibbonBar::refresh() {
    setWindowTitle(tab_.group.Caption());
    setVisible(tab_.group.Visible());
    for (std::size_t i = 0; i < actions_.size(); ++i) {
        const RibbonButton& b = *tab_.controls[i];
        QAction* action = actions_[i];
        action->setText(b.Caption());
        action->setIcon(ribbonIcon(b.Image()));
        action->setToolTip(b.ScreenTip().isEmpty() ? b.Caption() : b.ScreenTip());
        action->setVisible(b.Visible());
        action->setEnabled(b.Enabled());
    }
}

}  // namespace vantorel::host
