// The template editor: its rules without a window, and the dialog offscreen on a real
// settings hive.

#include "DesignedGeometry.h"
#include "forms/TemplateEditLogic.h"
#include "forms/TemplateEditUnit.h"
#include "platform/AtomicWrite.h"
#include "resources/Images.h"
#include "settings/AddInRegistry.h"
#include "tests/support/RecordingPrompts.h"
#include "tests/support/ScriptedWindows.h"
#include "tests/support/TempHives.h"
#include "tools/Globals.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QProcess>
#include <QTextCursor>

#include <gtest/gtest.h>

#include <optional>

using namespace vantorel;

namespace {

// What the signature button inserts (SignatureText lives in another unit, so it is
// read when a test runs).
QString signature() {
    return QStringLiteral("\r\r") + SignatureText;
}

// ---------------------------------------------------------------------------------
// Inserting at the caret

struct InsertRow {
    const char* name;
    const char* text;
    int nSelStart;
    int nSelLength;
    const char* insert;
    const char* expected;
    int nCaret;
};

class InsertAtTheCaret : public ::testing::TestWithParam<InsertRow> {};

TEST_P(InsertAtTheCaret, ReplacesTheSelectionAndPutsTheCaretAfterTheInsert) {
    const InsertRow& row = GetParam();
    const TInsertResult result = InsertTemplateText(QString::fromUtf8(row.text), row.nSelStart,
                                                    row.nSelLength, QString::fromUtf8(row.insert));
    EXPECT_EQ(result.sText, QString::fromUtf8(row.expected));
    EXPECT_EQ(result.nCaret, row.nCaret);
}

INSTANTIATE_TEST_SUITE_P(
    Table, InsertAtTheCaret,
    ::testing::Values(
        InsertRow{"IntoAnEmptyText", "", 0, 0, "&[NAME]", "&[NAME]", 7},
        InsertRow{"AtTheStart", "Dear ,", 0, 0, "&[DATE]", "&[DATE]Dear ,", 7},
        InsertRow{"InTheMiddle", "Dear ,", 5, 0, "&[NAME]", "Dear &[NAME],", 12},
        InsertRow{"AtTheEnd", "Dear", 4, 0, " &[TIME]", "Dear &[TIME]", 12},
        InsertRow{"OverFiveSelected", "Dear Annie,", 5, 5, "&[NAME]", "Dear &[NAME],", 12},
        InsertRow{"OverEverything", "Dear Annie,", 0, 11, "&[EMAIL]", "&[EMAIL]", 8},
        InsertRow{"AfterALineBreakCountingTwo", "a\r\nb", 3, 0, "&[NAME]", "a\r\n&[NAME]b", 10},
        InsertRow{"ACaretBeyondTheEndGoesToTheEnd", "ab", 9, 3, "x", "abx", 3},
        InsertRow{"ASelectionBeyondTheEndStopsThere", "abcd", 2, 9, "x", "abx", 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InsertedTexts, ThePlaceholdersAndTheSignatureAfterTwoCarriageReturns) {
    EXPECT_EQ(InsertedText(TInsertButton::Name), QStringLiteral("&[NAME]"));
    EXPECT_EQ(InsertedText(TInsertButton::Email), QStringLiteral("&[EMAIL]"));
    EXPECT_EQ(InsertedText(TInsertButton::Date), QStringLiteral("&[DATE]"));
    EXPECT_EQ(InsertedText(TInsertButton::Time), QStringLiteral("&[TIME]"));
    EXPECT_EQ(InsertedText(TInsertButton::Signature), signature());
    EXPECT_FALSE(signature().contains(QLatin1Char('\n')));
}

// ---------------------------------------------------------------------------------
// Control states

TEST(TemplateControlStates, FollowTheRadioButtonsAndTheDefault) {
    const QString sOther = DefaultReplyTemplate + QLatin1Char('x');
    const TTemplateControlStates useDefault = TemplateControlStates(true, DefaultReplyTemplate);
    EXPECT_TRUE(useDefault.bText);
    EXPECT_TRUE(useDefault.bInsertButtons);
    EXPECT_FALSE(useDefault.bRestoreDefault);
    EXPECT_TRUE(TemplateControlStates(true, sOther).bRestoreDefault);
    EXPECT_TRUE(TemplateControlStates(true, DefaultReplyTemplate.toUpper()).bRestoreDefault)
        << "the comparison heeds letter case";
    for (const QString& sText : {DefaultReplyTemplate, sOther}) {
        const TTemplateControlStates off = TemplateControlStates(false, sText);
        EXPECT_FALSE(off.bText);
        EXPECT_FALSE(off.bInsertButtons);
        EXPECT_FALSE(off.bRestoreDefault);
    }
}

TEST(TemplateControlStates, AChangeSwitchesRestoreOnButNeverOff) {
    EXPECT_FALSE(RestoreEnabledAfterChange(false, DefaultReplyTemplate));
    EXPECT_TRUE(RestoreEnabledAfterChange(false, QStringLiteral("x")));
    EXPECT_TRUE(RestoreEnabledAfterChange(true, DefaultReplyTemplate));
}

// ---------------------------------------------------------------------------------
// Captions, images and the scale

struct CaptionRow {
    const char* name;
    int nMajorVersion;
    const char* captions;  // N A D T E, each one letter or all empty
};

class InsertCaptions : public ::testing::TestWithParam<CaptionRow> {};

TEST_P(InsertCaptions, LettersOnlyUnderOutlook2010) {
    const QString sCaptions = QString::fromUtf8(GetParam().captions);
    QString sGot;
    for (const TInsertButton button : kInsertButtons) {
        sGot += InsertButtonCaption(button, GetParam().nMajorVersion);
    }
    EXPECT_EQ(sGot, sCaptions);
}

INSTANTIATE_TEST_SUITE_P(Table, InsertCaptions,
                         ::testing::Values(CaptionRow{"Outlook2007", 12, ""},
                                           CaptionRow{"Outlook2010", 14, "NADTE"},
                                           CaptionRow{"Outlook2013", 15, ""},
                                           CaptionRow{"Outlook2016", 16, ""},
                                           CaptionRow{"NotYetKnown", 0, ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TemplateEditImages, PairsOfEnabledAndDisabledInTheListOrder) {
    EXPECT_EQ(InsertButtonImage(TInsertButton::Name), 0);
    EXPECT_EQ(InsertButtonImage(TInsertButton::Email), 2);
    EXPECT_EQ(InsertButtonImage(TInsertButton::Time), 4);
    EXPECT_EQ(InsertButtonImage(TInsertButton::Date), 6);
    EXPECT_EQ(InsertButtonImage(TInsertButton::Signature), 8);
    for (const TInsertButton button : kInsertButtons) {
        EXPECT_EQ(InsertButtonDisabledImage(button), InsertButtonImage(button) + 1);
    }
    EXPECT_EQ(TemplateEditImagePrefix(4), QStringLiteral("IMG_INSERTTIME_"));
    EXPECT_EQ(TemplateEditImagePrefix(9), QStringLiteral("IMG_INSERTSIGNATURE_DISABLED_"));
    EXPECT_TRUE(TemplateEditImagePrefix(10).isEmpty());
}

TEST(TemplateEditImages, AllTenExistAtEveryScaleIn24PixelSquares) {
    for (int nIndex = 0; nIndex < kTemplateEditImageCount; ++nIndex) {
        for (const int nScale : {100, 125, 150, 175, 200, 225, 250, 300, 400}) {
            const QString sName = TemplateEditImagePrefix(nIndex) + QString::number(nScale);
            SCOPED_TRACE(sName.toStdString());
            const QImage image = LoadImageResource(sName);
            ASSERT_FALSE(image.isNull());
            EXPECT_EQ(image.size(), QSize(24, 24) * nScale / 100);
            EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "drawn on a transparent ground";
        }
    }
}

struct ScaleRow {
    const char* name;
    int nHeight;
    double dRatio;
    int nScale;
};

class MarkerScale : public ::testing::TestWithParam<ScaleRow> {};

TEST_P(MarkerScale, FromTheHeightInDevicePixels) {
    EXPECT_EQ(ScaleFromMarkerHeight(GetParam().nHeight, GetParam().dRatio), GetParam().nScale);
}

INSTANTIATE_TEST_SUITE_P(Table, MarkerScale,
                         ::testing::Values(ScaleRow{"At100", 32, 1.0, 100},
                                           ScaleRow{"At125", 32, 1.25, 125},
                                           ScaleRow{"At150", 32, 1.5, 150},
                                           ScaleRow{"At200", 32, 2.0, 200},
                                           ScaleRow{"AWindowScaledItself", 48, 1.0, 150},
                                           ScaleRow{"At350GivesTheBiggestImages", 32, 3.5, 400},
                                           ScaleRow{"At400", 32, 4.0, 400},
                                           ScaleRow{"At110FallsBackTo100", 32, 1.1, 100},
                                           ScaleRow{"NoRatio", 32, 0.0, 100}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------
// The template's line breaks in the box

TEST(TemplateLines, KeepCrLfLoneCrAndLoneLf) {
    TTemplateLines lines;
    const QString sText = QStringLiteral("a\r\nb\rc\nd\r\r") + SignatureText;
    lines.SetText(sText);
    EXPECT_EQ(lines.Shown(), QStringLiteral("a\nb\nc\nd\n\n") + SignatureText);
    EXPECT_EQ(lines.Text(), sText);
    lines.SetText(DefaultReplyTemplate);
    EXPECT_EQ(lines.Text(), DefaultReplyTemplate);
}

TEST(TemplateLines, PositionsCountACrLfAsTwo) {
    TTemplateLines lines;
    lines.SetText(QStringLiteral("ab\r\ncd\ref"));
    EXPECT_EQ(lines.ToTextPosition(2), 2);
    EXPECT_EQ(lines.ToTextPosition(3), 4);
    EXPECT_EQ(lines.ToTextPosition(6), 7);
    EXPECT_EQ(lines.ToTextPosition(99), 9);
    EXPECT_EQ(lines.ToShownPosition(4), 3);
    EXPECT_EQ(lines.ToShownPosition(3), 3) << "between CR and LF: after the pair";
    EXPECT_EQ(lines.ToShownPosition(7), 6);
    EXPECT_EQ(lines.ToShownPosition(0), 0);
}

TEST(TemplateLines, TypedBreaksAreCrLfAndTheOthersStay) {
    TTemplateLines lines;
    lines.SetText(QStringLiteral("a\rb\nc"));
    lines.ShownChanged(QStringLiteral("a\nb\nX\u2029c"));  // Enter typed after "X"
    EXPECT_EQ(lines.Text(), QStringLiteral("a\rb\nX\r\nc"));
    lines.ShownChanged(QStringLiteral("ab\nX\nc"));  // the first break deleted
    EXPECT_EQ(lines.Text(), QStringLiteral("ab\nX\r\nc"));
    lines.ShownChanged(QString());
    EXPECT_EQ(lines.Text(), QString());
}

TEST(TemplateTyping, StopsAtTheLimitLessWhatStays) {
    EXPECT_EQ(TypingRoom(0, 0), 512);
    EXPECT_EQ(TypingRoom(510, 0), 2);
    EXPECT_EQ(TypingRoom(512, 0), 0);
    EXPECT_EQ(TypingRoom(600, 0), 0);
    EXPECT_EQ(TypingRoom(512, 5), 5);
}

// ---------------------------------------------------------------------------------
// The dialog

class TemplateEditTest : public ::testing::Test {
protected:
    explicit TemplateEditTest(int nMajorVersion = 16) {
        OutlookMajorVersion = nMajorVersion;
        AddInRegistry = new TAddInRegistry();
        HelpFilePath = QStringLiteral("/opt/vantorel/Vantorel.chm");
        dialog = std::make_unique<TTemplateEdit>();
    }
    ~TemplateEditTest() override {
        dialog.reset();
        delete AddInRegistry;
        AddInRegistry = nullptr;
        HelpFilePath.clear();
        OutlookMajorVersion = 0;
    }

    // Shows the dialog; PERSON acts in it.
    int show(const std::function<void(TTemplateEdit&)>& person) {
        windows->person = [&](QDialog&) { person(*dialog); };
        return dialog->ShowModal();
    }

    static void key(QWidget* target, int code, const QString& text = {}) {
        QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, text);
        QCoreApplication::sendEvent(target, &press);
    }
    static void select(TTemplateEdit& d, int nStart, int nLength) {
        QTextCursor cursor = d.txtTemplate->textCursor();
        cursor.setPosition(nStart);
        cursor.setPosition(nStart + nLength, QTextCursor::KeepAnchor);
        d.txtTemplate->setTextCursor(cursor);
    }
    static bool insertButtonsEnabled(const TTemplateEdit& d) {
        bool bAll = true;
        for (const TInsertButton button : kInsertButtons) {
            bAll = bAll && d.InsertButton(button)->isEnabled();
        }
        return bAll;
    }
    static bool insertButtonsDisabled(const TTemplateEdit& d) {
        bool bNone = true;
        for (const TInsertButton button : kInsertButtons) {
            bNone = bNone && !d.InsertButton(button)->isEnabled();
        }
        return bNone;
    }

    test::TempHives hives;
    test::PromptsScope prompts;
    test::WindowsScope windows;
    std::unique_ptr<TTemplateEdit> dialog;
};

struct ControlRow {
    const char* name;
    QRect geometry;
    const char* caption;
    const char* hint;
};

TEST_F(TemplateEditTest, TheWindowAsDesigned) {
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Vantorel - Template"));
    EXPECT_EQ(dialog->size(), QSize(552, 371));
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize()) << "not resizable";
    EXPECT_TRUE(dialog->btnOK->isDefault());
    EXPECT_EQ(dialog->font().pixelSize(), 11);

    const ControlRow rows[] = {
        {"imgTemplate", {8, 8, 32, 32}, "", ""},
        {"OptNoTemplate", {19, 73, 136, 17}, "Do &not use templates", ""},
        {"OptUseTemplate", {19, 96, 150, 17}, "&Use the following template", ""},
        {"GroupBox1", {8, 104, 536, 222}, "", ""},
        {"btnInsertName", {8, 31, 25, 25}, "", "Insert the recipient's name (Alt+M)"},
        {"btnInsertEmail", {32, 31, 27, 25}, "", "Insert the recipient's e-mail address (Alt+A)"},
        {"btnInsertDate",
         {58, 31, 25, 25},
         "",
         "Insert the date at which the first e-mail was sent (Alt+D)"},
        {"btnInsertTime",
         {82, 31, 25, 25},
         "",
         "Insert the time at which the first e-mail was sent (Alt+T)"},
        {"btnInsertVantorel", {122, 31, 25, 25}, "", "Insert the Vantorel signature! (Alt+E)"},
        {"btnRestoreDefault", {399, 31, 129, 25}, "&Restore default template", ""},
        {"txtTemplate", {8, 59, 520, 154}, "", ""},
        {"btnOK", {388, 338, 75, 25}, "&OK", ""},
        {"btnCancel", {469, 338, 75, 25}, "&Cancel", ""},
    };
    for (const ControlRow& row : rows) {
        QWidget* w = dialog->findChild<QWidget*>(QLatin1String(row.name));
        ASSERT_NE(w, nullptr) << row.name;
        test::ExpectAsDesigned(*w, row.geometry);
        EXPECT_EQ(w->toolTip(), QString::fromUtf8(row.hint)) << row.name;
        if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            EXPECT_EQ(button->text(), QString::fromUtf8(row.caption)) << row.name;
        }
    }
    for (QWidget* inside : {static_cast<QWidget*>(dialog->btnInsertName),
                            static_cast<QWidget*>(dialog->btnRestoreDefault),
                            static_cast<QWidget*>(dialog->txtTemplate)}) {
        EXPECT_EQ(inside->parentWidget(), dialog->GroupBox1) << inside->objectName().toStdString();
    }
    EXPECT_EQ(dialog->OptUseTemplate->parentWidget(), dialog->OptNoTemplate->parentWidget())
        << "siblings, so one of them is checked";
    EXPECT_EQ(dialog->Label1->pos(), QPoint(46, 8));
    EXPECT_EQ(
        dialog->Label1->text(),
        QStringLiteral(
            "Use a template to define the text that will be inserted in the email to re-send"));
    EXPECT_EQ(dialog->txtTemplate->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST_F(TemplateEditTest, ThePictureAndTheButtonImagesAtTheScale) {
    EXPECT_EQ(dialog->GetWindowsScaling(), 100);
    ASSERT_FALSE(dialog->imgTemplate->pixmap().isNull());
    EXPECT_EQ(dialog->imgTemplate->pixmap().size(), QSize(32, 32));
    for (const TInsertButton button : kInsertButtons) {
        const QIcon icon = dialog->InsertButton(button)->icon();
        ASSERT_FALSE(icon.isNull());
        // Inside the button with room for its frame, so no edge of the image is cut.
        const QPushButton* b = dialog->InsertButton(button);
        EXPECT_LE(b->iconSize().width() + 4, b->width());
        EXPECT_LE(b->iconSize().height() + 4, b->height());
        const QImage on = icon.pixmap(QSize(24, 24), QIcon::Normal).toImage();
        const QImage off = icon.pixmap(QSize(24, 24), QIcon::Disabled).toImage();
        EXPECT_NE(on, off) << "a picture of its own while disabled";
    }
    EXPECT_TRUE(dialog->btnInsertName->text().isEmpty()) << "images only after Outlook 2010";
}

TEST_F(TemplateEditTest, AFreshProfileShowsAndStoresTheDefaultTemplate) {
    show([&](TTemplateEdit& d) {
        EXPECT_TRUE(d.OptUseTemplate->isChecked());
        EXPECT_FALSE(d.OptNoTemplate->isChecked());
        EXPECT_EQ(d.txtTemplate->Text(), DefaultReplyTemplate);
        EXPECT_FALSE(d.btnRestoreDefault->isEnabled());
        EXPECT_TRUE(d.txtTemplate->isEnabled());
        EXPECT_TRUE(insertButtonsEnabled(d));
        d.btnCancel->click();
    });
    TAddInRegistry store;
    EXPECT_TRUE(store.GetUseReplyTemplate());
    EXPECT_EQ(store.GetReplyTemplate(), DefaultReplyTemplate);
}

TEST_F(TemplateEditTest, TypingEnablesRestoreAndTypingBackToTheDefaultLeavesItEnabled) {
    show([&](TTemplateEdit& d) {
        d.txtTemplate->setFocus();
        d.txtTemplate->moveCursor(QTextCursor::End);
        key(d.txtTemplate, Qt::Key_X, QStringLiteral("x"));
        EXPECT_EQ(d.txtTemplate->Text(), DefaultReplyTemplate + QLatin1Char('x'));
        EXPECT_TRUE(d.btnRestoreDefault->isEnabled());
        key(d.txtTemplate, Qt::Key_Backspace);
        EXPECT_EQ(d.txtTemplate->Text(), DefaultReplyTemplate);
        EXPECT_TRUE(d.btnRestoreDefault->isEnabled());
        d.btnCancel->click();
    });
}

TEST_F(TemplateEditTest, TheRadioButtonsSwitchTheControls) {
    AddInRegistry->SetReplyTemplate(true, QStringLiteral("Hello"));
    show([&](TTemplateEdit& d) {
        EXPECT_TRUE(d.btnRestoreDefault->isEnabled());
        d.OptNoTemplate->click();
        EXPECT_FALSE(d.txtTemplate->isEnabled());
        EXPECT_FALSE(d.btnRestoreDefault->isEnabled());
        EXPECT_TRUE(insertButtonsDisabled(d));
        d.OptUseTemplate->click();
        EXPECT_TRUE(d.txtTemplate->isEnabled());
        EXPECT_TRUE(d.btnRestoreDefault->isEnabled());
        EXPECT_TRUE(insertButtonsEnabled(d));
        d.btnCancel->click();
    });
}

TEST_F(TemplateEditTest, AnInsertReplacesTheSelectionAndLeavesTheCaretAfterIt) {
    AddInRegistry->SetReplyTemplate(true, QStringLiteral("Dear Annie,\r\nbye"));
    show([&](TTemplateEdit& d) {
        select(d, 5, 5);
        d.btnInsertName->click();
        EXPECT_EQ(d.txtTemplate->Text(), QStringLiteral("Dear &[NAME],\r\nbye"));
        EXPECT_EQ(d.txtTemplate->SelStart(), 12);
        EXPECT_EQ(d.txtTemplate->SelLength(), 0);
        EXPECT_EQ(d.focusWidget(), d.txtTemplate);
        // After the line break, whose two characters count.
        select(d, 14, 0);
        EXPECT_EQ(d.txtTemplate->SelStart(), 15);
        d.btnInsertDate->click();
        EXPECT_EQ(d.txtTemplate->Text(), QStringLiteral("Dear &[NAME],\r\n&[DATE]bye"));
        EXPECT_EQ(d.txtTemplate->SelStart(), 22);
        d.btnInsertEmail->click();
        d.btnInsertTime->click();
        EXPECT_EQ(d.txtTemplate->Text(),
                  QStringLiteral("Dear &[NAME],\r\n&[DATE]&[EMAIL]&[TIME]bye"));
        d.btnOK->click();
    });
    EXPECT_EQ(AddInRegistry->GetReplyTemplate(),
              QStringLiteral("Dear &[NAME],\r\n&[DATE]&[EMAIL]&[TIME]bye"));
}

TEST_F(TemplateEditTest, TheSignatureComesAfterTwoCarriageReturnsAndIsStoredSo) {
    AddInRegistry->SetReplyTemplate(true, QStringLiteral("Thanks"));
    show([&](TTemplateEdit& d) {
        d.txtTemplate->moveCursor(QTextCursor::End);
        d.btnInsertVantorel->click();
        EXPECT_EQ(d.txtTemplate->Text(), QStringLiteral("Thanks") + signature());
        EXPECT_EQ(d.txtTemplate->SelStart(), 6 + signature().size());
        EXPECT_EQ(d.txtTemplate->toPlainText(), QStringLiteral("Thanks\n\n") + SignatureText);
        d.btnOK->click();
    });
    EXPECT_EQ(AddInRegistry->GetReplyTemplate(), QStringLiteral("Thanks") + signature());
}

TEST_F(TemplateEditTest, TextSetByTheButtonsIsNotCutButTypingStopsAtTheLimit) {
    AddInRegistry->SetReplyTemplate(true, QString(510, QLatin1Char('a')));
    show([&](TTemplateEdit& d) {
        d.txtTemplate->moveCursor(QTextCursor::End);
        key(d.txtTemplate, Qt::Key_B, QStringLiteral("b"));
        key(d.txtTemplate, Qt::Key_B, QStringLiteral("b"));
        key(d.txtTemplate, Qt::Key_B, QStringLiteral("b"));
        EXPECT_EQ(d.txtTemplate->Text().size(), 512);
        d.btnInsertName->click();
        EXPECT_EQ(d.txtTemplate->Text().size(), 519);
        d.btnCancel->click();
    });
}

TEST_F(TemplateEditTest, RestoreAnsweredNoKeepsTheTextAndTheCaret) {
    AddInRegistry->SetReplyTemplate(true, QStringLiteral("Mine\r\nonly"));
    prompts->answers.push_back({platform::MessageAnswer::No, false});
    show([&](TTemplateEdit& d) {
        select(d, 6, 0);
        d.btnRestoreDefault->click();
        EXPECT_EQ(d.txtTemplate->Text(), QStringLiteral("Mine\r\nonly"));
        EXPECT_EQ(d.txtTemplate->SelStart(), 7);
        EXPECT_EQ(d.txtTemplate->SelLength(), 0);
        EXPECT_EQ(d.focusWidget(), d.txtTemplate);
        EXPECT_TRUE(d.btnRestoreDefault->isEnabled());
        d.btnCancel->click();
    });
    ASSERT_EQ(prompts->shown.size(), 1u);
    const platform::MessageRequest& asked = prompts->shown[0];
    EXPECT_EQ(asked.text,
              QStringLiteral("Do you want to replace your template by the default template?"));
    EXPECT_EQ(asked.icon, platform::MessageIcon::Confirmation);
    EXPECT_EQ(asked.buttons, platform::MessageButtons::YesNo);
    EXPECT_EQ(asked.defaultAnswer, platform::MessageAnswer::No);
}

TEST_F(TemplateEditTest, RestoreAnsweredYesGivesTheDefaultWithTheCaretAtItsEnd) {
    AddInRegistry->SetReplyTemplate(true, QStringLiteral("Mine"));
    prompts->answers.push_back({platform::MessageAnswer::Yes, false});
    show([&](TTemplateEdit& d) {
        select(d, 1, 2);
        d.btnRestoreDefault->click();
        EXPECT_EQ(d.txtTemplate->Text(), DefaultReplyTemplate);
        EXPECT_EQ(d.txtTemplate->SelStart(), DefaultReplyTemplate.size());
        EXPECT_EQ(d.txtTemplate->SelLength(), 0);
        EXPECT_FALSE(d.btnRestoreDefault->isEnabled());
        d.btnOK->click();
    });
    EXPECT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(AddInRegistry->GetReplyTemplate(), DefaultReplyTemplate);
}

TEST_F(TemplateEditTest, NotUsingThenOKKeepsTheTextAndShowsItDisabledNextTime) {
    AddInRegistry->SetReplyTemplate(true, QStringLiteral("Kept"));
    EXPECT_EQ(show([&](TTemplateEdit& d) {
                  d.OptNoTemplate->click();
                  d.btnOK->click();
              }),
              QDialog::Accepted);
    EXPECT_FALSE(AddInRegistry->GetUseReplyTemplate());
    EXPECT_EQ(AddInRegistry->GetReplyTemplate(), QStringLiteral("Kept"));
    show([&](TTemplateEdit& d) {
        EXPECT_TRUE(d.OptNoTemplate->isChecked());
        EXPECT_FALSE(d.OptUseTemplate->isChecked());
        EXPECT_EQ(d.txtTemplate->Text(), QStringLiteral("Kept"));
        EXPECT_FALSE(d.txtTemplate->isEnabled());
        EXPECT_FALSE(d.btnRestoreDefault->isEnabled());
        EXPECT_TRUE(insertButtonsDisabled(d));
        d.btnCancel->click();
    });
}

// A long template on a disk with too little room: OK says so and the dialog stays
// open with the text; the hive is left as it was. With room, OK stores the text.
TEST_F(TemplateEditTest, OKOnAFullDiskSaysSoAndKeepsTheText) {
    AddInRegistry->SetReplyTemplate(true, QStringLiteral("Stored"));
    const auto bytes = [this] {
        QFile file(hives.userFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray before = bytes();
    QByteArray whileFull;
    const QString sLong(60 * 1024, QLatin1Char('x'));
    std::optional<platform::DiskSpaceLimit> room(std::in_place, 20 * 1024);
    bool bStillOpen = false;
    QString sShown;
    const int nResult = show([&](TTemplateEdit& d) {
        d.txtTemplate->SetText(sLong);
        d.btnOK->click();
        bStillOpen = d.isVisible();
        sShown = d.txtTemplate->Text();
        whileFull = bytes();
        room.reset();
        d.btnOK->click();
    });
    EXPECT_TRUE(bStillOpen);
    EXPECT_EQ(sShown, sLong);
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].icon, platform::MessageIcon::Error);
    EXPECT_EQ(prompts->shown[0].text,
              QStringLiteral("Cannot save the settings to %1: the disk is full.")
                  .arg(QDir::toNativeSeparators(hives.userFile())));
    EXPECT_EQ(whileFull, before);
    EXPECT_EQ(nResult, QDialog::Accepted);
    EXPECT_EQ(AddInRegistry->GetReplyTemplate(), sLong);
}

TEST_F(TemplateEditTest, AnEmptyTextSwitchesTheTemplateOff) {
    show([&](TTemplateEdit& d) {
        d.txtTemplate->selectAll();
        key(d.txtTemplate, Qt::Key_Delete);
        EXPECT_TRUE(d.txtTemplate->Text().isEmpty());
        EXPECT_TRUE(d.OptUseTemplate->isChecked());
        d.btnOK->click();
    });
    EXPECT_FALSE(AddInRegistry->GetUseReplyTemplate());
    show([&](TTemplateEdit& d) {
        EXPECT_TRUE(d.OptNoTemplate->isChecked());
        EXPECT_TRUE(d.txtTemplate->Text().isEmpty());
        EXPECT_FALSE(d.txtTemplate->isEnabled());
        d.btnCancel->click();
    });
}

TEST_F(TemplateEditTest, CancelEscapeAndTheCloseBoxStoreNothing) {
    AddInRegistry->SetReplyTemplate(true, QStringLiteral("Stored"));
    const std::function<void(TTemplateEdit&)> ways[] = {
        [](TTemplateEdit& d) { d.btnCancel->click(); },
        [](TTemplateEdit& d) { key(&d, Qt::Key_Escape); },
        [](TTemplateEdit& d) { d.close(); },
    };
    for (const auto& leave : ways) {
        const int nResult = show([&](TTemplateEdit& d) {
            EXPECT_EQ(d.txtTemplate->Text(), QStringLiteral("Stored")) << "reloaded";
            d.txtTemplate->SetText(QStringLiteral("Edited"));
            d.OptNoTemplate->click();
            leave(d);
            EXPECT_FALSE(d.isVisible());
        });
        EXPECT_EQ(nResult, QDialog::Rejected);
        EXPECT_TRUE(AddInRegistry->GetUseReplyTemplate());
        EXPECT_EQ(AddInRegistry->GetReplyTemplate(), QStringLiteral("Stored"));
    }
}

// A long template goes through the editor and the store character for character:
// placeholders, CR LF, lone CRs and LFs, tabs, characters outside the BMP, a break at
// either end. VANTOREL_LONG_TEMPLATE_KB sets its size (for a look under a profiler).
TEST_F(TemplateEditTest, ALongTemplateWithPlaceholdersComesBackUnchangedThroughOK) {
    bool ok = false;
    const int kb = qEnvironmentVariableIntValue("VANTOREL_LONG_TEMPLATE_KB", &ok);
    const QString line = QStringLiteral(
        "Dear &[NAME] <&[EMAIL]>,\tmy message of &[DATE] at &[TIME] \U0001F600\r\n"
        "no answer yet?\r\rStill&[NAME]\n");
    QString text = QStringLiteral("\r\n");
    while (text.size() < (ok && kb > 0 ? kb : 64) * 512) {
        text += line;
    }
    text += QStringLiteral("\r\r") + SignatureText + QStringLiteral("\n");
    AddInRegistry->SetReplyTemplate(true, text);
    for (int showing = 0; showing < 2; ++showing) {
        show([&](TTemplateEdit& d) {
            EXPECT_EQ(d.txtTemplate->Text().size(), text.size());
            d.btnOK->click();
        });
        EXPECT_TRUE(AddInRegistry->GetUseReplyTemplate());
        EXPECT_TRUE(AddInRegistry->GetReplyTemplate() == text) << "showing " << showing;
    }
}

TEST_F(TemplateEditTest, F1OpensTheHelpAtContext11) {
    show([&](TTemplateEdit& d) {
        key(&d, Qt::Key_F1);
        d.btnCancel->click();
    });
    ASSERT_EQ(windows->helpShown.size(), 1u);
    EXPECT_EQ(windows->helpShown[0].first, QStringLiteral("/opt/vantorel/Vantorel.chm"));
    EXPECT_EQ(windows->helpShown[0].second, 11);
}

class TemplateEditOutlook2010Test : public TemplateEditTest {
protected:
    TemplateEditOutlook2010Test() : TemplateEditTest(14) {}
};

TEST_F(TemplateEditOutlook2010Test, TheInsertButtonsReadNADTE) {
    EXPECT_EQ(dialog->btnInsertName->text(), QStringLiteral("N"));
    EXPECT_EQ(dialog->btnInsertEmail->text(), QStringLiteral("A"));
    EXPECT_EQ(dialog->btnInsertDate->text(), QStringLiteral("D"));
    EXPECT_EQ(dialog->btnInsertTime->text(), QStringLiteral("T"));
    EXPECT_EQ(dialog->btnInsertVantorel->text(), QStringLiteral("E"));
    EXPECT_FALSE(dialog->btnInsertName->icon().isNull());
}

// What a person sees, drawn at the display's scale: in use and, after "Do not use
// templates", disabled. With VANTOREL_GRAB_DIR set, the pictures are written there as
// templateedit-SCALE.png and templateedit-SCALE-off.png.
void checkGrab(TTemplateEdit& d, int nScale) {
    const QString sDir = qEnvironmentVariable("VANTOREL_GRAB_DIR");
    for (const QString& sState : {QString(), QStringLiteral("-off")}) {
        if (!sState.isEmpty()) {
            d.OptNoTemplate->click();
        }
        const QPixmap grab = d.grab();
        EXPECT_EQ(grab.size(), QSize(552, 371) * nScale / 100);
        if (!sDir.isEmpty()) {
            QDir().mkpath(sDir);
            EXPECT_TRUE(grab.save(QDir(sDir).filePath(
                QStringLiteral("templateedit-%1%2.png").arg(nScale).arg(sState))));
        }
    }
}

TEST_F(TemplateEditTest, TheDialogAsSeen) {
    show([&](TTemplateEdit& d) {
        checkGrab(d, 100);
        d.btnCancel->click();
    });
}

// A display at 150 %: the toolkit's scale factor has to be set before the application
// starts, so the checks run in a process of their own.
TEST_F(TemplateEditTest, OnADisplayAt150PercentThePictureIs48PixelsHigh) {
    if (qEnvironmentVariable("QT_SCALE_FACTOR") != QLatin1String("1.5")) {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("1.5"));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(
            QCoreApplication::applicationFilePath(),
            {QStringLiteral("--gtest_filter=%1.%2")
                 .arg(QLatin1String(info->test_suite_name()), QLatin1String(info->name()))});
        ASSERT_TRUE(child.waitForFinished(120000));
        const QByteArray output = child.readAll();
        EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
        EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
        return;
    }
    EXPECT_EQ(dialog->imgTemplate->height(), 32) << "in the form's own pixels";
    EXPECT_EQ(qRound(dialog->imgTemplate->height() * dialog->imgTemplate->devicePixelRatioF()), 48);
    EXPECT_EQ(dialog->GetWindowsScaling(), 150);
    EXPECT_EQ(dialog->imgTemplate->pixmap().size(), QSize(48, 48)) << "IMG_TEMPEDIT_150";
    const QPixmap image =
        dialog->btnInsertName->icon().pixmap(QSize(24, 24), 1.5, QIcon::Normal, QIcon::Off);
    EXPECT_EQ(image.size(), QSize(36, 36)) << "IMG_INSERTNAME_150";
    show([&](TTemplateEdit& d) {
        checkGrab(d, 150);
        d.btnCancel->click();
    });
}

}  // namespace
