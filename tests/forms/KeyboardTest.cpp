// Every window of the add-in from the keyboard, offscreen, one row per window: the
// focus starts on the control a person uses first, Tab goes through the controls in
// reading order (top to bottom, left to right on a row, as they stand on the screen),
// every button and check box has an access key and no two share one, and Enter does
// the window's default action.

#include "forms/AboutBoxUnit.h"
#include "forms/CustomSendTaskUnit.h"
#include "forms/DefaultSettingsUnit.h"
#include "forms/DontShowAgain.h"
#include "forms/ReminderWindowUnit.h"
#include "forms/SettingsUnit.h"
#include "forms/TemplateEditUnit.h"
#include "forms/WizardUnit.h"
#include "host/engine/Engine.h"
#include "host/scenario/VirtualScheduler.h"
#include "platform/Clock.h"
#include "platform/Timer.h"
#include "reminders/TrackingProperties.h"
#include "settings/AddInRegistry.h"
#include "tests/support/RecordingPrompts.h"
#include "tests/support/ScriptedWindows.h"
#include "tests/support/TempHives.h"
#include "tests/support/TestSystem.h"
#include "tools/DateTime.h"
#include "tools/Globals.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace vantorel;
namespace ol = vantorel::outlook;

namespace {

QtMessageHandler defaultMessageHandler = nullptr;
// The offscreen platform cannot raise a window or pass on size hints; it says so.
void quietPlatform(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtWarningMsg && (text.contains(QLatin1String("does not support raise()")) ||
                                 text.contains(QLatin1String("propagateSizeHints")))) {
        return;
    }
    defaultMessageHandler(type, context, text);
}

class KeyboardTest;

// One window: how to make and show it, where the focus starts, and what Enter does.
struct WindowRow {
    const char* name;
    std::function<std::unique_ptr<QWidget>(KeyboardTest&)> make;
    const char* initialFocus;
    // Enter clicks this button (a dialog's default button) ...
    const char* enterClicks;
    // ... or, without one, has done this.
    std::function<bool(KeyboardTest&)> enterDid;
};

void PrintTo(const WindowRow& row, std::ostream* os) {
    *os << row.name;
}

class KeyboardTest : public ::testing::TestWithParam<WindowRow> {
public:
    KeyboardTest()
        : clock(
              std::make_shared<platform::ManualClock>(QDateTime(QDate(2026, 12, 10), QTime(9, 5)))),
          scheduler(std::make_shared<host::VirtualScheduler>(clock)) {
        defaultMessageHandler = qInstallMessageHandler(quietPlatform);
        platform::installClock(clock);
        platform::installTimerService(scheduler);
        engine = std::make_unique<engine::Engine>(dir.filePath(QStringLiteral("mailbox.db")));
        OutlookApp = engine->application();
        AddInRegistry = new TAddInRegistry();
        HelpFilePath = dir.filePath(QStringLiteral("Vantorel.chm"));
        test::installAddInLibrary(dir.path(), QStringLiteral("2.0.0.5"));
        DisplayScale = 100;
        OutlookMajorVersion = 16;
    }
    ~KeyboardTest() override {
        window.reset();
        delete std::exchange(AddInRegistry, nullptr);
        OutlookApp.reset();
        engine.reset();
        HelpFilePath.clear();
        DisplayScale = 0;
        OutlookMajorVersion = 0;
        platform::installTimerService(nullptr);
        platform::installClock(nullptr);
        qInstallMessageHandler(defaultMessageHandler);
    }

    // A due tracking task listed in a new reminders window.
    std::unique_ptr<QWidget> remindersWindow() {
        auto reminders = std::make_unique<TTReminderWindow>();
        const ol::TaskItemPtr task = ol::asTaskItem(OutlookApp->CreateItem(ol::olTaskItem));
        task->SetSubject(QStringLiteral("Follow up: Offer"));
        WriteTrackingProperty(*task, TrackingProperty::Topic, QStringLiteral("Offer"));
        WriteTrackingProperty(*task, TrackingProperty::Recipients,
                              QStringLiteral("Ann Lee|ann@example.com;"));
        const qint64 now = tools::toLocalUnixSeconds(tools::toDateTime(clock->now()));
        WriteTrackingProperty(*task, TrackingProperty::FirstSent, QString::number(now - 3600));
        WriteTrackingProperty(*task, TrackingProperty::ReminderSet, QStringLiteral("-1"));
        WriteTrackingProperty(*task, TrackingProperty::ReminderTime, QString::number(now - 60));
        task->Save();
        reminders->ReminderAdd(task);
        return reminders;
    }

    QTemporaryDir dir;
    test::TempHives hives;
    test::PromptsScope prompts;
    test::WindowsScope windows;
    std::shared_ptr<platform::ManualClock> clock;
    std::shared_ptr<host::VirtualScheduler> scheduler;
    std::unique_ptr<engine::Engine> engine;
    std::unique_ptr<QWidget> window;
};

