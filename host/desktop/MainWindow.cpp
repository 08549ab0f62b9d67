#include "host/desktop/MainWindow.h"

#include "host/desktop/ComposeWindow.h"
#include "host/desktop/Guarded.h"
#include "host/desktop/ItemView.h"
#include "host/desktop/ReplyDialog.h"
#include "host/desktop/RibbonBar.h"
#include "platform/Prompts.h"
#include "resources/Images.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace vantorel::host {

namespace {

constexpr int kEntryIdRole = Qt::UserRole;
constexpr int kSortRole = Qt::UserRole + 1;

// A row of the item list; date columns sort by the moment, not by the text.
class ItemRow : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        const QVariant a = data(column, kSortRole);
        const QVariant b = other.data(column, kSortRole);
        if (a.isValid() && b.isValid()) {
            return a.toDouble() < b.toDouble();
        }
        return text(column).localeAwareCompare(other.text(column)) < 0;
    }
};

void setDate(QTreeWidgetItem* row, int column, outlook::DateTime value) {
    row->setText(column, shortDate(value));
    row->setData(column, kSortRole, value);
}

// An item other than a message in its own window, read-only.
class ItemWindow : public QWidget {
public:
    ItemWindow(MailClient& client, outlook::InspectorPtr inspector)
        : client_(client), inspector_(std::move(inspector)) {
        setAttribute(Qt::WA_DeleteOnClose);
        resize(560, 480);
        auto* layout = new QVBoxLayout(this);
        auto* view = new QTextBrowser;
        view->setHtml(itemHtml(inspector_->CurrentItem()));
        layout->addWidget(view);
        setWindowTitle(inspector_->CurrentItem()->Subject() + QStringLiteral(" - Item"));
    }
    const outlook::InspectorPtr& inspector() const { return inspector_; }
    bool closingFromEngine = false;

protected:
    void closeEvent(QCloseEvent* event) override {
        if (!closingFromEngine) {
            closingFromEngine = true;
            guarded(client_, [this] { client_.engine().close(inspector_); });
        }
        event->accept();
    }

private:
    MailClient& client_;
    outlook::InspectorPtr inspector_;
};

void collectFolders(const outlook::MAPIFolderPtr& folder, QTreeWidgetItem* parent,
                    std::map<QString, outlook::MAPIFolderPtr>& byPath) {
    auto* node = new QTreeWidgetItem(parent, {folder->Name()});
    const QString path = folder->FolderPath();
    node->setData(0, kEntryIdRole, path);
    byPath[path] = folder;
    const outlook::FoldersPtr children = folder->Folders();
    for (int i = 1; i <= children->Count(); ++i) {
        collectFolders(children->Item(i), node, byPath);
    }
}

// What a simulated reply needs first.
void askToSelectASentMessage() {
    platform::showMessage(QStringLiteral("Select a sent message in Sent Items first."),
                          platform::MessageIcon::Information);
}

}  // namespace

QIcon programIcon() {
    // Made anew for each caller (the files are read when a size is drawn): a static
    // icon would be destroyed after the QApplication.
    QIcon sizes;
    for (const char* scale : {"100", "200", "400"}) {
        sizes.addFile(ImageResourcePath(QStringLiteral("ICO_REMINDER_") + QLatin1String(scale)));
    }
    return sizes;
}

