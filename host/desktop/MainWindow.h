#pragma once

// The mail client's main window: the add-in's group on the main ribbon, the default
// store's folders and their items, new messages, and a Simulate menu to receive mail
// and move the clock, so a person can try the add-in's whole road on one desktop.

#include "host/MailClient.h"
#include "platform/Clock.h"

#include <QMainWindow>

class QListWidget;
class QTreeWidget;

namespace vantorel::host {

class ComposeWindow;

class MainWindow : public QMainWindow {
public:
    MainWindow(MailClient& client, std::shared_ptr<platform::SystemClock> clock);
    ~MainWindow() override;

    // Called once the add-in has started: shows its ribbon group.
    void addInStarted();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void newMessage();
    void openWindow(const outlook::ItemPtr& item, const outlook::InspectorPtr& inspector);
    void deliverMessage();
    void deliverReply();
    void moveClock(qint64 milliseconds);
    void showFolder();
    void press(RibbonButton& button);

    MailClient& client_;
    std::shared_ptr<platform::SystemClock> clock_;
    QListWidget* folders_;
    QTreeWidget* items_;
    std::vector<outlook::Connection> connections_;
    std::vector<int> folderKinds_;
};

}  // namespace vantorel::host
