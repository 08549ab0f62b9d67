// On Windows the shell does it: the wave file through PlaySoundW, web addresses and
// help pages through the shell's "open" action. When the shell cannot open a page,
// a message box tells where the page is and what Windows answered, as the desktop
// host does where no browser starts: the forms' handlers call these directly.

#include "platform/SystemServices.h"

#include "platform/Prompts.h"
#include "platform/windows/WinRegistryHive.h"

#include <QDir>

#include <windows.h>

#include <mmsystem.h>
#include <shellapi.h>

namespace vantorel::platform {

namespace {

const wchar_t* wide(const QString& text) {
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

// ShellExecuteW's own failure codes where they are no Windows error codes.
QString shellErrorText(INT_PTR code) {
    switch (code) {
        case 0:
            return QStringLiteral("the system is out of memory or resources");
        case SE_ERR_SHARE:
            return QStringLiteral("a sharing violation occurred");
        case SE_ERR_ASSOCINCOMPLETE:
        case SE_ERR_NOASSOC:
            return QStringLiteral("no program is associated with it");
        case SE_ERR_DDETIMEOUT:
        case SE_ERR_DDEFAIL:
        case SE_ERR_DDEBUSY:
            return QStringLiteral("the program did not answer the request (DDE error %1)")
                .arg(code);
        case SE_ERR_DLLNOTFOUND:
            return QStringLiteral("a library the program needs was not found");
        default:
            return windowsErrorText(static_cast<unsigned long>(code));
    }
}

// Opens TARGET (an address or a file) with the shell; when it cannot, says so.
void shellOpen(const QString& target) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", wide(target), nullptr, nullptr, SW_SHOWNORMAL));
    if (result > 32) {
        return;
    }
    showMessage(QStringLiteral("No program could be started to show the page (%1). Open it "
                               "yourself:\n\n%2")
                    .arg(shellErrorText(result), target),
                MessageIcon::Information);
}

class ShellSound : public SoundPlayer {
public:
    void playWave(const QString& path) override {
        // Asynchronous, and silent rather than the system's default sound when the file
        // cannot be played: a reminder's sound is no reason to disturb the poll.
        PlaySoundW(wide(QDir::toNativeSeparators(path)), nullptr,
                   SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
    }
};

class ShellUrls : public UrlOpener {
public:
    void openUrl(const QString& url) override { shellOpen(url); }
};

class ShellHelp : public HelpViewer {
public:
    void showContext(const QString& helpFile, int context) override {
        shellOpen(QDir::toNativeSeparators(helpPagePath(helpFile, context)));
    }
    void showTopic(const QString& helpFile) override {
        shellOpen(QDir::toNativeSeparators(helpPagePath(helpFile)));
    }
};

}  // namespace

std::shared_ptr<SoundPlayer> systemSoundPlayer() {
    return std::make_shared<ShellSound>();
}

std::shared_ptr<UrlOpener> systemUrlOpener() {
    return std::make_shared<ShellUrls>();
}

std::shared_ptr<HelpViewer> systemHelpViewer() {
    return std::make_shared<ShellHelp>();
}

}  // namespace vantorel::platform