MainWindow::MainWindow(MailClient& client, std::shared_ptr<TimeMachine> time)
    : client_(client),
      time_(std::move(time)),
      ribbon_(new RibbonStrip),
      folders_(new QTreeWidget),
      items_(new QTreeWidget),
      reading_(new QTextBrowser),
      tick_(new QTimer(this)) {
    resize(1180, 680);
    buildMenus();

    ribbon_->reserveAccessKeys(QStringLiteral("fs"));  // File, Simulate
    QToolBar* newGroup = ribbon_->addGroup(QStringLiteral("Home"), QStringLiteral("GroupNew"),
                                           QStringLiteral("New"));
    connect(ribbon_->addButton(newGroup, style()->standardIcon(QStyle::SP_FileIcon),
                               QStringLiteral("New Email")),
            &QAction::triggered, this, safely([this] { newMessage(); }));
    QToolBar* deleteGroup = ribbon_->addGroup(QStringLiteral("Home"), QStringLiteral("GroupDelete"),
                                              QStringLiteral("Delete"));
    connect(ribbon_->addButton(deleteGroup, style()->standardIcon(QStyle::SP_TrashIcon),
                               QStringLiteral("Delete")),
            &QAction::triggered, this, safely([this] { deleteSelected(); }));

    folders_->setHeaderHidden(true);
    items_->setRootIsDecorated(false);
    items_->setSortingEnabled(true);
    items_->setAlternatingRowColors(true);
    items_->setUniformRowHeights(true);
    reading_->setOpenLinks(false);
    auto* split = new QSplitter;
    split->addWidget(folders_);
    split->addWidget(items_);
    split->addWidget(reading_);
    split->setStretchFactor(1, 3);
    split->setStretchFactor(2, 2);
    split->setSizes({200, 560, 420});
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ribbon_);
    layout->addWidget(split, 1);
    setCentralWidget(central);

    connect(folders_, &QTreeWidget::currentItemChanged, this, safely([this] { showFolder(); }));
    connect(items_, &QTreeWidget::currentItemChanged, this, safely([this] { showSelectedItem(); }));
    connect(items_, &QTreeWidget::itemActivated, this, [this] {
        guarded(client_, [this] {
            if (const outlook::ItemPtr item = selectedItem()) {
                try {
                    item->Display(false);
                } catch (const outlook::OutlookError& e) {
                    platform::showMessage(e.text(), platform::MessageIcon::Error);
                }
            }
        });
    });

    connections_.push_back(client_.engine().onDisplay(
        [this](const outlook::ItemPtr& item, const outlook::InspectorPtr& inspector) {
            openWindow(item, inspector);
        }));
    connections_.push_back(
        client_.engine().onInspectorClose([this](const outlook::InspectorPtr& inspector) {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* compose = dynamic_cast<ComposeWindow*>(w);
                    compose && compose->inspector() == inspector && !compose->closingFromEngine_) {
                    compose->closingFromEngine_ = true;
                    compose->close();
                } else if (auto* window = dynamic_cast<ItemWindow*>(w);
                           window && window->inspector() == inspector &&
                           !window->closingFromEngine) {
                    window->closingFromEngine = true;
                    window->close();
                }
            }
            QTimer::singleShot(0, this, safely([this] { refresh(); }));
        }));

    buildFolderTree();
    // The add-in changes tasks without an arrival (a reply completes one, a poll
    // snoozes one): the list looks again every second and redraws when it changed.
    tick_->setInterval(1000);
    connect(tick_, &QTimer::timeout, this, [this] {
        guarded(client_, [this] {
            updateTitle();
            refresh();
        });
    });
    tick_->start();
    client_.onRibbonCreated = [this](const QString& ribbonId) {
        if (ribbonId == kRibbonExplorer) {
            addInStarted();
        }
    };
    client_.mainWindowHandle = [this] { return static_cast<platform::NativeWindow>(winId()); };
    client_.inspectorWindowHandle = [](const outlook::InspectorPtr& inspector) {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            const auto* compose = dynamic_cast<ComposeWindow*>(w);
            if (compose != nullptr && compose->inspector() == inspector && w->isVisible()) {
                return static_cast<platform::NativeWindow>(w->winId());
            }
        }
        return platform::NativeWindow{0};
    };
    // A permanent widget: a menu's status tips do not wipe it out.
    auto* mailbox = new QLabel(
        QStringLiteral("Mailbox: %1").arg(QDir::toNativeSeparators(client_.engine().path())));
    mailbox->setObjectName(QStringLiteral("mailboxPath"));
    statusBar()->addPermanentWidget(mailbox, 1);
    // Every window of the program without an icon of its own shows the program's.
    QApplication::setWindowIcon(programIcon());
    updateTitle();
}

MainWindow::MainWindow(MailClient& client, std::shared_ptr<platform::SystemClock> clock)
    : MainWindow(client, std::make_shared<SystemTimeMachine>(std::move(clock))) {}

