#include "forms/ReminderWindowUnit.h"

#include "forms/ElidedText.h"
#include "forms/ReminderOptionsControls.h"
#include "platform/Help.h"
#include "platform/Prompts.h"
#include "reminders/AutomaticReplies.h"
#include "reminders/FollowUp.h"
#include "reminders/TrackingProperties.h"
#include "resources/Images.h"
#include "settings/AddInRegistry.h"
#include "tools/DisplayScale.h"
#include "tools/Globals.h"

#include <QCloseEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QHideEvent>
#include <QItemSelection>
#include <QKeyEvent>
#include <QLineEdit>
#include <QResizeEvent>
#include <QScreen>
#include <QShowEvent>

#include <algorithm>

namespace vantorel {

TTReminderWindow* ReminderWindow = nullptr;

namespace {

constexpr int kEscapeKey = 27;
const QSize kWindowDesign(TTReminderWindow::kClientWidth, TTReminderWindow::kClientHeight);
const QSize kPanelDesign(520, 288);
const QColor kGreyText(0x6D, 0x6D, 0x6D);
constexpr Qt::Edges kLeftTop = Qt::LeftEdge | Qt::TopEdge;
constexpr Qt::Edges kAllEdges = Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge;

enum Column { ColSubject = 0, ColSentTo = 1, ColDueIn = 2 };

// One list entry; it owns the EntryIDs of its task and message.
class TReminderEntry : public QTreeWidgetItem {
public:
    explicit TReminderEntry(TListItemData data) : data(std::move(data)) {}
    TListItemData data;
};

// The list, able to tell how it hands a cell to its delegate.
class TReminderList : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;
    QStyleOptionViewItem CellOption(const QModelIndex& index) const {
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        option.rect = visualRect(index);
        return option;
    }
    // The width the column's texts (of the entries in view) take whole.
    int TextWidth(int column) const { return sizeHintForColumn(column); }
};

// The face of the window's labels and list, with faces of about its width where it
// is missing.
QFont LabelFont(int nPixels) {
    QFont font;
    font.setFamilies({QStringLiteral("Segoe UI"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(nPixels);
    return font;
}

void setGreyText(QWidget* control) {
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, kGreyText);
    palette.setColor(QPalette::Text, kGreyText);
    control->setPalette(palette);
}

template <typename T>
T* createControl(QWidget* parent, const char* name) {
    auto* control = new T(parent);
    control->setObjectName(QLatin1String(name));
    return control;
}

QPushButton* createButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = createControl<QPushButton>(parent, name);
    button->setText(caption);
    // Enter presses the button that has the focus, as Space does.
    button->setAutoDefault(true);
    return button;
}

QLabel* createLabel(QWidget* parent, const char* name, int nPixels) {
    auto* label = createControl<QLabel>(parent, name);
    label->setFont(LabelFont(nPixels));
    label->setTextFormat(Qt::PlainText);
    setGreyText(label);
    return label;
}

// A label of one line that shortens a text too long for it with an ellipsis.
QLabel* createElidedLabel(QWidget* parent, const char* name, int nPixels, Qt::TextElideMode mode) {
    auto* label = new TElidedLabel(mode, parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(LabelFont(nPixels));
    setGreyText(label);
    return label;
}

QString errorText(const std::exception& e) {
    if (const auto* error = dynamic_cast<const outlook::OutlookError*>(&e)) {
        return error->text();
    }
    return QString::fromUtf8(e.what());
}

outlook::NameSpacePtr MapiNamespace() {
    if (!OutlookApp) {
        throw outlook::OutlookError(QStringLiteral("The mail client is not available."));
    }
    return OutlookApp->GetNamespace(QStringLiteral("MAPI"));
}

}  // namespace

TTReminderWindow::TTReminderWindow() : QWidget(nullptr, Qt::Window) {
    setObjectName(QStringLiteral("ReminderWindow"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(DesignFont());
    resize(kWindowDesign);
    setMinimumSize(kMinOuterWidth - kFrameWidth, kMinOuterHeight - kFrameHeight);

    cmdSnooze = createButton(this, "cmdSnooze", QStringLiteral("&Snooze"));
    lblClickSnooze = createLabel(this, "lblClickSnooze", 11);
    lblClickSnooze->setWordWrap(true);
    lblClickSnooze->setTextFormat(Qt::AutoText);
    lblClickSnooze->setText(QStringLiteral("&Click Snooze to be reminded again in:"));

    Panel1 = createControl<QWidget>(this, "Panel1");
    Panel1->setAutoFillBackground(true);
    QPalette panelPalette = Panel1->palette();
    panelPalette.setColor(QPalette::Window, Qt::white);
    Panel1->setPalette(panelPalette);

    PictureTask = createControl<QLabel>(Panel1, "PictureTask");
    PictureTask->setScaledContents(true);
    // A long subject keeps its beginning; a long list of recipients keeps the date.
    lblSubject = createElidedLabel(Panel1, "lblSubject", 19, Qt::ElideRight);
    lblSentTo = createElidedLabel(Panel1, "lblSentTo", 11, Qt::ElideMiddle);

    lstReminders = createControl<TReminderList>(Panel1, "lstReminders");
    lstReminders->setColumnCount(3);
    lstReminders->setHeaderLabels(
        {QStringLiteral("Subject"), QStringLiteral("Sent to"), QStringLiteral("Due in")});
    lstReminders->setRootIsDecorated(false);
    lstReminders->setItemsExpandable(false);
    lstReminders->setUniformRowHeights(true);
    lstReminders->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstReminders->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstReminders->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstReminders->setSortingEnabled(false);
    lstReminders->header()->setSectionsClickable(false);
    lstReminders->header()->setSectionsMovable(false);
    // The columns always fit the list side by side (FitColumns); long texts are
    // shortened, the subject at its end, the recipients in the middle.
    lstReminders->header()->setSectionResizeMode(QHeaderView::Fixed);
    lstReminders->header()->setStretchLastSection(false);
    lstReminders->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lstReminders->setItemDelegate(new TElidingDelegate(Qt::ElideRight, lstReminders));
    lstReminders->setItemDelegateForColumn(ColSentTo,
                                           new TElidingDelegate(Qt::ElideMiddle, lstReminders));
    lstReminders->setFont(LabelFont(11));
    setGreyText(lstReminders);

    cmdReSend = createButton(Panel1, "cmdReSend", QStringLiteral("&Re-send e-mail"));
    cmdView = createButton(Panel1, "cmdView", QStringLiteral("Open &e-mail"));
    cmdDissmiss = createButton(Panel1, "cmdDissmiss", QStringLiteral("&Dismiss"));
    cmdViewItem = createButton(Panel1, "cmdViewItem", QStringLiteral("&Open Item"));

    comSnooze = createControl<QComboBox>(this, "comSnooze");
    comSnooze->setEditable(true);
    comSnooze->setInsertPolicy(QComboBox::NoInsert);
    comSnooze->setMaxVisibleItems(15);
    comSnooze->addItems(
        {QStringLiteral("5 minutes"), QStringLiteral("10 minutes"), QStringLiteral("15 minutes"),
         QStringLiteral("30 minutes"), QStringLiteral("1 hour"), QStringLiteral("2 hours"),
         QStringLiteral("4 hours"), QStringLiteral("8 hours"), QStringLiteral("1 day"),
         QStringLiteral("2 days"), QStringLiteral("3 days"), QStringLiteral("4 days"),
         QStringLiteral("1 week"), QStringLiteral("2 weeks"), kNextWorkingDaySnooze});
    comSnooze->setEditText(QStringLiteral("5 minutes"));
    lblClickSnooze->setBuddy(comSnooze);

    // Design rectangles at 96 dpi and the edges each control keeps its distance to.
    Anchor(Panel1, {0, 0, 520, 288}, kAllEdges, kWindowDesign);
    Anchor(PictureTask, {16, 8, 32, 32}, kLeftTop, kPanelDesign);
    Anchor(lblSubject, {55, 8, 329, 25}, kLeftTop | Qt::RightEdge, kPanelDesign);
    Anchor(lblSentTo, {54, 33, 125, 13}, kLeftTop | Qt::RightEdge, kPanelDesign);
    Anchor(lstReminders, {10, 79, 499, 172}, kAllEdges, kPanelDesign);
    Anchor(cmdReSend, {10, 257, 90, 23}, Qt::LeftEdge | Qt::BottomEdge, kPanelDesign);
    Anchor(cmdView, {110, 257, 90, 23}, Qt::LeftEdge | Qt::BottomEdge, kPanelDesign);
    Anchor(cmdViewItem, {323, 257, 90, 23}, Qt::RightEdge | Qt::BottomEdge, kPanelDesign);
    Anchor(cmdDissmiss, {419, 257, 90, 23}, Qt::RightEdge | Qt::BottomEdge, kPanelDesign);
    Anchor(lblClickSnooze, {10, 294, 195, 13}, Qt::LeftEdge | Qt::BottomEdge, kWindowDesign);
    Anchor(comSnooze, {8, 313, 391, 21}, Qt::LeftEdge | Qt::RightEdge | Qt::BottomEdge,
           kWindowDesign);
    Anchor(cmdSnooze, {419, 311, 90, 23}, Qt::RightEdge | Qt::BottomEdge, kWindowDesign);

    // In reading order: the list, the buttons under it from left to right, then the
    // snooze box and its button.
    const QList<QWidget*> tabOrder{lstReminders, cmdReSend, cmdView,  cmdViewItem,
                                   cmdDissmiss,  comSnooze, cmdSnooze};
    for (qsizetype i = 1; i < tabOrder.size(); ++i) {
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }

    QAbstractItemModel* model = lstReminders->model();
    connect(model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex& parent, int first, int last) {
                if (!parent.isValid()) {
                    IndexEntries(first, last, 1);
                }
            });
    connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex& parent, int first, int last) {
                if (!parent.isValid()) {
                    IndexEntries(first, last, -1);
                }
            });
    connect(model, &QAbstractItemModel::modelReset, this, [this] {
        m_listed.clear();
        IndexEntries(0, lstReminders->topLevelItemCount() - 1, 1);
        ScheduleFitColumns();
    });
    // The columns follow their texts.
    connect(model, &QAbstractItemModel::rowsInserted, this, [this] { ScheduleFitColumns(); });
    connect(model, &QAbstractItemModel::rowsRemoved, this, [this] { ScheduleFitColumns(); });
    connect(model, &QAbstractItemModel::dataChanged, this, [this] { ScheduleFitColumns(); });
    connect(lstReminders, &QTreeWidget::itemSelectionChanged, this,
            [this] { lstRemindersSelectItem(); });
    connect(lstReminders, &QTreeWidget::itemDoubleClicked, this,
            [this] { lstRemindersDblClick(); });
    connect(cmdReSend, &QPushButton::clicked, this, [this] { cmdReSendClick(); });
    connect(cmdView, &QPushButton::clicked, this, [this] { cmdViewClick(); });
    connect(cmdViewItem, &QPushButton::clicked, this, [this] { cmdViewItemClick(); });
    connect(cmdDissmiss, &QPushButton::clicked, this, [this] { cmdDissmissClick(); });
    connect(cmdSnooze, &QPushButton::clicked, this, [this] { cmdSnoozeClick(); });

    // Escape and F1 reach the window from every control.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }

    TimerUpdate = platform::createTimer();
    TimerUpdate->setInterval(kTimerInterval);
    TimerUpdate->setEnabled(false);
    TimerUpdate->setOnTimer([this] { TimerUpdateTimer(); });

    // At the top left of the main screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().topLeft());
    }
    LayOut();
    FormCreate();
    lstRemindersSelectItem();
}

