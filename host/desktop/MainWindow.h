#pragma once

// The mail client's main window: the "Home" tab of the ribbon with the client's own
// commands and the add-in's group, the folders of every store, the items of the
// selected folder, a reading pane, and a Simulate menu to receive mail, add a store
// and move the clock, so a person can try the add-in's whole road on one desktop.

#include "host/MailClient.h"
#include "host/desktop/Guarded.h"
#include "host/desktop/TimeMachine.h"

#include <QIcon>
#include <QMainWindow>

#include <map>

class QMenu;
class QTextBrowser;
class QTimer;
class QTreeWidget;

namespace vantorel::host {

class ComposeWindow;
class RibbonBar;
class RibbonStrip;

// The program's icon (the reminder picture), which every window of the desktop shows
// (the main window makes it the application's icon).
QIcon programIcon();

class MainWindow : public QMainWindow {
public:
    MainWindow(MailClient& client, std::shared_ptr<TimeMachine> time);
    // The desktop's clock: the system's, shifted by the Simulate menu.
    MainWindow(MailClient& client, std::shared_ptr<platform::SystemClock> clock);
    ~MainWindow() override;

    // Shows the add-in's ribbon group; the window calls it itself as soon as the add-in
    // has built its ribbon when the add-in starts after the window was made.
    void addInStarted();

    RibbonStrip* ribbon() const { return ribbon_; }
    // The add-in's group on the Home tab (null until the add-in has started).
    RibbonBar* addInGroup() const { return addIn_; }
    // The menu with the add-in's commands (null until the add-in has started).
    QMenu* addInMenu() const { return addInMenu_; }
    QTreeWidget* folderTree() const { return folders_; }
    QTreeWidget* itemList() const { return items_; }
    QTextBrowser* readingPane() const { return reading_; }

    // Selects the folder with that FolderPath ("\\Mailbox\\Tasks"); false when none.
    bool selectFolder(const QString& folderPath);
    // Selects the shown item with that EntryID; false when the list has none.
    bool selectItem(const QString& entryId);
    outlook::ItemPtr selectedItem() const;
    // Reads the shown folder again (keeping the selection) and the reading pane.
    void refresh();

    // Commands. newMessage returns the compose window it opened.
    ComposeWindow* newMessage();
    void deleteSelected();
    // Simulate: a reply FROM (named NAME, empty: the address) to the selected sent
    // message (false when no sent message is selected), a message no tracked mail is
    // about, a second store, the clock.
    bool deliverReply(const QString& from, const QString& subject = {}, const QString& name = {});
    // The first To recipient of the selected sent message answers it while away: an
    // out-of-office reply. False without a selected sent message that has one.
    bool deliverOutOfOffice();
    void deliverUnrelated();
    void addStore(const QString& name);
    void moveClockBy(qint64 milliseconds);
    void moveClockTo(const QDateTime& moment);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    enum class FolderKind { Incoming, Outgoing, Tasks };

    void buildMenus();
    void buildFolderTree();
    void showFolder();
    void setColumns(const QStringList& labels);
    void showSelectedItem();
    outlook::MailItemPtr selectedSentMessage() const;
    void openWindow(const outlook::ItemPtr& item, const outlook::InspectorPtr& inspector);
    void askReply();
    void askStore();
    void askMoment();
    void updateTitle();
    void press(RibbonButton& button);
    // WORK as an event handler: its failures go to the mail client's error path.
    template <class Work>
    auto safely(Work work) {
        return [this, work] { guarded(client_, work); };
    }
    FolderKind kindOf(const outlook::MAPIFolderPtr& folder) const;
    outlook::MAPIFolderPtr shownFolder() const;

    MailClient& client_;
    std::shared_ptr<TimeMachine> time_;
    RibbonStrip* ribbon_;
    RibbonBar* addIn_ = nullptr;
    QMenu* addInMenu_ = nullptr;
    QTreeWidget* folders_;
    QTreeWidget* items_;
    QTextBrowser* reading_;
    QTimer* tick_;
    std::map<QString, outlook::MAPIFolderPtr> folderByPath_;
    outlook::Connection folderAdd_;
    std::vector<outlook::Connection> connections_;
    QString listSignature_;
    int unrelated_ = 0;
};

}  // namespace vantorel::host