MainWindow::~MainWindow() {
    client_.onRibbonCreated = nullptr;
    client_.mainWindowHandle = nullptr;
    client_.inspectorWindowHandle = nullptr;
}

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&New Email"), QKeySequence::New, this,
                    safely([this] { newMessage(); }));
    file->addSeparator();
    file->addAction(QStringLiteral("&Quit"), QKeySequence::Quit, this, safely([this] { close(); }));
    QMenu* simulate = menuBar()->addMenu(QStringLiteral("&Simulate"));
    simulate->addAction(QStringLiteral("Receive a re&ply to the selected sent message..."), this,
                        safely([this] { askReply(); }));
    simulate->addAction(
        QStringLiteral("Receive an &out-of-office reply to the selected sent message"), this,
        safely([this] {
            if (!deliverOutOfOffice()) {
                askToSelectASentMessage();
            }
        }));
    simulate->addAction(QStringLiteral("Receive an &unrelated message"), this,
                        safely([this] { deliverUnrelated(); }));
    simulate->addSeparator();
    simulate->addAction(QStringLiteral("Add a &store..."), this, safely([this] { askStore(); }));
    simulate->addSeparator();
    simulate->addAction(QStringLiteral("Clock +10 &minutes"), this,
                        safely([this] { moveClockBy(10 * 60'000); }));
    simulate->addAction(QStringLiteral("Clock +1 &hour"), this,
                        safely([this] { moveClockBy(3'600'000); }));
    simulate->addAction(QStringLiteral("Clock +1 &day"), this,
                        safely([this] { moveClockBy(86'400'000); }));
    simulate->addAction(QStringLiteral("Set the &clock to..."), this,
                        safely([this] { askMoment(); }));
    simulate->addAction(QStringLiteral("Back to the &real time"), this, safely([this] {
                            time_->reset();
                            updateTitle();
                            refresh();
                        }));
}

void MainWindow::addInStarted() {
    if (addIn_) {
        refresh();
        return;  // shown when the add-in built its ribbon
    }
    for (RibbonTab* tab : client_.ribbonTabs()) {
        if (tab->ribbons == kRibbonExplorer) {
            // The add-in's commands in a menu too, in the ribbon's order, for the keyboard.
            const QString title = ribbon_->accessKeyed(tab->group.Caption());
            addIn_ = ribbon_->addAddInGroup(QStringLiteral("Home"), *tab,
                                            [this](RibbonButton& b) { press(b); });
            addInMenu_ = new QMenu(title, this);
            addInMenu_->setObjectName(QStringLiteral("addInMenu"));
            addInMenu_->addActions({addIn_->actions().begin(), addIn_->actions().end()});
            menuBar()->insertMenu(menuBar()->actions().value(1), addInMenu_);
        }
    }
    refresh();
}

void MainWindow::press(RibbonButton& button) {
    try {
        client_.press(button.Caption());
    } catch (const std::exception& e) {
        platform::showMessage(QString::fromUtf8(e.what()), platform::MessageIcon::Error);
    }
    refresh();
}

void MainWindow::buildFolderTree() {
    const QString current = folders_->currentItem()
                                ? folders_->currentItem()->data(0, kEntryIdRole).toString()
                                : QString();
    folders_->clear();
    folderByPath_.clear();
    const outlook::FoldersPtr stores = client_.engine().application()->Session()->Folders();
    for (int i = 1; i <= stores->Count(); ++i) {
        collectFolders(stores->Item(i), folders_->invisibleRootItem(), folderByPath_);
    }
    folders_->expandAll();
    if (current.isEmpty() || !selectFolder(current)) {
        selectFolder(client_.engine().inbox()->FolderPath());
    }
}

bool MainWindow::selectFolder(const QString& folderPath) {
    QTreeWidgetItemIterator it(folders_);
    for (; *it; ++it) {
        if ((*it)->data(0, kEntryIdRole).toString() == folderPath) {
            folders_->setCurrentItem(*it);
            return true;
        }
    }
    return false;
}

outlook::MAPIFolderPtr MainWindow::shownFolder() const {
    if (!folders_->currentItem()) {
        return nullptr;
    }
    const auto found =
        folderByPath_.find(folders_->currentItem()->data(0, kEntryIdRole).toString());
    return found == folderByPath_.end() ? nullptr : found->second;
}

MainWindow::FolderKind MainWindow::kindOf(const outlook::MAPIFolderPtr& folder) const {
    const QString name = folder->Name();
    if (name == QLatin1String("Tasks")) {
        return FolderKind::Tasks;
    }
    if (name == QLatin1String("Sent Items") || name == QLatin1String("Drafts") ||
        name == QLatin1String("Outbox")) {
        return FolderKind::Outgoing;
    }
    return FolderKind::Incoming;
}

void MainWindow::showFolder() {
    const outlook::MAPIFolderPtr folder = shownFolder();
    folderAdd_ = {};
    listSignature_.clear();
    items_->clear();
    if (!folder) {
        return;
    }
    int dateColumn = 2;
    switch (kindOf(folder)) {
        case FolderKind::Tasks:
            setColumns({QStringLiteral("Subject"), QStringLiteral("Start"), QStringLiteral("Due"),
                        QStringLiteral("Complete"), QStringLiteral("Categories")});
            dateColumn = 1;
            break;
        case FolderKind::Outgoing:
            setColumns({QStringLiteral("To"), QStringLiteral("Subject"), QStringLiteral("Sent")});
            break;
        case FolderKind::Incoming:
            setColumns(
                {QStringLiteral("From"), QStringLiteral("Subject"), QStringLiteral("Received")});
            break;
    }
    items_->sortByColumn(dateColumn, Qt::DescendingOrder);  // newest first
    folderAdd_ = folder->Items()->OnItemAdd([this](const outlook::ItemPtr&) {
        QTimer::singleShot(0, this, [this] { guarded(client_, [this] { refresh(); }); });
    });
    refresh();
    updateTitle();
}

void MainWindow::setColumns(const QStringList& labels) {
    // setHeaderLabels only ever adds columns: a folder with fewer drops the rest.
    items_->setColumnCount(static_cast<int>(labels.size()));
    items_->setHeaderLabels(labels);
}

void MainWindow::refresh() {
    const outlook::MAPIFolderPtr folder = shownFolder();
    if (!folder) {
        return;
    }
    const FolderKind kind = kindOf(folder);
    std::vector<QStringList> rows;
    std::vector<std::vector<double>> dates;
    QStringList ids;
    const outlook::ItemsPtr items = folder->Items();
    for (int i = 1; i <= items->Count(); ++i) {
        const outlook::ItemPtr item = items->Item(i);
        QStringList texts;
        std::vector<double> moments;
        if (const auto task = outlook::asTaskItem(item)) {
            texts = {task->Subject(), QString(), QString(),
                     task->Complete() ? QStringLiteral("Yes") : QString(), task->Categories()};
            moments = {task->StartDate(), task->DueDate()};
        } else if (const auto mail = outlook::asMailItem(item)) {
            const bool incoming = kind == FolderKind::Incoming;
            texts = {incoming ? mail->SenderName() : mail->To(), mail->Subject(), QString()};
            moments = {incoming ? mail->ReceivedTime() : mail->SentOn()};
        } else if (const auto meeting = outlook::asMeetingItem(item)) {
            texts = {meeting->SenderName(), meeting->Subject(), QString()};
            moments = {meeting->ReceivedTime()};
        } else {
            texts = {item->Subject()};
        }
        rows.push_back(texts);
        dates.push_back(moments);
        ids << item->EntryID();
    }
    // Redraw only what changed, so a selection and a scrolled pane stay where they are.
    QString signature = ids.join(QLatin1Char(','));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        signature += rows[r].join(QLatin1Char('\x1f'));
        for (double d : dates[r]) {
            signature += QString::number(d, 'f', 8);
        }
    }
    if (signature != listSignature_) {
        listSignature_ = signature;
        const outlook::ItemPtr selected = selectedItem();
        const QString selectedId = selected ? selected->EntryID() : QString();
        QSignalBlocker block(items_);
        items_->setSortingEnabled(false);
        items_->clear();
        for (std::size_t r = 0; r < rows.size(); ++r) {
            auto* row = new ItemRow(items_, rows[r]);
            row->setData(0, kEntryIdRole, ids[static_cast<int>(r)]);
            if (kind == FolderKind::Tasks && dates[r].size() == 2) {
                setDate(row, 1, dates[r][0]);
                setDate(row, 2, dates[r][1]);
            } else if (dates[r].size() == 1) {
                setDate(row, 2, dates[r][0]);
            }
        }
        items_->setSortingEnabled(true);
        // Columns fit their content; a long subject does not push the rest out of view.
        for (int c = 0; c < items_->columnCount(); ++c) {
            items_->resizeColumnToContents(c);
            items_->setColumnWidth(c, std::min(items_->columnWidth(c), 320));
        }
        if (!selectedId.isEmpty()) {
            selectItem(selectedId);
        }
    }
    showSelectedItem();
}

bool MainWindow::selectItem(const QString& entryId) {
    for (int i = 0; i < items_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = items_->topLevelItem(i);
        if (row->data(0, kEntryIdRole).toString() == entryId) {
            items_->setCurrentItem(row);
            showSelectedItem();
            return true;
        }
    }
    return false;
}

outlook::ItemPtr MainWindow::selectedItem() const {
    const QTreeWidgetItem* row = items_->currentItem();
    if (!row) {
        return nullptr;
    }
    try {
        return client_.engine().application()->Session()->GetItemFromID(
            row->data(0, kEntryIdRole).toString());
    } catch (const outlook::OutlookError&) {
        return nullptr;  // gone since the list was drawn
    }
}

// The selected item when it is a message the user sent: a sent message in an outgoing
// folder (a received message counts as sent too, by its sender); null otherwise.
outlook::MailItemPtr MainWindow::selectedSentMessage() const {
    const outlook::MAPIFolderPtr folder = shownFolder();
    const outlook::MailItemPtr mail = outlook::asMailItem(selectedItem());
    return folder && kindOf(folder) == FolderKind::Outgoing && mail && mail->Sent() ? mail
                                                                                    : nullptr;
}

void MainWindow::showSelectedItem() {
    const QString html = itemHtml(selectedItem());
    if (html != reading_->property("shownHtml").toString()) {
        reading_->setProperty("shownHtml", html);
        reading_->setHtml(html);
    }
}

ComposeWindow* MainWindow::newMessage() {
    const outlook::InspectorPtr inspector = client_.compose({});
    auto* window = new ComposeWindow(client_, inspector);
    window->show();
    return window;
}

void MainWindow::deleteSelected() {
    if (const outlook::ItemPtr item = selectedItem()) {
        try {
            item->Delete();
        } catch (const outlook::OutlookError& e) {
            platform::showMessage(e.text(), platform::MessageIcon::Error);
        }
        refresh();
    }
}

void MainWindow::openWindow(const outlook::ItemPtr& item, const outlook::InspectorPtr& inspector) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        const auto* compose = dynamic_cast<ComposeWindow*>(w);
        const auto* window = dynamic_cast<ItemWindow*>(w);
        if ((compose && compose->inspector() == inspector) ||
            (window && window->inspector() == inspector)) {
            w->show();
            w->raise();
            w->activateWindow();
            return;
        }
    }
    if (outlook::asMailItem(item)) {
        (new ComposeWindow(client_, inspector))->show();
    } else {
        (new ItemWindow(client_, inspector))->show();
    }
}