TTReminderWindow::~TTReminderWindow() {
    // The list goes after this object's members: its removals must not reach the index.
    disconnect(lstReminders->model(), nullptr, this, nullptr);
    if (TimerUpdate) {
        TimerUpdate->setEnabled(false);
        TimerUpdate->setOnTimer({});
    }
}

void TTReminderWindow::FormCreate() {
    const QString suffix = ScaleToSuffix(DisplayScale);
    PictureTask->setPixmap(
        QPixmap::fromImage(LoadImageResource(QStringLiteral("IMG_TASK_") + suffix)));
    setWindowIcon(LoadIconResource(QStringLiteral("ICO_REMINDER_") + suffix));
    // The entry image at 16 pixels (100 %) and at 24 (150 %).
    ImageList16 = QIcon(QPixmap::fromImage(LoadImageResource(QStringLiteral("ICO_REMINDER_100"))));
    ImageList24 = QIcon(QPixmap::fromImage(LoadImageResource(QStringLiteral("ICO_REMINDER_150"))));
    // The picture box's height on the display, in device pixels.
    const int nScale = DisplayScale == 0 ? 100 : DisplayScale;
    const int nPictureHeight = PictureTask->height() * nScale / 100;
    m_nSmallImageSize = nPictureHeight >= 48 ? 24 : 16;
    // The images are device pixels; where the toolkit scales the window itself, the
    // list measures them in its own units.
    const int nIconSize = qRound(m_nSmallImageSize / std::max(devicePixelRatioF(), 1.0));
    lstReminders->setIconSize(QSize(nIconSize, nIconSize));
}

