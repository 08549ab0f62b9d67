#include "host/desktop/MainWindow.h"

#include "host/desktop/ComposeWindow.h"
#include "host/desktop/RibbonBar.h"
#include "host/scenario/Transcript.h"
#include "platform/Prompts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QInputDialog>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

namespace vantorel::host {

namespace {
const std::pair<int, const char*> kFolders[] = {
    {outlook::olFolderInbox, "Inbox"},   {outlook::olFolderSentMail, "Sent Items"},
    {outlook::olFolderDrafts, "Drafts"}, {outlook::olFolderTasks, "Tasks"},
    {outlook::olFolderOutbox, "Outbox"},
};
}  // namespace

MainWindow::MainWindow(MailClient& client, std::shared_ptr<platform::SystemClock> clock)
    : client_(client),
      clock_(std::move(clock)),
      folders_(new QListWidget),
      items_(new QTreeWidget) {
    setWindowTitle(QStringLiteral("Inbox - vantorel-host"));
    resize(960, 600);

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&New message"), QKeySequence::New, this,
                    [this] { newMessage(); });
    file->addSeparator();
    file->addAction(QStringLiteral("&Quit"), QKeySequence::Quit, this, [this] { close(); });
    QMenu* simulate = menuBar()->addMenu(QStringLiteral("&Simulate"));
    simulate->addAction(QStringLiteral("&Receive a message..."), this,
                        [this] { deliverMessage(); });
    simulate->addAction(QStringLiteral("Receive a re&ply to a sent message..."), this,
                        [this] { deliverReply(); });
    simulate->addSeparator();
    simulate->addAction(QStringLiteral("Move the clock 1 &hour ahead"), this,
                        [this] { moveClock(3'600'000); });
    simulate->addAction(QStringLiteral("Move the clock 1 &day ahead"), this,
                        [this] { moveClock(86'400'000); });
    simulate->addAction(QStringLiteral("Back to the &real time"), this,
                        [this] { moveClock(-clock_->offset()); });

    QToolBar* home = addToolBar(QStringLiteral("Home"));
    home->setObjectName(QStringLiteral("TabMailHome"));
    home->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    home->addAction(style()->standardIcon(QStyle::SP_FileIcon), QStringLiteral("New message"), this,
                    [this] { newMessage(); });

    for (const auto& [kind, name] : kFolders) {
        folders_->addItem(QString::fromLatin1(name));
        folderKinds_.push_back(kind);
    }
    items_->setHeaderLabels(
        {QStringLiteral("Subject"), QStringLiteral("From / To"), QStringLiteral("Date")});
    items_->setRootIsDecorated(false);
    auto* split = new QSplitter;
    split->addWidget(folders_);
    split->addWidget(items_);
    split->setStretchFactor(1, 1);
    setCentralWidget(split);
    connect(folders_, &QListWidget::currentRowChanged, this, [this] { showFolder(); });
    connect(items_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* row) {
        const auto item = client_.engine().application()->Session()->GetItemFromID(
            row->data(0, Qt::UserRole).toString());
        item->Display(false);
    });
    folders_->setCurrentRow(0);

    const auto session = client_.engine().application()->Session();
    for (const auto& [kind, name] : kFolders) {
        connections_.push_back(
            session->GetDefaultFolder(kind)->Items()->OnItemAdd([this](const outlook::ItemPtr&) {
                QTimer::singleShot(0, this, [this] { showFolder(); });
            }));
    }
    connections_.push_back(client_.engine().onDisplay(
        [this](const outlook::ItemPtr& item, const outlook::InspectorPtr& inspector) {
            openWindow(item, inspector);
        }));
    connections_.push_back(
        client_.engine().onInspectorClose([this](const outlook::InspectorPtr& inspector) {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* window = dynamic_cast<ComposeWindow*>(w);
                if (window && window->inspector() == inspector && !window->closingFromEngine_) {
                    window->closingFromEngine_ = true;
                    window->close();
                }
            }
            QTimer::singleShot(0, this, [this] { showFolder(); });
        }));
    statusBar()->showMessage(QStringLiteral("Mailbox: %1").arg(client_.engine().path()));
}

MainWindow::~MainWindow() = default;

void MainWindow::addInStarted() {
    for (RibbonTab* tab : client_.ribbonTabs()) {
        if (tab->ribbons == kRibbonExplorer) {
            addToolBar(Qt::TopToolBarArea, new RibbonBar(
                                               *tab, [this](RibbonButton& b) { press(b); }, this));
        }
    }
}

void MainWindow::press(RibbonButton& button) {
    try {
        client_.press(button.Caption());
    } catch (const std::exception& e) {
        platform::showMessage(QString::fromUtf8(e.what()), platform::MessageIcon::Error);
    }
}