// Where W stands in WINDOW.
QRect placeIn(const QWidget& w, const QWidget& window) {
    return {w.mapTo(&window, QPoint(0, 0)), w.size()};
}

// Whether A comes before B when reading: on one row (their heights overlap by at
// least half the lower one) the left one first, else the upper one.
bool readsBefore(const QRect& a, const QRect& b) {
    const int overlap = std::min(a.bottom(), b.bottom()) - std::max(a.top(), b.top()) + 1;
    if (overlap * 2 >= std::min(a.height(), b.height())) {
        return a.left() < b.left();
    }
    return a.center().y() < b.center().y();
}

QString nameOf(const QWidget* w) {
    return w == nullptr ? QStringLiteral("(none)") : w->objectName();
}

void press(QWidget* target, int key) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &down);
    QCoreApplication::sendEvent(target, &up);
}

// The control that has the keyboard focus: a box's own line edit counts as the box.
QWidget* focused() {
    QWidget* w = QApplication::focusWidget();
    if (w != nullptr && w->parentWidget() != nullptr &&
        qobject_cast<QComboBox*>(w->parentWidget()) != nullptr) {
        return w->parentWidget();
    }
    return w;
}

// The access key of a button: its caption's marked letter, or its own shortcut when
// it shows only a picture.
QKeySequence accessKey(const QAbstractButton& button) {
    const QKeySequence mnemonic = QKeySequence::mnemonic(button.text());
    return mnemonic.isEmpty() ? button.shortcut() : mnemonic;
}

