// The add-in's dialogs inside the mail client belong to the client's window: while one
// is open the client's window is its owner and takes no input; afterwards it takes
// input again. The client's window here is a plain Win32 window of the test's own.

#include "forms/ClientOwned.h"
#include "platform/ClientWindow.h"

#include <QDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <windows.h>

namespace vantorel {
namespace {

class ClientWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("DISPLAY")) {
            GTEST_SKIP() << "needs a display: scripts/test-windows runs the tests on one";
        }
        client = CreateWindowExW(0, L"STATIC", L"Mail client", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(client, nullptr);
    }
    void TearDown() override {
        platform::installClientWindow(nullptr);
        if (client != nullptr) {
            DestroyWindow(client);
        }
    }

    HWND client = nullptr;
};

TEST_F(ClientWindowTest, ADialogBelongsToTheClientsWindowWhileItIsOpen) {
    struct Case {
        const char* name;
        bool clientEnabledBefore;
    };
    for (const Case& row : {Case{"enabled client", true}, Case{"client disabled already", false}}) {
        SCOPED_TRACE(row.name);
        EnableWindow(client, row.clientEnabledBefore ? TRUE : FALSE);
        platform::installClientWindow(
            [this] { return reinterpret_cast<platform::NativeWindow>(client); });
        QDialog dialog;
        HWND owner = nullptr;
        bool clientEnabledMeanwhile = true;
        // Once the dialog is up: what was asked before showing it is done first.
        QTimer::singleShot(0, &dialog, [&] {
            QTimer::singleShot(0, &dialog, [&] {
                owner = GetWindow(reinterpret_cast<HWND>(dialog.winId()), GW_OWNER);
                clientEnabledMeanwhile = IsWindowEnabled(client) != FALSE;
                dialog.accept();
            });
        });
        EXPECT_EQ(RunOwnedModal(dialog), QDialog::Accepted);
        EXPECT_EQ(owner, client);
        EXPECT_FALSE(clientEnabledMeanwhile);
        EXPECT_EQ(IsWindowEnabled(client) != FALSE, row.clientEnabledBefore)
            << "the client's window is as it was";
    }
}

TEST_F(ClientWindowTest, WithoutAClientWindowADialogIsAWindowOfItsOwn) {
    platform::installClientWindow([] { return platform::NativeWindow{0}; });
    QDialog dialog;
    HWND owner = client;
    QTimer::singleShot(0, &dialog, [&] {
        QTimer::singleShot(0, &dialog, [&] {
            owner = GetWindow(reinterpret_cast<HWND>(dialog.winId()), GW_OWNER);
            dialog.reject();
        });
    });
    EXPECT_EQ(RunOwnedModal(dialog), QDialog::Rejected);
    EXPECT_EQ(owner, nullptr);
    EXPECT_TRUE(IsWindowEnabled(client));
}

}  // namespace
}  // namespace vantorel
