#include "forms/ReminderOptionsControls.h"

#include "forms/DialogFrame.h"

#include "resources/Images.h"
#include "tools/DisplayScale.h"
#include "tools/Globals.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QFont>
#include <QKeyEvent>
#include <QPushButton>

namespace vantorel {

namespace {

template <typename T>
T* create(QWidget& window, const char* name, const QRect& geometry) {
    auto* control = new T(&window);
    control->setObjectName(QLatin1String(name));
    control->setGeometry(geometry);
    return control;
}

QComboBox* createCombo(QWidget& window, const char* name, const QRect& geometry,
                       const QStringList& items) {
    auto* combo = create<QComboBox>(window, name, geometry);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMaxVisibleItems(16);
    combo->addItems(items);
    return combo;
}

QLabel* createLabel(QWidget& window, const char* name, const QString& caption, QPoint at) {
    auto* label = create<QLabel>(window, name, QRect(at, QSize()));
    label->setText(caption);
    label->adjustSize();
    return label;
}

// A rule one pixel high, as a line that heads an area.
QFrame* createRule(QWidget& window, const char* name, const QRect& geometry) {
    auto* rule = create<QFrame>(window, name, geometry);
    rule->setFrameShape(QFrame::NoFrame);
    rule->setAutoFillBackground(true);
    rule->setBackgroundRole(QPalette::Mid);
    rule->setFocusPolicy(Qt::NoFocus);
    return rule;
}

// A picture box of 32 x 32 design pixels showing the image of the display's scale.
QLabel* createPicture(QWidget& window, const char* name, QPoint at, const QString& prefix) {
    auto* picture = create<QLabel>(window, name, QRect(at, QSize(32, 32)));
    picture->setScaledContents(true);
    picture->setPixmap(QPixmap::fromImage(LoadImageResource(prefix + ScaleToSuffix(DisplayScale))));
    return picture;
}

}  // namespace

QFont DesignFont() {
    // Where Tahoma is missing, a face of about its width keeps the captions inside
    // the boxes they were designed for.
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arial"), QStringLiteral("Nimbus Sans")});
    font.setPixelSize(11);
    return font;
}

TReminderOptionsControls::TReminderOptionsControls(QWidget& window) : QObject(&window) {
    pnlReminder = createRule(window, "pnlReminder", {59, 14, 310, 1});
    lblReminder = createLabel(window, "lblReminder", QStringLiteral("Reminder"), {8, 8});
    imgReminder = createPicture(window, "imgReminder", {8, 27}, QStringLiteral("IMG_REMINDER_"));
    rdbRemindMe = create<QRadioButton>(window, "rdbRemindMe", {59, 27, 294, 17});
    rdbRemindMe->setText(QStringLiteral("Send message and if no reply received, &remind me"));
    comRemindMe = createCombo(window, "comRemindMe", {72, 50, 135, 21}, PeriodListItems());
    lblAt = createLabel(window, "lblAt", QStringLiteral("at"), {213, 53});
    comRemindMeTime = createCombo(window, "comRemindMeTime", {229, 50, 102, 21}, TimeListItems());
    rdbTask = create<QRadioButton>(window, "rdbTask", {59, 91, 294, 17});
    rdbTask->setText(QStringLiteral("Send e-mail and create a &Task (no reminder) starting "));
    comTask = createCombo(window, "comTask", {72, 114, 135, 21}, PeriodListItems());
    chkMoveOffWeekend = create<QCheckBox>(window, "chkMoveOffWeekend", {59, 141, 289, 17});
    chkMoveOffWeekend->setText(QStringLiteral("Move reminders off the &weekend"));

    pnlOptions = createRule(window, "pnlOptions", {51, 176, 318, 1});
    lblOptions = createLabel(window, "lblOptions", QStringLiteral("Options"), {8, 170});
    imgOptions = createPicture(window, "imgOptions", {8, 189}, QStringLiteral("IMG_OPTIONS_"));
    chkCompleted = create<QCheckBox>(window, "chkCompleted", {59, 189, 289, 17});
    chkCompleted->setText(QStringLiteral("&Mark as Completed when response received"));
    chkDelete = create<QCheckBox>(window, "chkDelete", {59, 212, 289, 17});
    chkDelete->setText(QStringLiteral("D&elete Task when response received"));
    chkDuration = create<QCheckBox>(window, "chkDuration", {59, 235, 97, 17});
    chkDuration->setText(QStringLiteral("Set &Duration to"));
    comDuration = createCombo(window, "comDuration", {154, 233, 84, 21}, DurationListItems());
    lblDuration = createLabel(window, "lblDuration", QStringLiteral("(Due date)"), {244, 236});
    lblPriority = createLabel(window, "lblPriority", QStringLiteral("Task &Priority:"), {59, 261});
    comPriority = createCombo(window, "comPriority", {128, 258, 84, 21}, PriorityListItems());
    lblPriority->setBuddy(comPriority);
    // Every caption is shown whole; the box beside a check box starts after its caption.
    for (QWidget* caption : std::initializer_list<QWidget*>{rdbRemindMe, rdbTask, chkMoveOffWeekend,
                                                            chkCompleted, chkDelete, chkDuration}) {
        FitToCaption(*caption);
    }
    constexpr int kCaptionGap = 4;
    PlaceRightOf(*comDuration, *chkDuration, kCaptionGap);
    // The captions head their areas; the rules run on from them.
    lblReminder->raise();
    lblOptions->raise();

    QObject::connect(rdbRemindMe, &QRadioButton::toggled, this, [this] { EnableModeControls(); });
    QObject::connect(rdbTask, &QRadioButton::toggled, this, [this] { EnableModeControls(); });
    QObject::connect(chkDuration, &QCheckBox::toggled, this, [this] { chkDurationClick(); });
    for (QComboBox* combo : {comRemindMe, comRemindMeTime, comTask, comDuration}) {
        combo->installEventFilter(this);
    }
}

TReminderChoices TReminderOptionsControls::Choices() const {
    TReminderChoices choices;
    choices.bRemindMe = rdbRemindMe->isChecked();
    choices.sRemindMe = comRemindMe->currentText();
    choices.sRemindMeTime = comRemindMeTime->currentText();
    choices.sTask = comTask->currentText();
    choices.bCompleted = chkCompleted->isChecked();
    choices.bDelete = chkDelete->isChecked();
    choices.bDuration = chkDuration->isChecked();
    choices.sDuration = comDuration->currentText();
    choices.bMoveOffWeekend = chkMoveOffWeekend->isChecked();
    // The entry whose text was typed or picked; a text that is no entry gives -1.
    choices.nPriority = comPriority->findText(comPriority->currentText(), Qt::MatchFixedString);
    return choices;
}

void TReminderOptionsControls::SetChoices(const TReminderChoices& choices) {
    rdbRemindMe->setChecked(choices.bRemindMe);
    rdbTask->setChecked(!choices.bRemindMe);
    comTask->setEditText(choices.sTask);
    comRemindMe->setEditText(choices.sRemindMe);
    comRemindMeTime->setEditText(choices.sRemindMeTime);
    chkDelete->setChecked(choices.bDelete);
    chkCompleted->setChecked(choices.bCompleted);
    chkDuration->setChecked(choices.bDuration);
    comDuration->setEditText(choices.sDuration);
    chkMoveOffWeekend->setChecked(choices.bMoveOffWeekend);
    comPriority->setCurrentIndex(choices.nPriority >= 0 && choices.nPriority < comPriority->count()
                                     ? choices.nPriority
                                     : -1);
    EnableModeControls();
    chkDurationClick();
}

void TReminderOptionsControls::EnableModeControls() {
    const bool bRemindMe = rdbRemindMe->isChecked();
    comRemindMe->setEnabled(bRemindMe);
    comRemindMeTime->setEnabled(bRemindMe);
    comTask->setEnabled(!bRemindMe);
}

void TReminderOptionsControls::chkDurationClick() {
    comDuration->setEnabled(chkDuration->isChecked());
}

void TReminderOptionsControls::comRemindMeExit() {
    comRemindMe->setEditText(CanonicalStartText(comRemindMe->currentText()));
}

void TReminderOptionsControls::comTaskExit() {
    comTask->setEditText(CanonicalStartText(comTask->currentText()));
}

void TReminderOptionsControls::comRemindMeTimeExit() {
    comRemindMeTime->setEditText(CanonicalTimeText(comRemindMeTime->currentText()));
}

void TReminderOptionsControls::comDurationExit() {
    comDuration->setEditText(CanonicalDurationText(comDuration->currentText()));
}

bool TReminderOptionsControls::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        // Enter in a box whose list is closed answers the window's default button, as
        // everywhere else in the window; the box itself would keep it.
        const int key = static_cast<QKeyEvent*>(event)->key();
        auto* combo = qobject_cast<QComboBox*>(watched);
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && combo != nullptr &&
            !combo->view()->isVisible()) {
            for (QPushButton* button : combo->window()->findChildren<QPushButton*>()) {
                if (button->isDefault() && button->isVisible()) {
                    if (button->isEnabled()) {
                        button->click();
                    }
                    return true;
                }
            }
        }
    }
    if (event->type() == QEvent::FocusOut) {
        // Opening the list or switching windows is no leaving of the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            if (watched == comRemindMe) {
                comRemindMeExit();
            } else if (watched == comTask) {
                comTaskExit();
            } else if (watched == comRemindMeTime) {
                comRemindMeTimeExit();
            } else if (watched == comDuration) {
                comDurationExit();
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace vantorel