void MainWindow::newMessage() {
    const outlook::InspectorPtr inspector = client_.compose({});
    auto* window = new ComposeWindow(client_, inspector);
    window->show();
}

void MainWindow::openWindow(const outlook::ItemPtr& item, const outlook::InspectorPtr& inspector) {
    if (outlook::asMailItem(item) && inspector) {
        (new ComposeWindow(client_, inspector))->show();
        return;
    }
    QString text;
    QTextStream out(&text);
    printItem(out, 1, item);
    QMessageBox::information(this, item->Subject(), text);
}

void MainWindow::deliverMessage() {
    bool ok = false;
    const QString from = QInputDialog::getText(this, QStringLiteral("Receive a message"),
                                               QStringLiteral("From (address):"), QLineEdit::Normal,
                                               QStringLiteral("ann@example.com"), &ok);
    if (!ok || from.isEmpty()) {
        return;
    }
    const QString subject =
        QInputDialog::getText(this, QStringLiteral("Receive a message"), QStringLiteral("Subject:"),
                              QLineEdit::Normal, QStringLiteral("RE: "), &ok);
    if (!ok) {
        return;
    }
    engine::Delivery d;
    d.from = from;
    d.subject = subject;
    client_.engine().deliver(d);
}

// A reply from the first recipient of a message in Sent Items, as it would arrive.
void MainWindow::deliverReply() {
    const outlook::ItemsPtr sent = client_.engine()
                                       .application()
                                       ->Session()
                                       ->GetDefaultFolder(outlook::olFolderSentMail)
                                       ->Items();
    QStringList choices;
    std::vector<std::pair<QString, QString>> replies;  // sender, subject
    for (int i = sent->Count(); i >= 1; --i) {
        const outlook::MailItemPtr mail = outlook::asMailItem(sent->Item(i));
        if (!mail || mail->Recipients()->Count() < 1) {
            continue;
        }
        const QString from = mail->Recipients()->Item(1)->Address();
        choices << QStringLiteral("%1 (from %2)").arg(mail->Subject(), from);
        replies.emplace_back(from, QStringLiteral("RE: ") + mail->Subject());
    }
    if (choices.isEmpty()) {
        QMessageBox::information(this, QStringLiteral("Receive a reply"),
                                 QStringLiteral("Sent Items holds no message to reply to."));
        return;
    }
    bool ok = false;
    const QString chosen =
        QInputDialog::getItem(this, QStringLiteral("Receive a reply"), QStringLiteral("Reply to:"),
                              choices, 0, false, &ok);
    if (!ok) {
        return;
    }
    const auto& [from, subject] = replies[static_cast<std::size_t>(choices.indexOf(chosen))];
    engine::Delivery d;
    d.from = from;
    d.subject = subject;
    client_.engine().deliver(d);
}

void MainWindow::moveClock(qint64 milliseconds) {
    clock_->setOffset(clock_->offset() + milliseconds);
    statusBar()->showMessage(QStringLiteral("Simulated time: %1")
                                 .arg(clock_->now().toString(QStringLiteral("yyyy-MM-dd HH:mm"))));
}

void MainWindow::showFolder() {
    const int row = folders_->currentRow();
    if (row < 0) {
        return;
    }
    items_->clear();
    const auto folder =
        client_.engine().application()->Session()->GetDefaultFolder(folderKinds_[row]);
    setWindowTitle(folder->Name() + QStringLiteral(" - vantorel-host"));
    const outlook::ItemsPtr items = folder->Items();
    for (int i = 1; i <= items->Count(); ++i) {
        const outlook::ItemPtr item = items->Item(i);
        QString who;
        QString when;
        if (const auto mail = outlook::asMailItem(item)) {
            who = mail->Sent() ? mail->To() : mail->SenderName();
            if (mail->ReceivedTime() < outlook::kNoDate) {
                who = mail->SenderName();
                when = formatDate(mail->ReceivedTime());
            } else if (mail->SentOn() < outlook::kNoDate) {
                when = formatDate(mail->SentOn());
            }
        } else if (const auto task = outlook::asTaskItem(item)) {
            who = task->Complete() ? QStringLiteral("completed") : QString();
            when = formatDate(task->StartDate());
        }
        auto* row = new QTreeWidgetItem(items_, {item->Subject(), who, when});
        row->setData(0, Qt::UserRole, item->EntryID());
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The add-in shuts down first and takes its windows along (its reminders window
    // must not take the mail client's exit for the user closing it); then the
    // message windows close.
    client_.quit();
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != this && w->isVisible()) {
            w->close();
        }
    }
    event->accept();
}

}  // namespace vantorel::host