void TTReminderWindow::Anchor(QWidget* control, const QRect& design, Qt::Edges anchors,
                              QSize parentDesign) {
    m_anchored.push_back({control, design, anchors, parentDesign});
}

void TTReminderWindow::LayOut() {
    // The panel comes first, so its controls see its new size.
    for (const Anchored& a : m_anchored) {
        const QSize parent = a.control->parentWidget()->size();
        const int dw = parent.width() - a.parentDesign.width();
        const int dh = parent.height() - a.parentDesign.height();
        QRect r = a.design;
        if (a.anchors.testFlag(Qt::RightEdge)) {
            if (a.anchors.testFlag(Qt::LeftEdge)) {
                r.setWidth(r.width() + dw);
            } else {
                r.translate(dw, 0);
            }
        }
        if (a.anchors.testFlag(Qt::BottomEdge)) {
            if (a.anchors.testFlag(Qt::TopEdge)) {
                r.setHeight(r.height() + dh);
            } else {
                r.translate(0, dh);
            }
        }
        // The labels above the list grow with their text, up to the panel's edge.
        if (a.control == lblSubject || a.control == lblSentTo) {
            const int nText = a.control->sizeHint().width();
            r.setWidth(std::max(r.width(), std::min(nText, parent.width() - r.left() - 8)));
        }
        a.control->setGeometry(r);
    }
}

void TTReminderWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayOut();
}

void TTReminderWindow::ScheduleFitColumns() {
    // Once for all the entries a poll adds or a refresh changes in one go: measuring
    // the texts costs as much as a thousand entries, each time.
    if (m_bFitPending) {
        return;
    }
    m_bFitPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_bFitPending = false;
            FitColumns();
        },
        Qt::QueuedConnection);
}

void TTReminderWindow::FitColumns() {
    const auto* list = static_cast<const TReminderList*>(lstReminders);
    const QHeaderView* header = lstReminders->header();
    std::array<int, 3> aHeading{};
    std::array<int, 3> aText{};
    for (int column : {ColSubject, ColSentTo, ColDueIn}) {
        aHeading[static_cast<std::size_t>(column)] = header->sectionSizeHint(column);
        aText[static_cast<std::size_t>(column)] = list->TextWidth(column);
    }
    const std::array<int, 3> aWidth =
        FitReminderColumns(lstReminders->viewport()->width(), aHeading, aText);
    for (int column : {ColSubject, ColSentTo, ColDueIn}) {
        const int nWidth = aWidth[static_cast<std::size_t>(column)];
        if (header->sectionSize(column) != nWidth) {
            lstReminders->header()->resizeSection(column, nWidth);
        }
    }
}

QString TTReminderWindow::ShownCellText(int position, int column) const {
    const auto* list = static_cast<const TReminderList*>(lstReminders);
    const QModelIndex index = list->model()->index(position, column);
    const auto* delegate = static_cast<const TElidingDelegate*>(list->itemDelegateForIndex(index));
    return delegate->ShownText(list->CellOption(index), index);
}

