#include "host/desktop/RibbonBar.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace vantorel::host {

namespace {

// A button's image; a normal-size (small) one in the middle of a canvas twice its
// size, so that every caption of the group sits on the same line.
QIcon ribbonIcon(const QString& image, RibbonSize size) {
    if (image.isEmpty()) {
        return {};
    }
    const QPixmap pixmap(QStringLiteral(":/vantorel/images/%1.png").arg(image));
    if (size == RibbonSize::Large || pixmap.isNull()) {
        return QIcon(pixmap);
    }
    QPixmap canvas(pixmap.size() * 2);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    painter.drawPixmap(pixmap.width() / 2, pixmap.height() / 2, pixmap);
    return QIcon(canvas);
}

// The bars showing each control of the add-in, in the order they opened: one bar in
// the main window, one in every message window. A change of the control refreshes
// them all, whichever window opened or closed first.
std::map<RibbonControl*, std::vector<RibbonBar*>>& barsShowing() {
    static std::map<RibbonControl*, std::vector<RibbonBar*>> bars;
    return bars;
}

void startShowing(RibbonControl& control, RibbonBar* bar) {
    std::vector<RibbonBar*>& bars = barsShowing()[&control];
    if (bars.empty()) {
        control.onChange = [&control] {
            const auto found = barsShowing().find(&control);
            if (found == barsShowing().end()) {
                return;
            }
            // A refresh may open or close a window: refresh the bars of the moment.
            const std::vector<RibbonBar*> now = found->second;
            for (RibbonBar* b : now) {
                const std::vector<RibbonBar*>& still = barsShowing()[&control];
                if (std::find(still.begin(), still.end(), b) != still.end()) {
                    b->refresh();
                }
            }
        };
    }
    bars.push_back(bar);
}

void stopShowing(RibbonControl& control, RibbonBar* bar) {
    const auto found = barsShowing().find(&control);
    if (found == barsShowing().end()) {
        return;
    }
    std::erase(found->second, bar);
    if (found->second.empty()) {
        barsShowing().erase(found);
        control.onChange = nullptr;
    }
}

bool isWordStart(const QString& text, qsizetype i) {
    return i == 0 || !text[i - 1].isLetterOrNumber();
}

}  // namespace

QString withAccessKey(const QString& caption, QString& taken) {
    QString escaped = caption;
    escaped.replace(QLatin1Char('&'), QLatin1String("&&"));
    const auto free = [&taken](QChar c) {
        return c.isLetterOrNumber() && !taken.contains(c, Qt::CaseInsensitive);
    };
    for (const bool wordStartsOnly : {true, false}) {
        for (qsizetype i = 0; i < escaped.size(); ++i) {
            if (escaped[i] != QLatin1Char('&') && free(escaped[i]) &&
                (!wordStartsOnly || isWordStart(escaped, i))) {
                taken += escaped[i].toLower();
                return escaped.left(i) + QLatin1Char('&') + escaped.mid(i);
            }
        }
    }
    return escaped;
}

RibbonBar::RibbonBar(RibbonTab& tab, std::function<void(RibbonButton&)> press,
                     std::function<QString(const QString&)> label, QWidget* parent)
    : QToolBar(tab.group.Caption(), parent),
      tab_(tab),
      press_(std::move(press)),
      label_(std::move(label)) {
    setObjectName(tab.idMso);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setIconSize(QSize(32, 32));
    for (auto& button : tab_.controls) {
        RibbonButton* b = button.get();
        QAction* action = addAction(b->Caption());
        connect(action, &QAction::triggered, this, [this, b] {
            if (!detached_) {
                press_(*b);
            }
        });
        actions_.push_back(action);
        startShowing(*b, this);
    }
    startShowing(tab_.group, this);
    refresh();
}

RibbonBar::~RibbonBar() {
    detach();
}

void RibbonBar::detach() {
    if (detached_) {
        return;
    }
    detached_ = true;
    stopShowing(tab_.group, this);
    for (auto& button : tab_.controls) {
        stopShowing(*button, this);
    }
    for (QAction* action : actions_) {
        action->setEnabled(false);
    }
}

