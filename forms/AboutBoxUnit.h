#pragma once

// TAboutWindow, "About": the product's name and version, the build number read from
// the add-in library's file, and the link to the maker's support page. The
// preferences dialog creates it, shows it with ShowModal and frees it.
//
// Creating it reads the add-in library's version; when that cannot be read the
// constructor throws and there is no window. Enter and Esc both close it.

#include <QDialog>
#include <QLabel>
#include <QPushButton>

namespace vantorel {

// The maker's support page: the link's address and its caption.
extern const QString kSupportUrl;

// The add-in library's file: the library the host loads, in the add-in's folder
// (the folder of HelpFilePath). Its resolved name carries the version.
QString AddInLibraryPath();

// "Build " + the file version of SLIBRARYPATH ("Build 2.0.0.5"). Throws as
// GetFileVersionString when the file has no version.
QString BuildText(const QString& sLibraryPath);

// The logo box is 48 x 48 design pixels. Once the display scales it to 64 pixels or
// more (scales above 125 %) it shows the 72-pixel logo, else the 48-pixel one.
bool UsesLargeLogo(int nScale);
// The image resource of the logo at display scale NSCALE: the 48-pixel logo is the
// logo's 100 % resource, the 72-pixel one its 150 % resource.
QString LogoResourceName(int nScale);

class TAboutWindow : public QDialog {
public:
    // Throws when the add-in library's version cannot be read.
    explicit TAboutWindow(QWidget* parent = nullptr);

    // Shows the window modally; the result means nothing to the caller.
    int ShowModal();

    // Handlers.
    void FormCreate();
    void FormHelp();
    void LnkSupportClick();

    QLabel* imgLogo;
    QLabel* lblVersion;
    QLabel* lblBuild;
    QLabel* Label3;
    QLabel* LnkSupport;
    QPushButton* btnClose;

    static constexpr int kClientWidth = 313;
    static constexpr int kClientHeight = 239;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace vantorel