QString TTReminderWindow::ShownLabelText(const QLabel* label) {
    return static_cast<const TElidedLabel*>(label)->ShownText();
}

const TListItemData& TTReminderWindow::EntryData(int position) const {
    return static_cast<const TReminderEntry*>(lstReminders->topLevelItem(position))->data;
}

void TTReminderWindow::IndexEntries(int first, int last, int delta) {
    for (int i = first; i <= last; ++i) {
        const QString& id = EntryData(i).TaskID;
        if (delta > 0) {
            m_listed[id] += delta;
        } else if (const auto at = m_listed.find(id); at != m_listed.end() && (*at += delta) <= 0) {
            m_listed.erase(at);
        }
    }
}

bool TTReminderWindow::IsInList(const QString& TaskID) const {
    return m_listed.contains(TaskID);
}

bool TTReminderWindow::ReminderAdd(const outlook::TaskItemPtr& task) {
    const QString sTaskID = task->EntryID();
    if (IsInList(sTaskID)) {
        return false;
    }
    const std::optional<QString> sTopic = ReadTrackingProperty(*task, TrackingProperty::Topic);
    if (!sTopic) {
        return false;
    }
    const QString sSentTo = SentToText(*task);
    const QString sDueIn = DueInText(*task);
    const QString sMailID = ReadTrackingProperty(*task, TrackingProperty::Mail).value_or(QString());

    auto* entry = new TReminderEntry({sTaskID, sMailID, HasAutoReply(*task)});
    entry->setText(ColSubject, *sTopic);
    entry->setText(ColSentTo, sSentTo);
    entry->setText(ColDueIn, sDueIn);
    entry->setIcon(ColSubject, m_nSmallImageSize == 24 ? ImageList24 : ImageList16);
    lstReminders->addTopLevelItem(entry);

    // A hidden window comes up in front; a visible one is brought there.
    setWindowState(windowState() & ~Qt::WindowMinimized);
    if (isVisible()) {
        raise();
    } else {
        show();
    }
    activateWindow();
    UpdateCaption();

    if (lstReminders->topLevelItemCount() == 1 && !entry->isSelected()) {
        lstReminders->setCurrentItem(entry);
        entry->setSelected(true);
        lstReminders->setFocus();
    }
    return true;
}

bool TTReminderWindow::RemoveFromList(const QString& EntryID) {
    bool bRemoved = false;
    for (int i = 0; i < lstReminders->topLevelItemCount(); ++i) {
        if (EntryData(i).TaskID == EntryID) {
            RemoveEntryAt(i);
            bRemoved = true;
            break;
        }
    }
    UpdateCaption();
    return bRemoved;
}

bool TTReminderWindow::NoteAutoReply(const QString& EntryID) {
    for (int i = 0; i < lstReminders->topLevelItemCount(); ++i) {
        auto* entry = static_cast<TReminderEntry*>(lstReminders->topLevelItem(i));
        if (entry->data.TaskID == EntryID) {
            entry->data.bAutoReply = true;
            if (entry->isSelected()) {
                lstRemindersSelectItem();
            }
            return true;
        }
    }
    return false;
}

void TTReminderWindow::RemoveEntryAt(int position) {
    QTreeWidgetItem* item = lstReminders->topLevelItem(position);
    const bool bSelected = item->isSelected();
    delete lstReminders->takeTopLevelItem(position);
    if (bSelected) {
        // The labels follow the entries still selected.
        lstRemindersSelectItem();
    }
}

void TTReminderWindow::ClearEntries() {
    lstReminders->clear();
    lstRemindersSelectItem();
}

void TTReminderWindow::UpdateCaption() {
    const int count = lstReminders->topLevelItemCount();
    if (count == 0) {
        hide();
        return;
    }
    setWindowTitle(ReminderCaption(count));
}