bool MainWindow::deliverReply(const QString& from, const QString& subject, const QString& name) {
    const outlook::MailItemPtr mail = selectedSentMessage();
    if (!mail) {
        return false;
    }
    engine::Delivery d;
    d.from = from;
    d.name = name;
    d.subject = subject.isEmpty() ? QStringLiteral("RE: ") + mail->Subject() : subject;
    d.body = QStringLiteral("Thanks, noted.");
    client_.engine().deliver(d);
    refresh();
    return true;
}

bool MainWindow::deliverOutOfOffice() {
    const outlook::MailItemPtr mail = selectedSentMessage();
    const QStringList candidates = mail ? replyCandidates(mail) : QStringList();
    if (candidates.isEmpty()) {
        return false;
    }
    engine::Delivery d;
    d.from = candidates.first();
    d.subject = QStringLiteral("Automatic reply: ") + mail->Subject();
    d.topic = mail->ConversationTopic();
    d.messageClass = QStringLiteral("IPM.Note.Rules.OofTemplate.Microsoft");
    d.headers = {QStringLiteral("Auto-Submitted: auto-replied")};
    d.body = QStringLiteral("I am out of the office and will answer when I am back.");
    client_.engine().deliver(d);
    refresh();
    return true;
}

void MainWindow::askReply() {
    const outlook::MailItemPtr mail = selectedSentMessage();
    if (!mail) {
        askToSelectASentMessage();
        return;
    }
    ReplyDialog dialog(mail, this);
    if (dialog.exec() == QDialog::Accepted && !dialog.from().isEmpty()) {
        deliverReply(dialog.from(), dialog.subject(), dialog.name());
    }
}

