// The preferences dialog: its logic without a window, then the dialog offscreen on a
// real settings hive and a real mailbox with the profile's categories.

#include "DesignedGeometry.h"
#include "forms/AboutBoxUnit.h"
#include "forms/CustomSendTaskUnit.h"
#include "forms/DefaultSettingsUnit.h"
#include "forms/ElidedText.h"
#include "forms/SettingsLogic.h"
#include "forms/SettingsUnit.h"
#include "forms/TemplateEditUnit.h"
#include "host/engine/Engine.h"
#include "platform/AtomicWrite.h"
#include "platform/Clock.h"
#include "platform/RegionalSettings.h"
#include "settings/AddInRegistry.h"
#include "tests/support/RecordingPrompts.h"
#include "tests/support/ScriptedWindows.h"
#include "tests/support/TempHives.h"
#include "tests/support/TestSystem.h"
#include "tools/DisplayScale.h"
#include "tools/Globals.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>

using namespace vantorel;

namespace {

const QDateTime kNow(QDate(2026, 12, 10), QTime(9, 5));

QString shortDate() {
    return QLocale().toString(kNow.date(), platform::RegionalSettings::current().shortDateFormat);
}

// ---------------------------------------------------------------------------
// The sample subject.

struct SampleRow {
    const char* name;
    TSubjectChoices choices;
    const char* expected;  // "%DATE" stands for the short date
};

void PrintTo(const SampleRow& row, std::ostream* os) {
    *os << row.name;
}

TSubjectChoices subject(bool name, bool email, bool date, bool time, bool text,
                        const QString& sText = QString()) {
    return TSubjectChoices{name, email, date, time, text, sText};
}

class SampleSubjectTest : public ::testing::TestWithParam<SampleRow> {};

TEST_P(SampleSubjectTest, FollowsTheTaskSubject) {
    const SampleRow& row = GetParam();
    QString expected = QString::fromUtf8(row.expected);
    expected.replace(QStringLiteral("%DATE"), shortDate());
    EXPECT_EQ(SampleSubject(row.choices, kNow), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SampleSubjectTest,
    ::testing::Values(
        SampleRow{"NoneTicked", subject(false, false, false, false, false), "Email subject"},
        SampleRow{"AddressOnly", subject(false, true, false, false, false),
                  "john.smith@example.com: Email subject"},
        SampleRow{"NameOnly", subject(true, false, false, false, false),
                  "John Smith: Email subject"},
        SampleRow{"NameAndAddress", subject(true, true, false, false, false),
                  "John Smith (john.smith@example.com): Email subject"},
        SampleRow{"EmptyTextTicked", subject(true, false, false, false, true, QString()),
                  "John Smith: Email subject"},
        SampleRow{"EmptyTextTickedAlone", subject(false, false, false, false, true, QString()),
                  "Email subject"},
        SampleRow{"TextNameAndDate",
                  subject(true, false, true, false, true, QStringLiteral("[Vantorel]")),
                  "[Vantorel] John Smith: Email subject - %DATE"},
        SampleRow{"TextAlone", subject(false, false, false, false, true, QStringLiteral("FYI")),
                  "FYI Email subject"},
        SampleRow{"TextUnticked", subject(false, false, false, false, false, QStringLiteral("FYI")),
                  "Email subject"},
        SampleRow{"TimeOnly", subject(false, false, false, true, false), "Email subject - 09:05"},
        SampleRow{"DateAndTime", subject(false, false, true, true, false),
                  "Email subject - %DATE 09:05"}),
    [](const ::testing::TestParamInfo<SampleRow>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// The category box.

struct CategoryRow {
    const char* name;
    QStringList master;
    QString stored;
    QStringList items;
    int selected;
};

void PrintTo(const CategoryRow& row, std::ostream* os) {
    *os << row.name;
}

class CategoryItemsTest : public ::testing::TestWithParam<CategoryRow> {};

TEST_P(CategoryItemsTest, ListAndSelection) {
    const CategoryRow& row = GetParam();
    const TCategoryItems result = CategoryItems(row.master, row.stored);
    EXPECT_EQ(result.items, row.items);
    EXPECT_EQ(result.nSelected, row.selected);
}

const QString kNone = QStringLiteral("(none)");
const QString kOwn = QStringLiteral("Vantorel");
const QString kWork = QStringLiteral("Work");
const QString kHome = QStringLiteral("Home");

INSTANTIATE_TEST_SUITE_P(
    Rows, CategoryItemsTest,
    ::testing::Values(
        CategoryRow{"EmptySelectsNone", {kWork, kHome}, QString(), {kNone, kOwn, kWork, kHome}, 0},
        CategoryRow{"OwnCategory", {kWork}, kOwn, {kNone, kOwn, kWork}, 1},
        CategoryRow{"MasterCategory", {kWork, kHome}, kHome, {kNone, kOwn, kWork, kHome}, 3},
        CategoryRow{"MissingIsAppended",
                    {kWork},
                    QStringLiteral("Gone"),
                    {kNone, kOwn, kWork, QStringLiteral("Gone")},
                    3},
        CategoryRow{"LetterCaseCounts",
                    {kWork},
                    QStringLiteral("work"),
                    {kNone, kOwn, kWork, QStringLiteral("work")},
                    3},
        CategoryRow{"LastEqualEntryWins", {kOwn, kWork}, kOwn, {kNone, kOwn, kOwn, kWork}, 2},
        CategoryRow{"NoMasterCategories", {}, QString(), {kNone, kOwn}, 0},
        CategoryRow{"NoMasterCategoriesStored", {}, kWork, {kNone, kOwn, kWork}, 2}),
    [](const ::testing::TestParamInfo<CategoryRow>& info) { return std::string(info.param.name); });

TEST(SettingsLogicTest, WhatOkStoresAsCategory) {
    EXPECT_EQ(CategoryToStore(true, kNone), QString());
    EXPECT_EQ(CategoryToStore(false, kWork), kWork);
    EXPECT_EQ(CategoryToStore(false, QStringLiteral("Typed name")), QStringLiteral("Typed name"));
}

TEST(SettingsLogicTest, ShownHeightIsTheDesignedShare) {
    EXPECT_EQ(ShownOuterHeight(493 + TSettings::kFrameHeight), 471);
    EXPECT_EQ(ShownOuterHeight(1000), 902);
    EXPECT_EQ(ShownOuterHeight(0), 0);
}

// ---------------------------------------------------------------------------
// The dialog.

class SettingsTest : public ::testing::Test {
protected:
    SettingsTest() : clock(std::make_shared<platform::ManualClock>(kNow)) {
        platform::installClock(clock);
        engine = std::make_unique<engine::Engine>(dir.filePath(QStringLiteral("mailbox.db")));
        OutlookApp = engine->application();
        AddInRegistry = new TAddInRegistry();
        HelpFilePath = dir.filePath(QStringLiteral("Vantorel.chm"));
        DisplayScale = 100;
    }
    ~SettingsTest() override {
        delete AddInRegistry;
        AddInRegistry = nullptr;
        OutlookApp.reset();
        HelpFilePath.clear();
        DisplayScale = 0;
        platform::installClock(nullptr);
    }

    // Shows a new dialog; PERSON acts in it (and in any window it opens).
    int show(const std::function<void(TSettings&)>& person) {
        TSettings dialog;
        windows->person = [&](QDialog& shown) {
            if (&shown == &dialog) {
                person(dialog);
            } else {
                opened.push_back(shown.objectName());
            }
        };
        return dialog.ShowModal();
    }

    void installLibrary(const QString& version) { test::installAddInLibrary(dir.path(), version); }

    static void key(QWidget* target, int code) {
        QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &press);
    }

    TAddInRegistry& registry() { return *AddInRegistry; }

    QTemporaryDir dir;
    test::TempHives hives;
    test::PromptsScope prompts;
    test::WindowsScope windows;
    std::shared_ptr<platform::ManualClock> clock;
    std::unique_ptr<engine::Engine> engine;
    std::vector<QString> opened;
};

struct ControlRow {
    const char* name;
    QRect geometry;
    const char* caption;
};

TEST_F(SettingsTest, TheWindowAsDesigned) {
    TSettings dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Vantorel - Preferences"));
    EXPECT_EQ(dialog.size(), QSize(467, 493));
    EXPECT_EQ(dialog.StartHeight(), 493 + TSettings::kFrameHeight);
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << "not resizable";
    EXPECT_TRUE(dialog.btnOK->isDefault());
    EXPECT_EQ(dialog.font().pixelSize(), 11);
    EXPECT_TRUE(dialog.lblSampleTitle->font().bold());
    EXPECT_TRUE(dialog.lblSample->wordWrap());
    // The sample at its design place, three lines high, above the categories.
    EXPECT_EQ(dialog.lblSample->geometry().topLeft(), QPoint(61, 184));
    EXPECT_EQ(dialog.lblSample->width(), 398);
    EXPECT_GE(dialog.lblSample->height(), 3 * dialog.lblSample->fontMetrics().lineSpacing());
    EXPECT_LT(dialog.lblSample->geometry().bottom(), dialog.lblCategories->y());
    EXPECT_EQ(dialog.lblSetCategories->buddy(), dialog.cmbCategories);
    EXPECT_TRUE(dialog.cmbCategories->isEditable());

    const ControlRow rows[] = {
        {"btnOK", {303, 460, 75, 25}, "&OK"},
        {"btnCancel", {384, 460, 75, 25}, "&Cancel"},
        {"chkDisplayName", {59, 35, 239, 17}, "Include Recipient Display &Name"},
        {"chkEmail", {59, 58, 239, 17}, "Include Recipient &E-mail"},
        {"chkDate", {59, 81, 239, 17}, "Include &Date"},
        {"chkTime", {59, 104, 239, 17}, "Include &Time"},
        {"chkText", {59, 127, 97, 17}, "Include this te&xt:"},
        {"txtText", {162, 125, 136, 21}, ""},
        {"cmbCategories", {167, 259, 145, 21}, ""},
        {"chkShowQuickIntrodution", {59, 411, 239, 17}, "&Show quick introduction at startup"},
        {"pnlLineRemindersSubjects", {107, 14, 352, 1}, ""},
        {"pnlLineStartup", {109, 334, 350, 1}, ""},
        {"pnlLineCategories", {66, 241, 393, 1}, ""},
        {"btnAbout", {384, 355, 75, 25}, "&About..."},
        {"btnHelp", {8, 460, 75, 25}, "&Help..."},
        {"imgSubjects", {8, 27, 32, 32}, ""},
        {"imgCategories", {8, 254, 32, 32}, ""},
        {"imgStartup", {8, 347, 32, 32}, ""},
    };
    for (const ControlRow& row : rows) {
        QWidget* w = dialog.findChild<QWidget*>(QLatin1String(row.name));
        ASSERT_NE(w, nullptr) << row.name;
        test::ExpectAsDesigned(
            *w, row.geometry,
            QLatin1String(row.name) == QLatin1String("txtText") ? dialog.chkText : nullptr);
        if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            EXPECT_EQ(button->text(), QLatin1String(row.caption)) << row.name;
        }
    }
    const std::pair<const char*, const char*> labels[] = {
        {"lblSubjects", "Reminders Subjects"},
        {"lblSampleTitle", "Sample Subject:"},
        {"lblCategories", "Categories"},
        {"lblSetCategories", "Set Task Cate&gory to"}};
    for (const auto& [name, caption] : labels) {
        auto* label = dialog.findChild<QLabel*>(QLatin1String(name));
        ASSERT_NE(label, nullptr) << name;
        EXPECT_EQ(label->text(), QLatin1String(caption)) << name;
    }
    for (QLabel* picture : {dialog.imgSubjects, dialog.imgCategories, dialog.imgStartup}) {
        ASSERT_FALSE(picture->pixmap().isNull()) << picture->objectName().toStdString();
        EXPECT_EQ(picture->pixmap().size(), QSize(32, 32));
        EXPECT_TRUE(picture->hasScaledContents());
    }
}

TEST_F(SettingsTest, ShownShorterWithTheStartupBoxBesideAbout) {
    show([](TSettings& d) {
        EXPECT_EQ(d.OuterHeight(), 471);
        EXPECT_EQ(d.height(), 471 - TSettings::kFrameHeight);
        EXPECT_EQ(d.btnOK->geometry(), QRect(303, 409, 75, 25));
        EXPECT_EQ(d.btnCancel->geometry(), QRect(384, 409, 75, 25));
        EXPECT_EQ(d.btnHelp->geometry(), QRect(8, 409, 75, 25));
        EXPECT_EQ(d.chkShowQuickIntrodution->geometry(), QRect(59, 355, 239, 17));
        EXPECT_EQ(d.btnAbout->geometry(), QRect(384, 355, 75, 25));
        d.btnCancel->click();
    });
}

TEST_F(SettingsTest, LoadsTheStoredChoices) {
    registry().SetIncludeNameInSubject(true);
    registry().SetIncludeEMailInSubject(false);
    registry().SetIncludeDateInSubject(true);
    registry().SetIncludeTimeInSubject(false);
    registry().SetIncludeSpecificTextInSubject(true, QStringLiteral("[Vantorel]"));
    registry().SetStartWizard(false);
    show([](TSettings& d) {
        EXPECT_TRUE(d.chkDisplayName->isChecked());
        EXPECT_FALSE(d.chkEmail->isChecked());
        EXPECT_TRUE(d.chkDate->isChecked());
        EXPECT_FALSE(d.chkTime->isChecked());
        EXPECT_TRUE(d.chkText->isChecked());
        EXPECT_TRUE(d.txtText->isEnabled());
        EXPECT_EQ(d.txtText->text(), QStringLiteral("[Vantorel]"));
        EXPECT_FALSE(d.chkShowQuickIntrodution->isChecked());
        EXPECT_EQ(d.lblSample->text(),
                  QStringLiteral("[Vantorel] John Smith: Email subject - ") + shortDate());
        d.btnCancel->click();
    });
}

TEST_F(SettingsTest, TextUntickedButStoredStaysAndIsStoredAgain) {
    registry().SetIncludeSpecificTextInSubject(false, QStringLiteral("FYI"));
    show([](TSettings& d) {
        EXPECT_FALSE(d.chkText->isChecked());
        EXPECT_FALSE(d.txtText->isEnabled());
        EXPECT_EQ(d.txtText->text(), QStringLiteral("FYI"));
        d.chkText->click();
        EXPECT_TRUE(d.txtText->isEnabled());
        d.chkText->click();
        EXPECT_FALSE(d.txtText->isEnabled()) << "unticking disables the edit";
        EXPECT_EQ(d.txtText->text(), QStringLiteral("FYI")) << "and keeps its text";
        d.btnOK->click();
    });
    QString text;
    EXPECT_FALSE(registry().GetIncludeSpecificTextInSubject(text));
    EXPECT_EQ(text, QStringLiteral("FYI"));
}

TEST_F(SettingsTest, TheSampleFollowsEveryChange) {
    show([](TSettings& d) {
        d.chkDisplayName->setChecked(false);
        d.chkEmail->setChecked(false);
        d.chkDate->setChecked(false);
        d.chkTime->setChecked(false);
        d.chkText->setChecked(false);
        d.txtText->clear();
        EXPECT_EQ(d.lblSample->text(), QStringLiteral("Email subject"));
        d.chkEmail->click();
        EXPECT_EQ(d.lblSample->text(), QStringLiteral("john.smith@example.com: Email subject"));
        d.chkText->click();
        EXPECT_EQ(d.lblSample->text(), QStringLiteral("john.smith@example.com: Email subject"))
            << "an empty text adds nothing";
        d.txtText->setText(QStringLiteral("Re"));
        EXPECT_EQ(d.lblSample->text(), QStringLiteral("Re john.smith@example.com: Email subject"));
        d.chkTime->click();
        EXPECT_EQ(d.lblSample->text(),
                  QStringLiteral("Re john.smith@example.com: Email subject - 09:05"));
        d.btnCancel->click();
    });
}

// Ticking "Include Time" shows the time in the sample whatever its length: a sample
// of up to three lines shows whole, a longer one shortened in its middle, so its end,
// the date and the time, shows. Unticking takes the time away again.
struct ShownSampleRow {
    const char* name;
    const char* text;  // the text of "Include this text:"
    bool bWhole;       // the sample fits the label
};

void PrintTo(const ShownSampleRow& row, std::ostream* os) {
    *os << row.name;
}

class SettingsSampleShownTest : public SettingsTest,
                                public ::testing::WithParamInterface<ShownSampleRow> {};

TEST_P(SettingsSampleShownTest, TickingIncludeTimeShowsTheTime) {
    const ShownSampleRow& row = GetParam();
    registry().SetIncludeSpecificTextInSubject(true, QLatin1String(row.text));
    registry().SetIncludeNameInSubject(true);
    registry().SetIncludeEMailInSubject(true);
    registry().SetIncludeDateInSubject(true);
    registry().SetIncludeTimeInSubject(false);
    show([&row](TSettings& d) {
        const auto* sample = dynamic_cast<TElidedLabel*>(d.lblSample);
        ASSERT_NE(sample, nullptr) << "the sample label shortens what does not fit";
        const QString dateOnly = QStringLiteral(" - ") + shortDate();
        const QString dateAndTime = dateOnly + QStringLiteral(" 09:05");
        for (int round = 0; round < 2; ++round) {
            d.chkTime->click();
            EXPECT_TRUE(d.lblSample->text().endsWith(dateAndTime));
            EXPECT_TRUE(sample->ShownText().endsWith(dateAndTime)) << "the time shows";
            EXPECT_TRUE(sample->Fits(sample->ShownText()));
            EXPECT_EQ(sample->ShownText() == d.lblSample->text(), row.bWhole);
            // Whole: every line of the wrapped sample lies within the label.
            const QRect wrapped = d.lblSample->fontMetrics().boundingRect(
                d.lblSample->contentsRect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                d.lblSample->text());
            EXPECT_EQ(wrapped.height() <= d.lblSample->contentsRect().height(), row.bWhole);

            const QString folder = qEnvironmentVariable("VANTOREL_GRAB_DIR");
            if (!folder.isEmpty() && round == 0) {
                d.grab().save(folder + QStringLiteral("/preferences-sample-%1.png")
                                           .arg(QLatin1String(GetParam().name)));
            }
            d.chkTime->click();
            EXPECT_TRUE(sample->ShownText().endsWith(dateOnly)) << "the time goes";
            EXPECT_FALSE(sample->ShownText().contains(QStringLiteral("09:05")));
        }
        d.btnCancel->click();
    });
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SettingsSampleShownTest,
    ::testing::Values(ShownSampleRow{"OneLine", "[Vantorel]", true},
                      ShownSampleRow{"TwoLines", "[Follow-up] of the long kind", true},
                      ShownSampleRow{
                          "ThreeLines",
                          "[Follow-up] Quarterly figures of the northern sales region "
                          "with the revised forecast for the coming year and the questions",
                          true},
                      ShownSampleRow{"TooLong",
                                     "[Follow-up] Quarterly figures of the northern sales region "
                                     "with the revised forecast for the coming year and the "
                                     "questions raised at the last board meeting in November",
                                     false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsTest, OkStoresEveryChoice) {
    show([](TSettings& d) {
        d.chkDisplayName->setChecked(true);
        d.chkEmail->setChecked(true);
        d.chkDate->setChecked(false);
        d.chkTime->setChecked(true);
        d.chkText->setChecked(true);
        d.txtText->setText(QStringLiteral("[Follow-up]"));
        d.chkShowQuickIntrodution->setChecked(false);
        d.cmbCategories->setCurrentIndex(1);
        d.btnOK->click();
    });
    EXPECT_TRUE(registry().GetIncludeNameInSubject());
    EXPECT_TRUE(registry().GetIncludeEMailInSubject());
    EXPECT_FALSE(registry().GetIncludeDateInSubject());
    EXPECT_TRUE(registry().GetIncludeTimeInSubject());
    QString text;
    EXPECT_TRUE(registry().GetIncludeSpecificTextInSubject(text));
    EXPECT_EQ(text, QStringLiteral("[Follow-up]"));
    EXPECT_FALSE(registry().GetStartWizard());
    EXPECT_EQ(registry().GetRemindersCategory(), QStringLiteral("Vantorel"));
}

// On a full disk OK says so in an error box of its own, not through the error path
// that "IsVerbose" silences, and the dialog stays open with the choices, so OK once
// there is room stores them.
TEST_F(SettingsTest, OkOnAFullDiskSaysSoAndStaysOpen) {
    registry().SetIncludeTimeInSubject(false);
    std::exception_ptr reported;
    bool stillOpen = false;
    bool storedWhileFull = true;
    int result = 0;
    {
        TSettings dialog;
        dialog.OnHandlerError = [&](std::exception_ptr error) { reported = error; };
        std::optional<platform::DiskSpaceLimit> full(std::in_place, 0);
        windows->person = [&](QDialog& shown) {
            if (&shown != &dialog) {
                return;
            }
            dialog.chkTime->setChecked(true);
            dialog.btnOK->click();
            stillOpen = dialog.isVisible() && dialog.chkTime->isChecked();
            storedWhileFull = registry().GetIncludeTimeInSubject();
            full.reset();
            dialog.btnOK->click();
        };
        result = dialog.ShowModal();
    }
    EXPECT_TRUE(stillOpen);
    EXPECT_FALSE(storedWhileFull);
    EXPECT_FALSE(reported) << "not left to the error path";
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].icon, platform::MessageIcon::Error);
    EXPECT_EQ(prompts->shown[0].text,
              QStringLiteral("Cannot save the settings to %1: the disk is full.")
                  .arg(QDir::toNativeSeparators(hives.userFile())));
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(registry().GetIncludeTimeInSubject());
}

TEST_F(SettingsTest, CancelAndTheCloseBoxStoreNothing) {
    registry().SetIncludeNameInSubject(false);
    registry().SetRemindersCategory(QStringLiteral("Vantorel"));
    show([](TSettings& d) {
        d.chkDisplayName->setChecked(true);
        d.cmbCategories->setCurrentIndex(0);
        d.btnCancel->click();
    });
    show([](TSettings& d) {
        d.chkDisplayName->setChecked(true);
        key(d.chkDate, Qt::Key_Escape);
    });
    show([](TSettings& d) {
        d.chkDisplayName->setChecked(true);
        d.close();
    });
    EXPECT_FALSE(registry().GetIncludeNameInSubject());
    EXPECT_EQ(registry().GetRemindersCategory(), QStringLiteral("Vantorel"));
    show([](TSettings& d) {
        EXPECT_FALSE(d.chkDisplayName->isChecked()) << "the next opening shows the stored values";
        EXPECT_EQ(d.cmbCategories->currentIndex(), 1);
        d.btnCancel->click();
    });
}

TEST_F(SettingsTest, TheProfileCategoriesAndTheStoredOne) {
    engine->addCategory(QStringLiteral("Work"));
    engine->addCategory(QStringLiteral("Home"));
    registry().SetRemindersCategory(QStringLiteral("Gone"));
    show([](TSettings& d) {
        QStringList items;
        for (int i = 0; i < d.cmbCategories->count(); ++i) {
            items << d.cmbCategories->itemText(i);
        }
        EXPECT_EQ(items, (QStringList{kNone, kOwn, QStringLiteral("Work"), QStringLiteral("Home"),
                                      QStringLiteral("Gone")}));
        EXPECT_EQ(d.cmbCategories->currentIndex(), 4);
        EXPECT_EQ(d.cmbCategories->currentText(), QStringLiteral("Gone"));
        d.btnOK->click();
    });
    EXPECT_EQ(registry().GetRemindersCategory(), QStringLiteral("Gone"));

    registry().SetRemindersCategory(QStringLiteral("Home"));
    show([](TSettings& d) {
        EXPECT_EQ(d.cmbCategories->count(), 4) << "a known category is not added again";
        EXPECT_EQ(d.cmbCategories->currentText(), QStringLiteral("Home"));
        d.btnCancel->click();
    });
}

TEST_F(SettingsTest, NoneStoresAnEmptyCategory) {
    registry().SetRemindersCategory(QStringLiteral("Vantorel"));
    show([](TSettings& d) {
        d.cmbCategories->setCurrentIndex(0);
        d.btnOK->click();
    });
    EXPECT_EQ(registry().GetRemindersCategory(), QString());
    show([](TSettings& d) {
        EXPECT_EQ(d.cmbCategories->currentIndex(), 0) << "empty selects (none)";
        d.btnCancel->click();
    });
}

TEST_F(SettingsTest, ATypedCategoryIsStoredAsTyped) {
    show([](TSettings& d) {
        d.cmbCategories->setFocus();
        d.cmbCategories->setEditText(QStringLiteral("Follow ups"));
        d.btnOK->click();
    });
    EXPECT_EQ(registry().GetRemindersCategory(), QStringLiteral("Follow ups"));
}

TEST_F(SettingsTest, HelpAtItsDefaultPageAndF1AtContext12) {
    show([](TSettings& d) {
        d.btnHelp->click();
        key(d.chkDate, Qt::Key_F1);
        d.btnCancel->click();
    });
    ASSERT_EQ(windows->helpShown.size(), 2u);
    EXPECT_EQ(windows->helpShown[0], std::make_pair(HelpFilePath, -1));
    EXPECT_EQ(windows->helpShown[1], std::make_pair(HelpFilePath, 12));
}

TEST_F(SettingsTest, AboutOpensOverTheDialog) {
    installLibrary(QStringLiteral("2.0.0.5"));
    show([](TSettings& d) {
        d.btnAbout->click();
        EXPECT_TRUE(d.isVisible());
        d.btnCancel->click();
    });
    EXPECT_EQ(opened, std::vector<QString>{QStringLiteral("AboutWindow")});
    EXPECT_TRUE(prompts->shown.empty());
}

TEST_F(SettingsTest, AnAboutBoxThatFailsLeavesTheDialogOpen) {
    // No library in the add-in's folder: its version cannot be read.
    std::exception_ptr reported;
    int result = 0;
    {
        TSettings dialog;
        dialog.OnHandlerError = [&](std::exception_ptr error) { reported = error; };
        windows->person = [&](QDialog& shown) {
            if (&shown != &dialog) {
                opened.push_back(shown.objectName());
                return;
            }
            dialog.btnAbout->click();
            EXPECT_TRUE(dialog.isVisible()) << "the dialog stays open";
            dialog.chkDate->setChecked(true);
            dialog.btnOK->click();
        };
        result = dialog.ShowModal();
    }
    EXPECT_TRUE(opened.empty()) << "no About box";
    ASSERT_TRUE(reported) << "the error reached the error path";
    EXPECT_THROW(std::rethrow_exception(reported), std::runtime_error);
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(registry().GetIncludeDateInSubject()) << "the dialog went on working";
    EXPECT_TRUE(prompts->shown.empty());
}

TEST_F(SettingsTest, WithoutAnErrorPathTheErrorIsShown) {
    show([](TSettings& d) {
        d.btnAbout->click();
        d.btnCancel->click();
    });
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].icon, platform::MessageIcon::Error);
    EXPECT_TRUE(prompts->shown[0].text.contains(QStringLiteral(VANTOREL_ADDIN_FILE_NAME)))
        << prompts->shown[0].text.toStdString();
}