TEST_P(KeyboardTest, WorksFromTheKeyboardInReadingOrder) {
    const WindowRow& row = GetParam();
    window = row.make(*this);
    ASSERT_NE(window, nullptr);
    window->show();
    QApplication::setActiveWindow(window.get());
    QApplication::processEvents();

    // The focus starts on the control a person uses first.
    ASSERT_EQ(nameOf(focused()).toStdString(), row.initialFocus) << "initial focus";

    // Tab goes round the controls in reading order, each once.
    QList<QWidget*> round{focused()};
    for (int i = 0; i < 40; ++i) {
        press(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* next = focused();
        ASSERT_NE(next, nullptr);
        if (next == round.front()) {
            break;
        }
        ASSERT_FALSE(round.contains(next)) << "Tab comes back to " << nameOf(next).toStdString();
        round << next;
    }
    // Round the circle from the first control in reading order.
    qsizetype first = 0;
    for (qsizetype i = 1; i < round.size(); ++i) {
        if (readsBefore(placeIn(*round[i], *window), placeIn(*round[first], *window))) {
            first = i;
        }
    }
    QStringList chain;
    for (qsizetype i = 0; i < round.size(); ++i) {
        chain << nameOf(round[(first + i) % round.size()]);
    }
    SCOPED_TRACE(chain.join(QStringLiteral(", ")).toStdString());
    for (qsizetype i = 1; i < round.size(); ++i) {
        const QWidget* a = round[(first + i - 1) % round.size()];
        const QWidget* b = round[(first + i) % round.size()];
        EXPECT_TRUE(readsBefore(placeIn(*a, *window), placeIn(*b, *window)))
            << nameOf(a).toStdString() << " before " << nameOf(b).toStdString();
    }
    // Every control a person can tab to is in the circle.
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const bool stop = (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus &&
                          w->focusProxy() == nullptr && w->isVisibleTo(window.get()) &&
                          w->isEnabled() && !w->objectName().isEmpty();
        if (stop) {
            EXPECT_TRUE(round.contains(w)) << nameOf(w).toStdString() << " is never reached";
        }
    }

    // Every button and check box shown has an access key, every label that names a
    // box marks one, and no two share one.
    QHash<QKeySequence, QString> keys;
    const auto take = [&keys](const QKeySequence& key, const QString& name) {
        EXPECT_FALSE(key.isEmpty()) << name.toStdString() << " has no access key";
        if (key.isEmpty()) {
            return;
        }
        EXPECT_FALSE(keys.contains(key))
            << name.toStdString() << " and " << keys.value(key).toStdString() << " share "
            << key.toString().toStdString();
        keys.insert(key, name);
    };
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        const bool control = qobject_cast<QPushButton*>(button) != nullptr ||
                             qobject_cast<QCheckBox*>(button) != nullptr ||
                             qobject_cast<QRadioButton*>(button) != nullptr;
        if (control && button->isVisibleTo(window.get())) {
            take(accessKey(*button), button->objectName());
        }
    }
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (label->buddy() != nullptr && label->isVisibleTo(window.get())) {
            take(QKeySequence::mnemonic(label->text()), label->objectName());
        }
    }

    // Enter, where the focus starts, does the default action; in a text of several
    // lines it starts a new line, and the first control in reading order is used.
    QWidget* enterFrom = round.front();
    if (auto* text = qobject_cast<QPlainTextEdit*>(enterFrom)) {
        const QString before = text->toPlainText();
        press(text, Qt::Key_Return);
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(text->toPlainText().size(), before.size() + 1) << "a new line";
        enterFrom = round[first];
    }
    QApplication::setActiveWindow(window.get());
    enterFrom->setFocus(Qt::TabFocusReason);
    int clicks = 0;
    if (row.enterClicks != nullptr) {
        auto* button = window->findChild<QPushButton*>(QLatin1String(row.enterClicks));
        ASSERT_NE(button, nullptr) << row.enterClicks;
        QObject::connect(button, &QPushButton::clicked, [&clicks] { ++clicks; });
    }
    press(QApplication::focusWidget(), Qt::Key_Return);
    if (row.enterClicks != nullptr) {
        EXPECT_EQ(clicks, 1) << "Enter clicks " << row.enterClicks;
    } else {
        EXPECT_TRUE(row.enterDid(*this)) << "Enter does the default action";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Windows, KeyboardTest,
    ::testing::Values(
        WindowRow{"CustomSend",
                  [](KeyboardTest&) -> std::unique_ptr<QWidget> {
                      return std::make_unique<TCustomSendTask>();
                  },
                  "comRemindMe", "btnSend", nullptr},
        WindowRow{"CustomSendWithOptions",
                  [](KeyboardTest&) -> std::unique_ptr<QWidget> {
                      AddInRegistry->SetTaskShowAdvanced(true);
                      AddInRegistry->SetCustomTaskRemindMe(false);
                      return std::make_unique<TCustomSendTask>();
                  },
                  "comTask", "btnSend", nullptr},
        WindowRow{"DefaultSettings",
                  [](KeyboardTest&) -> std::unique_ptr<QWidget> {
                      return std::make_unique<TDefaultSettings>();
                  },
                  "comRemindMe", "btnOK", nullptr},
        WindowRow{"TemplateEditor",
                  [](KeyboardTest&) -> std::unique_ptr<QWidget> {
                      return std::make_unique<TTemplateEdit>();
                  },
                  "txtTemplate", "btnOK", nullptr},
        WindowRow{"TemplateEditorWithoutTemplate",
                  [](KeyboardTest&) -> std::unique_ptr<QWidget> {
                      AddInRegistry->SetReplyTemplate(false, QStringLiteral("Dear &[NAME],"));
                      return std::make_unique<TTemplateEdit>();
                  },
                  "OptNoTemplate", "btnOK", nullptr},
        WindowRow{"TemplateEditorOutlook2010",
                  [](KeyboardTest&) -> std::unique_ptr<QWidget> {
                      OutlookMajorVersion = 14;
                      return std::make_unique<TTemplateEdit>();
                  },
                  "txtTemplate", "btnOK", nullptr},
        WindowRow{
            "Preferences",
            [](KeyboardTest&) -> std::unique_ptr<QWidget> { return std::make_unique<TSettings>(); },
            "chkDisplayName", "btnOK", nullptr},
        WindowRow{"QuickStart",
                  [](KeyboardTest&) -> std::unique_ptr<QWidget> {
                      return std::make_unique<TWizardWindow>();
                  },
                  "cmdNext", "cmdNext", nullptr},
        WindowRow{"QuickStartSecondPage",
                  [](KeyboardTest&) -> std::unique_ptr<QWidget> {
                      auto wizard = std::make_unique<TWizardWindow>();
                      wizard->show();
                      wizard->cmdNext->click();
                      return wizard;
                  },
                  "cmdNext", "cmdNext", nullptr},
        WindowRow{"QuickStartLastPage",
                  [](KeyboardTest&) -> std::unique_ptr<QWidget> {
                      auto wizard = std::make_unique<TWizardWindow>();
                      wizard->show();
                      for (int page = 1; page < 5; ++page) {
                          wizard->cmdNext->click();
                      }
                      return wizard;
                  },
                  "cmdCancel", "cmdCancel", nullptr},
        WindowRow{"About",
                  [](KeyboardTest&) -> std::unique_ptr<QWidget> {
                      return std::make_unique<TAboutWindow>();
                  },
                  "btnClose", "btnClose", nullptr},
        WindowRow{"DontShowAgain",
                  [](KeyboardTest&) -> std::unique_ptr<QWidget> {
                      return CreateDontShowAgainDialog(
                          QStringLiteral("The follow-up text comes from your template."), nullptr);
                  },
                  "btnOK", "btnOK", nullptr},
        WindowRow{"Reminders", [](KeyboardTest& t) { return t.remindersWindow(); }, "lstReminders",
                  nullptr,
                  // Enter on the list opens the selected task, as a double-click does.
                  [](KeyboardTest& t) { return t.engine->displayed().size() == 1; }}),
    [](const ::testing::TestParamInfo<WindowRow>& info) { return std::string(info.param.name); });

}  // namespace
