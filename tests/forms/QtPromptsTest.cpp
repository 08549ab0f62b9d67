#include "forms/DontShowAgain.h"
#include "forms/QtPrompts.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

using namespace vantorel;

namespace {

// The real desktop boxes, driven once they are up: ACT runs inside the box's modal loop.
class QtPromptsTest : public ::testing::Test {
protected:
    QtPromptsTest() { platform::installPrompts(std::make_shared<QtPrompts>()); }
    ~QtPromptsTest() override { platform::installPrompts(nullptr); }

    void whenShown(std::function<void(QWidget&)> act) {
        QTimer::singleShot(0, qApp, [this, act = std::move(act)] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr);
            shownTitle = box->windowTitle();
            act(*box);
        });
    }
    static void click(QWidget& box, const char* name) {
        auto* button = box.findChild<QPushButton*>(QLatin1String(name));
        ASSERT_NE(button, nullptr) << name;
        button->click();
    }

    QString shownTitle;
};

TEST_F(QtPromptsTest, TheTickIsReadBackAfterTheCloseBox) {
    whenShown([](QWidget& box) {
        auto* chk = box.findChild<QCheckBox*>(QStringLiteral("chkDontShowAgain"));
        ASSERT_NE(chk, nullptr);
        chk->click();
        box.close();
    });
    bool checked = false;
    EXPECT_EQ(ShowMessageWithDontShowAgain(QStringLiteral("Notice"), &checked),
              platform::MessageAnswer::Ok);
    EXPECT_TRUE(checked);
    EXPECT_EQ(shownTitle, QStringLiteral("Vantorel"));
}

TEST_F(QtPromptsTest, OKWithoutATickReportsUnticked) {
    whenShown([](QWidget& box) { click(box, "btnOK"); });
    bool checked = true;
    ShowMessageWithDontShowAgain(QStringLiteral("Notice"), &checked);
    EXPECT_FALSE(checked);
}

TEST_F(QtPromptsTest, APlainBoxHasTheRequestedIconAndTheAddInsCaption) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString text;
    whenShown([&](QWidget& box) {
        icon = static_cast<QMessageBox&>(box).icon();
        text = static_cast<QMessageBox&>(box).text();
        click(box, "btnOK");
    });
    platform::showMessage(QStringLiteral("First line\rsecond line"), platform::MessageIcon::Error);
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(text, QStringLiteral("First line\nsecond line"));
    EXPECT_EQ(shownTitle, QStringLiteral("Vantorel"));

    whenShown([](QWidget& box) { box.close(); });
    platform::showMessage(QStringLiteral("Text"), platform::MessageIcon::Warning,
                          QStringLiteral("Own caption"));
    EXPECT_EQ(shownTitle, QStringLiteral("Own caption"));
}

TEST_F(QtPromptsTest, YesNoAnswers) {
    platform::MessageRequest request;
    request.text = QStringLiteral("Go on?");
    request.icon = platform::MessageIcon::Confirmation;
    request.buttons = platform::MessageButtons::YesNo;

    whenShown([](QWidget& box) { click(box, "btnYes"); });
    EXPECT_EQ(platform::prompts().show(request).answer, platform::MessageAnswer::Yes);
    whenShown([](QWidget& box) { click(box, "btnNo"); });
    EXPECT_EQ(platform::prompts().show(request).answer, platform::MessageAnswer::No);
    // The close box is "No".
    whenShown([](QWidget& box) { box.close(); });
    EXPECT_EQ(platform::prompts().show(request).answer, platform::MessageAnswer::No);
}

// A question that can be taken back: its Cancel, Esc and close box all cancel.
TEST_F(QtPromptsTest, YesNoCancelAnswers) {
    platform::MessageRequest request;
    request.text = QStringLiteral("Save?");
    request.icon = platform::MessageIcon::Confirmation;
    request.buttons = platform::MessageButtons::YesNoCancel;
    const auto escape = [](QWidget& box) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(&box, &press);
    };
    const std::vector<std::pair<std::function<void(QWidget&)>, platform::MessageAnswer>> rows{
        {[](QWidget& box) { click(box, "btnYes"); }, platform::MessageAnswer::Yes},
        {[](QWidget& box) { click(box, "btnNo"); }, platform::MessageAnswer::No},
        {[](QWidget& box) { click(box, "btnCancel"); }, platform::MessageAnswer::Cancel},
        {escape, platform::MessageAnswer::Cancel},
        {[](QWidget& box) { box.close(); }, platform::MessageAnswer::Cancel},
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        whenShown(rows[i].first);
        EXPECT_EQ(platform::prompts().show(request).answer, rows[i].second) << "row " << i;
    }
}

// Enter presses the default button: Yes, unless the question makes No the default.
TEST_F(QtPromptsTest, EnterAnswersTheDefaultButton) {
    platform::MessageRequest request;
    request.text = QStringLiteral("Restore?");
    request.icon = platform::MessageIcon::Confirmation;
    request.buttons = platform::MessageButtons::YesNo;
    const auto enter = [](QWidget& box) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(&box, &press);
    };
    whenShown(enter);
    EXPECT_EQ(platform::prompts().show(request).answer, platform::MessageAnswer::Yes);
    request.defaultAnswer = platform::MessageAnswer::No;
    whenShown(enter);
    EXPECT_EQ(platform::prompts().show(request).answer, platform::MessageAnswer::No);
}

}  // namespace