void MainWindow::deliverUnrelated() {
    engine::Delivery d;
    d.from = QStringLiteral("news@example.org");
    d.name = QStringLiteral("Example News");
    d.subject = QStringLiteral("Weekly digest %1").arg(++unrelated_);
    d.body = QStringLiteral("Nothing anyone waits for.");
    client_.engine().deliver(d);
    refresh();
}

void MainWindow::addStore(const QString& name) {
    if (name.trimmed().isEmpty()) {
        return;
    }
    client_.engine().addStore(name.trimmed());
    buildFolderTree();
}

void MainWindow::askStore() {
    bool ok = false;
    const QString name =
        QInputDialog::getText(this, QStringLiteral("Add a store"), QStringLiteral("Store name:"),
                              QLineEdit::Normal, QStringLiteral("Archive"), &ok);
    if (ok) {
        addStore(name);
    }
}

void MainWindow::moveClockBy(qint64 milliseconds) {
    time_->moveBy(milliseconds);
    updateTitle();
    refresh();
}

void MainWindow::moveClockTo(const QDateTime& moment) {
    moveClockBy(time_->now().msecsTo(moment));
}

void MainWindow::askMoment() {
    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("Set the clock"));
    auto* edit = new QDateTimeEdit(time_->now());
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(edit);
    layout->addWidget(buttons);
    if (dialog.exec() == QDialog::Accepted) {
        moveClockTo(edit->dateTime());
    }
}