void RibbonBar::refresh() {
    if (detached_) {
        return;
    }
    setWindowTitle(tab_.group.Caption());
    // Inside a ribbon strip the group's frame (with its caption) comes and goes.
    QWidget* shown = qobject_cast<QFrame*>(parentWidget()) ? parentWidget() : this;
    if (parentWidget()) {  // a tool bar without a parent would show as a window of its own
        shown->setVisible(tab_.group.Visible());
    }
    if (auto* caption = shown->findChild<QLabel*>(QStringLiteral("groupCaption"))) {
        caption->setText(tab_.group.Caption());
    }
    for (std::size_t i = 0; i < actions_.size(); ++i) {
        const RibbonButton& b = *tab_.controls[i];
        QAction* action = actions_[i];
        const QString text = label_ ? label_(b.Caption()) : b.Caption();
        action->setText(text);
        action->setIconText(text);  // as written: the button keeps its "..." and its key
        action->setIcon(ribbonIcon(b.Image(), b.size));
        action->setToolTip(b.ScreenTip().isEmpty() ? b.Caption() : b.ScreenTip());
        action->setVisible(b.Visible());
        action->setEnabled(b.Enabled());
    }
}

QAction* RibbonBar::action(const QString& caption) const {
    for (std::size_t i = 0; i < actions_.size(); ++i) {
        if (tab_.controls[i]->Caption() == caption) {
            return actions_[i];
        }
    }
    return nullptr;
}

RibbonStrip::RibbonStrip(QWidget* parent) : QTabWidget(parent) {
    setDocumentMode(true);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QHBoxLayout* RibbonStrip::tabLayout(const QString& tab) {
    for (int i = 0; i < count(); ++i) {
        if (tabText(i) == tab) {
            return static_cast<QHBoxLayout*>(widget(i)->layout());
        }
    }
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addStretch();
    addTab(page, tab);
    return layout;
}

QWidget* RibbonStrip::frame(const QString& caption, QToolBar* bar) {
    auto* group = new QFrame;
    group->setObjectName(bar->objectName() + QStringLiteral("Group"));
    group->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(group);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(0);
    bar->setParent(group);
    layout->addWidget(bar);
    auto* label = new QLabel(caption);
    label->setObjectName(QStringLiteral("groupCaption"));
    label->setAlignment(Qt::AlignCenter);
    label->setEnabled(false);  // the muted look of a group caption
    layout->addWidget(label);
    return group;
}

QToolBar* RibbonStrip::addGroup(const QString& tab, const QString& id, const QString& caption) {
    QHBoxLayout* layout = tabLayout(tab);
    auto* bar = new QToolBar(caption);
    bar->setObjectName(id);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setIconSize(QSize(32, 32));
    layout->insertWidget(layout->count() - 1, frame(caption, bar));  // before the stretch
    return bar;
}

QString RibbonStrip::accessKeyed(const QString& caption) {
    const auto known = keyed_.find(caption);
    if (known != keyed_.end()) {
        return known->second;
    }
    return keyed_[caption] = withAccessKey(caption, taken_);
}

QAction* RibbonStrip::addButton(QToolBar* group, const QIcon& icon, const QString& caption) {
    const QString text = accessKeyed(caption);
    QAction* action = group->addAction(icon, text);
    action->setIconText(text);
    return action;
}

RibbonBar* RibbonStrip::addAddInGroup(const QString& tab, RibbonTab& addInTab,
                                      std::function<void(RibbonButton&)> press) {
    QHBoxLayout* layout = tabLayout(tab);
    int at = layout->count() - 1;
    for (int i = 0; i < layout->count(); ++i) {
        QWidget* w = layout->itemAt(i)->widget();
        if (w && !addInTab.insertBeforeMso.isEmpty() &&
            w->objectName() == addInTab.insertBeforeMso + QStringLiteral("Group")) {
            at = i;
        }
    }
    auto* bar = new RibbonBar(addInTab, std::move(press),
                              [this](const QString& caption) { return accessKeyed(caption); });
    layout->insertWidget(at, frame(addInTab.group.Caption(), bar));
    bar->refresh();
    return bar;
}

}  // namespace vantorel::host