void TTReminderWindow::lstRemindersSelectItem() {
    const QList<QTreeWidgetItem*> selected = lstReminders->selectedItems();
    const int k = static_cast<int>(selected.size());
    const TSelectionView view =
        k == 1 ? SelectionView(k, selected[0]->text(ColSubject), selected[0]->text(ColSentTo),
                               static_cast<const TReminderEntry*>(selected[0])->data.bAutoReply)
               : SelectionView(k);
    for (QWidget* control : std::initializer_list<QWidget*>{cmdReSend, cmdView, cmdViewItem,
                                                            cmdDissmiss, cmdSnooze, comSnooze}) {
        control->setEnabled(view.bActionsEnabled);
    }
    lblSubject->setText(view.sSubject);
    lblSentTo->setText(view.sSentTo);
    PictureTask->setVisible(view.bPictureVisible);
    LayOut();
    UpdateCaption();
}

void TTReminderWindow::SelectAfterRemoval(int index) {
    const int position = SelectAfterRemovalIndex(index, lstReminders->topLevelItemCount());
    if (position >= 0) {
        QTreeWidgetItem* item = lstReminders->topLevelItem(position);
        lstReminders->selectionModel()->setCurrentIndex(
            lstReminders->model()->index(position, 0),
            QItemSelectionModel::Select | QItemSelectionModel::Rows);
        item->setSelected(true);
    }
    lstReminders->setFocus();
    UpdateCaption();
}

bool TTReminderWindow::WalkSelected(
    const std::function<TEntryOutcome(const TListItemData&)>& handle) {
    TEntryWalk walk;
    walk.count = [this] { return lstReminders->topLevelItemCount(); };
    walk.isSelected = [this](int i) { return lstReminders->topLevelItem(i)->isSelected(); };
    walk.handle = [this, &handle](int i) {
        const TListItemData entry = EntryData(i);
        return handle(entry);
    };
    walk.remove = [this](int i) { RemoveEntryAt(i); };
    const TWalkResult result = WalkSelectedEntries(walk);
    if (!result.bStopped) {
        SelectAfterRemoval(result.nLastRemoved);
    }
    return result.bStopped;
}

void TTReminderWindow::RemoveSelected(const std::function<void(const TListItemData&)>& handle) {
    const int count = lstReminders->topLevelItemCount();
    std::vector<bool> selected(static_cast<std::size_t>(count));
    int nKept = 0;
    int nLastRemoved = -1;  // the position the entry after the last removed one takes
    for (int i = 0; i < count; ++i) {
        if (lstReminders->topLevelItem(i)->isSelected()) {
            selected[static_cast<std::size_t>(i)] = true;
            nLastRemoved = nKept;
        } else {
            ++nKept;
        }
    }
    if (nLastRemoved < 0) {
        SelectAfterRemoval(-1);
        return;
    }
    for (int i = 0; i < count; ++i) {
        if (selected[static_cast<std::size_t>(i)]) {
            handle(EntryData(i));
        }
    }
    // Every entry leaves the list in one step and the kept ones come back in another,
    // instead of one step for each removed entry.
    const QList<QTreeWidgetItem*> taken = lstReminders->invisibleRootItem()->takeChildren();
    QList<QTreeWidgetItem*> kept;
    kept.reserve(nKept);
    for (qsizetype i = 0; i < taken.size(); ++i) {
        if (selected[static_cast<std::size_t>(i)]) {
            delete taken[i];
        } else {
            kept.push_back(taken[i]);
        }
    }
    lstReminders->addTopLevelItems(kept);
    lstRemindersSelectItem();
    SelectAfterRemoval(nLastRemoved);
}

outlook::ItemPtr TTReminderWindow::GetItem(const QString& EntryID) {
    return MapiNamespace()->GetItemFromID(EntryID);
}

outlook::TaskItemPtr TTReminderWindow::FindTask(const QString& TaskID) {
    try {
        return outlook::asTaskItem(GetItem(TaskID));
    } catch (const std::exception&) {
        return nullptr;
    }
}