void MainWindow::updateTitle() {
    const outlook::MAPIFolderPtr folder = shownFolder();
    QString title =
        (folder ? folder->Name() : QStringLiteral("Mail")) + QStringLiteral(" - vantorel-host");
    if (time_->shifted()) {
        title += QStringLiteral(" - simulated time %1")
                     .arg(time_->now().toString(QStringLiteral("yyyy-MM-dd HH:mm")));
    }
    setWindowTitle(title);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Each message with unsaved changes is saved or let go first; a Cancel there
    // keeps the mail client running, with everything as it was.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* compose = dynamic_cast<ComposeWindow*>(w);
            compose && compose->isVisible() && !compose->settleChanges()) {
            compose->activateWindow();
            event->ignore();
            return;
        }
    }
    // The add-in shuts down first and takes its windows along (its reminders window
    // must not take the mail client's exit for the user closing it); then the
    // message windows close.
    tick_->stop();
    folderAdd_ = {};
    for (QWidget* w : QApplication::topLevelWidgets()) {
        // RibbonBar has no meta-object of its own: find the tool bars, then ask.
        for (QToolBar* bar : w->findChildren<QToolBar*>()) {
            if (auto* addInBar = dynamic_cast<RibbonBar*>(bar)) {
                addInBar->detach();  // the add-in's buttons go with it
            }
        }
    }
    client_.quit();
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != this && w->isVisible()) {
            w->close();
        }
    }
    event->accept();
}

}  // namespace vantorel::host
