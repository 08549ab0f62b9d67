#pragma once

// TTReminderWindow, the add-in's reminders window: it lists the tracking tasks whose
// reminder has come due and lets the person dismiss, snooze, re-send, or open the
// message or the task of the selected entries. Closing it snoozes every listed
// reminder by one minute, so an unanswered one comes back.
//
// One instance lives as long as the add-in, without an owner window; it is hidden
// whenever its list is empty. The layout is in design pixels (96 dpi); the toolkit
// scales it with the display.

#include "forms/ReminderWindowLogic.h"
#include "outlook/Outlook.h"
#include "platform/Timer.h"

#include <QComboBox>
#include <QHash>
#include <QIcon>
#include <QLabel>
#include <QList>
#include <QPushButton>
#include <QTreeWidget>
#include <QWidget>

#include <memory>
#include <vector>

namespace vantorel {

class TTReminderWindow : public QWidget {
public:
    TTReminderWindow();
    ~TTReminderWindow() override;

    // Lists the task and shows the window. False when the task is listed already or
    // has no "Topic" (nothing changes then). An unreadable "FirstSent" or
    // "ReminderTime" throws to the caller.
    bool ReminderAdd(const outlook::TaskItemPtr& task);
    // Removes the first entry of that task (exact EntryID); true if one was removed.
    bool RemoveFromList(const QString& EntryID);
    // An automatic reply to the message of the task with that EntryID has arrived:
    // its entry, when listed, says so. False when it is not listed.
    bool NoteAutoReply(const QString& EntryID);

    // For the scripted host: the window, its entries and the two labels, one line each.
    QString DescribeForScript() const;

    // The data of the entry at POSITION (from 0).
    const TListItemData& EntryData(int position) const;
    // The data of the selected entries, in list order.
    std::vector<TListItemData> SelectedEntries() const;

    // Handlers.
    void FormCreate();
    void FormShow();
    void FormHide();
    void FormHelp();
    void lstRemindersSelectItem();
    void lstRemindersDblClick() { OpenSelectedTasks(); }
    void cmdReSendClick();
    void cmdViewClick();
    void cmdViewItemClick() { OpenSelectedTasks(); }
    void cmdDissmissClick();
    void cmdSnoozeClick();
    void cmdCancelClick() { close(); }
    void comSnoozeExit();
    void TimerUpdateTimer();
    void HandleEscapeKey(int key);

    // The controls, in their design order.
    QPushButton* cmdSnooze;
    QLabel* lblClickSnooze;
    QWidget* Panel1;
    QLabel* PictureTask;
    QLabel* lblSubject;
    QLabel* lblSentTo;
    QTreeWidget* lstReminders;
    QPushButton* cmdReSend;
    QPushButton* cmdView;
    QPushButton* cmdDissmiss;
    QPushButton* cmdViewItem;
    QIcon ImageList16;
    QComboBox* comSnooze;
    QIcon ImageList24;
    std::unique_ptr<platform::Timer> TimerUpdate;

    // What the cell of the entry at POSITION and COLUMN (0 "Subject", 1 "Sent to",
    // 2 "Due in") shows at its present width, shortened with an ellipsis when needed.
    QString ShownCellText(int position, int column) const;
    // What lblSubject or lblSentTo shows at its present width.
    static QString ShownLabelText(const QLabel* label);

    // The size in device pixels of the small images the list shows (16 or 24).
    int SmallImageSize() const { return m_nSmallImageSize; }

    static constexpr int kClientWidth = 517;
    static constexpr int kClientHeight = 342;
    // The smallest outer size, and the frame (caption and borders) it includes.
    static constexpr int kMinOuterWidth = 462;
    static constexpr int kMinOuterHeight = 325;
    static constexpr int kFrameWidth = 6;
    static constexpr int kFrameHeight = 29;
    static constexpr int kHelpContext = 7;
    static constexpr int kTimerInterval = 2000;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A control placed at its design rectangle on a parent of a design size, keeping
    // its distance to the anchored edges when the parent is resized.
    struct Anchored {
        QWidget* control;
        QRect design;
        Qt::Edges anchors;
        QSize parentDesign;
    };
    void Anchor(QWidget* control, const QRect& design, Qt::Edges anchors, QSize parentDesign);
    void LayOut();
    // Sizes the list's columns to its width and texts (FitReminderColumns): at once,
    // or once the changes of the moment are made.
    void FitColumns();
    void ScheduleFitColumns();

    void UpdateCaption();
    void SelectAfterRemoval(int index);
    bool IsInList(const QString& TaskID) const;
    void OpenSelectedTasks();
    void SnoozeAllOneMinute();
    // Writes "Snooze" := now + SECONDS on the task of ENTRY, ignoring every error.
    void SnoozeTask(const TListItemData& entry, qint64 nSeconds);
    // Runs HANDLE on every selected entry (see WalkSelectedEntries); true if a
    // handler stopped the walk.
    bool WalkSelected(const std::function<TEntryOutcome(const TListItemData&)>& handle);
    // Runs HANDLE (which shows nothing, so the list cannot change meanwhile) on every
    // selected entry in list order, then removes them all at once and selects as
    // WalkSelected does: the time grows with the number of entries, not its square.
    void RemoveSelected(const std::function<void(const TListItemData&)>& handle);
    void RemoveEntryAt(int position);
    void ClearEntries();
    // The task or item of that EntryID, looked up afresh; null when it cannot be found.
    static outlook::TaskItemPtr FindTask(const QString& TaskID);
    static outlook::ItemPtr GetItem(const QString& EntryID);

    // The TaskIDs of the entries, whichever way an entry comes or goes, so that the
    // poll's "is it listed?" costs the same with a thousand entries as with one.
    void IndexEntries(int first, int last, int delta);

    std::vector<Anchored> m_anchored;
    int m_nSmallImageSize = 16;
    bool m_bFitPending = false;
    QHash<QString, int> m_listed;  // TaskID -> number of entries
};

// The add-in's reminders window while the add-in runs; null outside.
extern TTReminderWindow* ReminderWindow;

}  // namespace vantorel