void TTReminderWindow::cmdDissmissClick() {
    RemoveSelected([](const TListItemData& entry) {
        try {
            if (const outlook::TaskItemPtr task = FindTask(entry.TaskID)) {
                for (const QString& name :
                     {TrackingProperty::ReminderSet, TrackingProperty::ReminderTime}) {
                    if (const outlook::UserPropertyPtr property =
                            task->UserProperties()->Item(name)) {
                        property->Delete();
                    }
                }
                task->SetReminderSet(false);
                task->Save();
            }
        } catch (const std::exception&) {
            // The reminder goes from the list all the same.
        }
    });
}

void TTReminderWindow::SnoozeTask(const TListItemData& entry, qint64 nSeconds) {
    try {
        if (const outlook::TaskItemPtr task = FindTask(entry.TaskID)) {
            WriteTrackingProperty(*task, TrackingProperty::Snooze,
                                  QString::number(NowLocalUnixSeconds() + nSeconds));
            task->Save();
        }
    } catch (const std::exception&) {
        // Not snoozed; the entry goes all the same.
    }
}

void TTReminderWindow::cmdSnoozeClick() {
    constexpr bool kDefaultSettings = true;
    const QString sText = comSnooze->currentText();
    if (IsNextWorkingDaySnooze(sText)) {
        const QString sRemindMeTime = AddInRegistry != nullptr
                                          ? AddInRegistry->GetTaskRemindMeTime(kDefaultSettings)
                                          : QString();
        const qint64 nNow = NowLocalUnixSeconds();
        const qint64 nSeconds = NextWorkingDaySeconds(nNow, sRemindMeTime) - nNow;
        RemoveSelected(
            [this, nSeconds](const TListItemData& entry) { SnoozeTask(entry, nSeconds); });
        return;
    }
    QString sCopy = sText;
    const qint32 nMinutes = ParseSnoozeText(sCopy);
    if (nMinutes < 0) {
        platform::showMessage(SnoozeInvalidMessage(sText), platform::MessageIcon::Warning);
        return;
    }
    RemoveSelected(
        [this, nMinutes](const TListItemData& entry) { SnoozeTask(entry, qint64{nMinutes} * 60); });
}

void TTReminderWindow::comSnoozeExit() {
    QString sText = comSnooze->currentText();
    if (ParseSnoozeText(sText) >= 0) {
        comSnooze->setEditText(sText);
    }
}

void TTReminderWindow::cmdReSendClick() {
    WalkSelected([](const TListItemData& entry) {
        const outlook::TaskItemPtr task = FindTask(entry.TaskID);
        if (!task) {
            platform::showMessage(kItemNotFoundMessage, platform::MessageIcon::Error);
            return TEntryOutcome::Keep;
        }
        try {
            ComposeFollowUp(task, entry.MailID);
        } catch (const std::exception& e) {
            platform::showMessage(errorText(e), platform::MessageIcon::Error);
            return TEntryOutcome::Stop;
        }
        // The task ends when its follow-up is sent; until then the follow-up's window
        // keeps its reminder away, and closed unsent it reminds again.
        return TEntryOutcome::Remove;
    });
}

std::vector<TListItemData> TTReminderWindow::SelectedEntries() const {
    // The selection as it is now: a message box shown for one entry lets other
    // events change the list.
    std::vector<TListItemData> entries;
    for (int i = 0; i < lstReminders->topLevelItemCount(); ++i) {
        if (lstReminders->topLevelItem(i)->isSelected()) {
            entries.push_back(EntryData(i));
        }
    }
    return entries;
}

void TTReminderWindow::cmdViewClick() {
    for (const TListItemData& entry : SelectedEntries()) {
        try {
            if (entry.MailID.isEmpty()) {
                throw outlook::OutlookError(kMessageNotFoundMessage);
            }
            GetItem(entry.MailID)->Display(false);
        } catch (const std::exception&) {
            platform::showMessage(kMessageNotFoundMessage, platform::MessageIcon::Error);
        }
    }
}

void TTReminderWindow::OpenSelectedTasks() {
    for (const TListItemData& entry : SelectedEntries()) {
        try {
            GetItem(entry.TaskID)->Display(false);
        } catch (const std::exception& e) {
            platform::showMessage(errorText(e), platform::MessageIcon::Error);
        }
    }
}

