#include "forms/DontShowAgain.h"
#include "forms/MessageDialog.h"
#include "tests/support/RecordingPrompts.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <gtest/gtest.h>

using namespace vantorel;

namespace {

// Two long lines, as the notices that use this box have.
const QString kNotice = QStringLiteral(
    "The follow-up text will be produced from your template.\r"
    "You can change or switch off the template in the add-in's preferences at any time.");

template <typename T>
T* child(QDialog& dialog, const char* name) {
    T* widget = dialog.findChild<T*>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

TEST(DontShowAgainDialog, IsTheStandardDialogWithTheCheckBoxBesideOK) {
    const auto standard = CreateMessageDialog(kNotice, platform::MessageIcon::Information, {});
    QCheckBox* chk = nullptr;
    const auto dialog = CreateDontShowAgainDialog(kNotice, &chk);
    ASSERT_NE(chk, nullptr);
    QPushButton* ok = child<QPushButton>(*dialog, "btnOK");
    QLabel* message = child<QLabel>(*dialog, "lblMessage");
    ASSERT_TRUE(ok && message);
    ASSERT_LE(chk->sizeHint().width(), chk->width()) << "the caption fits: no extra widening";

    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(dialog->isModal());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Vantorel"));
    EXPECT_EQ(chk, child<QCheckBox>(*dialog, "chkDontShowAgain"));
    EXPECT_EQ(chk->text(), QStringLiteral("Do not &show me this dialog again"));
    EXPECT_FALSE(chk->isChecked());
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(dialog->findChildren<QPushButton*>().size(), 1);

    // 32 pixels wider, no higher.
    EXPECT_EQ(dialog->width(), standard->width() + 32);
    EXPECT_EQ(dialog->height(), standard->height());
    // OK at the bottom right, 16 pixels from both edges.
    EXPECT_EQ(ok->x(), dialog->width() - ok->width() - 16);
    EXPECT_EQ(ok->y(), dialog->height() - ok->height() - 16);
    // The check box at the bottom left, level with OK, ending 32 pixels before it.
    EXPECT_EQ(chk->x(), 16);
    EXPECT_EQ(chk->height(), QFontMetrics(chk->font()).height() + 10);
    EXPECT_EQ(chk->y(), dialog->height() - chk->height() - 16);
    EXPECT_EQ(chk->y() + chk->height(), ok->y() + ok->height());
    EXPECT_EQ(chk->width(), ok->x() - 32);
    // The message 8 pixels further right, the icon where it was.
    const QLabel* standardMessage = standard->findChild<QLabel*>(QStringLiteral("lblMessage"));
    ASSERT_NE(standardMessage, nullptr);
    EXPECT_EQ(message->pos(), standardMessage->pos() + QPoint(8, 0));
    EXPECT_EQ(child<QLabel>(*dialog, "imgIcon")->geometry(),
              standard->findChild<QLabel*>(QStringLiteral("imgIcon"))->geometry());
    EXPECT_FALSE(child<QLabel>(*dialog, "imgIcon")->pixmap().isNull());
    // Nothing overlaps the message.
    EXPECT_LT(message->geometry().bottom(), chk->y());
}

TEST(DontShowAgainDialog, MessageLinesBreakAtCarriageReturns) {
    const auto dialog = CreateDontShowAgainDialog(kNotice);
    QLabel* message = child<QLabel>(*dialog, "lblMessage");
    ASSERT_NE(message, nullptr);
    EXPECT_FALSE(message->text().contains(QLatin1Char('\r')));
    EXPECT_EQ(message->text().count(QLatin1Char('\n')), 1);
    EXPECT_GE(message->height(), 2 * QFontMetrics(message->font()).height());
}

TEST(DontShowAgainDialog, IsCentredOnTheScreen) {
    const auto dialog = CreateDontShowAgainDialog(kNotice);
    const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((dialog->geometry().center() - centre).manhattanLength(), 1);
}

TEST(DontShowAgainDialog, AShortMessageLeavesRoomForTheCheckBox) {
    QCheckBox* chk = nullptr;
    const auto dialog = CreateDontShowAgainDialog(QStringLiteral("Done."), &chk);
    QPushButton* ok = child<QPushButton>(*dialog, "btnOK");
    ASSERT_TRUE(chk && ok);
    EXPECT_GE(chk->width(), chk->sizeHint().width());
    EXPECT_EQ(chk->width(), ok->x() - 32);
    EXPECT_EQ(ok->x(), dialog->width() - ok->width() - 16);
}

TEST(DontShowAgainDialog, TheTickSurvivesTheCloseBox) {
    QCheckBox* chk = nullptr;
    const auto dialog = CreateDontShowAgainDialog(kNotice, &chk);
    dialog->show();
    chk->click();
    EXPECT_TRUE(dialog->close());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(chk->isChecked());
}

TEST(DontShowAgainDialog, OKAcceptsTheDialog) {
    QCheckBox* chk = nullptr;
    const auto dialog = CreateDontShowAgainDialog(kNotice, &chk);
    dialog->show();
    child<QPushButton>(*dialog, "btnOK")->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(chk->isChecked());
}

TEST(ShowMessageWithDontShowAgain, AsksThePromptsLayerForAnInformationBoxWithTheCheckBox) {
    test::PromptsScope prompts;
    prompts->answers.push_back({platform::MessageAnswer::Ok, true});
    bool checked = false;
    EXPECT_EQ(ShowMessageWithDontShowAgain(kNotice, &checked), platform::MessageAnswer::Ok);
    EXPECT_TRUE(checked);
    ASSERT_EQ(prompts->shown.size(), 1u);
    const platform::MessageRequest& box = prompts->shown.front();
    EXPECT_EQ(box.text, kNotice);
    EXPECT_EQ(box.caption, QStringLiteral("Vantorel"));
    EXPECT_EQ(box.icon, platform::MessageIcon::Information);
    EXPECT_EQ(box.buttons, platform::MessageButtons::Ok);
    EXPECT_EQ(box.checkBoxText, QStringLiteral("Do not &show me this dialog again"));
    EXPECT_FALSE(box.checked);

    // Unticked.
    ShowMessageWithDontShowAgain(kNotice, &checked);
    EXPECT_FALSE(checked);
}

}  // namespace