TEST_F(SettingsTest, BtnAboutClickRaisesToItsCaller) {
    TSettings dialog;
    EXPECT_THROW(dialog.btnAboutClick(), std::runtime_error);
    EXPECT_TRUE(opened.empty());
}

// Writes the shown window to VANTOREL_GRAB_DIR, when set, to be looked at.
TEST_F(SettingsTest, Looks) {
    DisplayScale = ScaleFromDotsPerInch(96.0 * qApp->devicePixelRatio());
    engine->addCategory(QStringLiteral("Work"));
    registry().SetIncludeNameInSubject(true);
    registry().SetIncludeDateInSubject(true);
    registry().SetIncludeSpecificTextInSubject(true, QStringLiteral("[Vantorel]"));
    show([](TSettings& d) {
        const QPixmap picture = d.grab();
        EXPECT_EQ(picture.deviceIndependentSize().toSize(), d.size());
        const QString folder = qEnvironmentVariable("VANTOREL_GRAB_DIR");
        if (!folder.isEmpty()) {
            picture.save(QDir(folder).filePath(
                QStringLiteral("preferences-%1.png").arg(ScaleToSuffix(DisplayScale))));
        }
        d.btnCancel->click();
    });
}

}  // namespace

// "Include this text:" and every other caption of the dialogs is shown whole, beside
// the boxes it names, in the font and at the scale the dialog is shown in.
TEST_F(SettingsTest, EveryCaptionOfTheDialogsIsWhole) {
    TSettings preferences;
    test::ExpectWholeCaptions(preferences);
    EXPECT_EQ(preferences.chkText->text(), QStringLiteral("Include this te&xt:"));
    EXPECT_GT(preferences.txtText->x(), preferences.chkText->geometry().right());
    TDefaultSettings defaults;
    test::ExpectWholeCaptions(defaults);
    TCustomSendTask custom;
    test::ExpectWholeCaptions(custom);
    TTemplateEdit editor;
    test::ExpectWholeCaptions(editor);
}
