#pragma once

// The reminder and option controls that the custom send dialog and the default
// settings dialog share: laid out at 96 dpi on their window, with their item lists,
// their images and the handlers that belong to them alone (the radio buttons, the
// duration check box and the exit handlers of the combo boxes).

#include "forms/ReminderChoices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QObject>
#include <QRadioButton>

namespace vantorel {

class TReminderOptionsControls : public QObject {
public:
    // Creates the controls on WINDOW (object names as listed below).
    explicit TReminderOptionsControls(QWidget& window);

    TReminderChoices Choices() const;
    // Puts CHOICES into the controls and enables the boxes to match.
    void SetChoices(const TReminderChoices& choices);

    // The period boxes follow the radio buttons.
    void EnableModeControls();
    // The duration box follows its check box.
    void chkDurationClick();

    // The period box of the chosen mode.
    QComboBox* PeriodBox() const { return rdbRemindMe->isChecked() ? comRemindMe : comTask; }

    // Leaving a box gives a valid phrase its canonical wording.
    void comRemindMeExit();
    void comTaskExit();
    void comRemindMeTimeExit();
    void comDurationExit();

    QFrame* pnlReminder;
    QLabel* lblReminder;
    QLabel* imgReminder;
    QRadioButton* rdbRemindMe;
    QComboBox* comRemindMe;
    QLabel* lblAt;
    QComboBox* comRemindMeTime;
    QRadioButton* rdbTask;
    QComboBox* comTask;
    QCheckBox* chkMoveOffWeekend;
    QFrame* pnlOptions;
    QLabel* lblOptions;
    QLabel* imgOptions;
    QCheckBox* chkCompleted;
    QCheckBox* chkDelete;
    QCheckBox* chkDuration;
    QComboBox* comDuration;
    QLabel* lblDuration;
    QLabel* lblPriority;
    QComboBox* comPriority;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// The font the add-in's forms are designed in (Tahoma 8 pt at 96 dpi).
QFont DesignFont();

}  // namespace vantorel