void TTReminderWindow::TimerUpdateTimer() {
    if (!isVisible()) {
        return;
    }
    int nLastRemoved = -1;
    int i = 0;
    while (i < lstReminders->topLevelItemCount()) {
        const outlook::TaskItemPtr task = FindTask(EntryData(i).TaskID);
        bool bComplete = false;
        QString sDueIn;
        try {
            bComplete = task && task->Complete();
            sDueIn = task ? DueInText(*task) : QString();
        } catch (const std::exception&) {
            // A task that cannot be read now keeps its entry as it is; the refresh
            // must not raise an error every two seconds.
            ++i;
            continue;
        }
        if (task && !bComplete) {
            QTreeWidgetItem* item = lstReminders->topLevelItem(i);
            if (item->text(ColDueIn) != sDueIn) {
                item->setText(ColDueIn, sDueIn);
            }
            ++i;
        } else {
            RemoveEntryAt(i);
            nLastRemoved = i;
        }
    }
    if (nLastRemoved >= 0) {
        SelectAfterRemoval(nLastRemoved);
    }
}

void TTReminderWindow::SnoozeAllOneMinute() {
    for (int i = 0; i < lstReminders->topLevelItemCount(); ++i) {
        SnoozeTask(EntryData(i), 60);
    }
}

void TTReminderWindow::closeEvent(QCloseEvent* event) {
    // The window stays; its reminders come back in a minute.
    SnoozeAllOneMinute();
    event->ignore();
    hide();
    ClearEntries();
}

void TTReminderWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TTReminderWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous()) {
        FormHide();
    }
}

void TTReminderWindow::FormShow() {
    TimerUpdate->setEnabled(true);
}

void TTReminderWindow::FormHide() {
    TimerUpdate->setEnabled(false);
}

void TTReminderWindow::FormHelp() {
    platform::HtmlHelpContext(HelpFilePath, kHelpContext);
}

void TTReminderWindow::HandleEscapeKey(int key) {
    if (key == kEscapeKey) {
        close();
    }
}

bool TTReminderWindow::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    // Popups (the snooze box's list) keep their own keys.
    if (widget == nullptr || widget->window() != this) {
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::Resize && watched == lstReminders->viewport()) {
        FitColumns();
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape) {
            HandleEscapeKey(kEscapeKey);
            return true;
        }
        if (key == Qt::Key_F1) {
            FormHelp();
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Enter on the list opens the selected tasks, as a double-click does; in
            // the snooze box, whose list is closed, it snoozes them.
            if (watched == lstReminders) {
                lstRemindersDblClick();
                return true;
            }
            if ((widget == comSnooze || widget == comSnooze->lineEdit()) &&
                !comSnooze->view()->isVisible()) {
                comSnoozeExit();
                if (cmdSnooze->isEnabled()) {
                    cmdSnoozeClick();
                }
                return true;
            }
        }
    }
    if (event->type() == QEvent::FocusOut && watched == comSnooze) {
        // Opening the list or switching windows is no leaving of the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            comSnoozeExit();
        }
    }
    return QWidget::eventFilter(watched, event);
}

QString TTReminderWindow::DescribeForScript() const {
    QString s = QStringLiteral("window ") +
                (isVisible() ? QStringLiteral("visible ") : QStringLiteral("hidden ")) +
                ScriptQuoted(windowTitle()) + QLatin1Char('\n');
    for (int i = 0; i < lstReminders->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = lstReminders->topLevelItem(i);
        s += QStringLiteral("entry %1 ").arg(i + 1);
        if (item->isSelected()) {
            s += QStringLiteral("selected ");
        }
        s += ScriptQuoted(item->text(ColSubject)) + QLatin1Char(' ') +
             ScriptQuoted(item->text(ColSentTo)) + QLatin1Char(' ') +
             ScriptQuoted(item->text(ColDueIn)) + QLatin1Char('\n');
    }
    s += QStringLiteral("label lblSubject ") + ScriptQuoted(lblSubject->text()) + QLatin1Char('\n');
    s += QStringLiteral("label lblSentTo ") + ScriptQuoted(lblSentTo->text()) + QLatin1Char('\n');
    return s;
}

}  // namespace vantorel
