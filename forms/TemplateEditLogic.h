#pragma once

// What the template editor does that needs no window: the texts its buttons insert,
// the insertion at the caret, the states of its controls, the captions and images of
// its insert buttons, the display scale from its marker picture, and the template as
// the settings store keeps it.

#include "settings/AddInRegistry.h"

#include <QKeySequence>
#include <QList>
#include <QString>
#include <QtGlobal>

namespace vantorel {

// The dialog's caption and its question before the default template comes back.
extern const QString kTemplateEditCaption;
extern const QString kRestoreDefaultQuestion;

// The editor's help context.
constexpr int kTemplateEditHelpContext = 11;
// The most characters the person can type into the template; text put in by the
// buttons is not cut to it.
constexpr int kTemplateTypingLimit = 512;

// The five insert buttons, from left to right.
enum class TInsertButton { Name, Email, Date, Time, Signature };
inline constexpr TInsertButton kInsertButtons[] = {TInsertButton::Name, TInsertButton::Email,
                                                   TInsertButton::Date, TInsertButton::Time,
                                                   TInsertButton::Signature};

// What a button inserts: a placeholder, or for the signature two carriage returns
// (CR CR, not CR LF) and SignatureText.
QString InsertedText(TInsertButton button);
// The button's caption: a letter under Outlook 2010 (major version 14), whose
// buttons show no hint images of their own; empty under every other version.
QString InsertButtonCaption(TInsertButton button, int nMajorVersion);
// The button's tool tip, which names its access key.
QString InsertButtonHint(TInsertButton button);
// The button's access key (Alt and a letter): the buttons show pictures, or single
// letters under Outlook 2010, so the key is the button's own shortcut.
QKeySequence InsertButtonAccessKey(TInsertButton button);
// The button's images in TemplateEditImageList: enabled and disabled.
int InsertButtonImage(TInsertButton button);
int InsertButtonDisabledImage(TInsertButton button);

// TemplateEditImageList: the resource prefixes of the ten button images, 24 pixels
// square at 100 %; index 2n is a picture enabled, 2n + 1 the same disabled.
constexpr int kTemplateEditImageCount = 10;
constexpr int kTemplateEditImageSize = 24;
// The size they are shown at on the 25-pixel insert buttons: smaller than the images,
// so the button's frame has room around them at every scale.
constexpr int kInsertButtonIconSize = 20;
QString TemplateEditImagePrefix(int nIndex);

// The display scale from the marker picture: its height in device pixels is its
// height in the form's pixels times the display's device pixel ratio.
quint16 ScaleFromMarkerHeight(int nHeight, double dDevicePixelRatio);

// The text box after inserting: TEXT at SELSTART replaces the selection of SELLENGTH
// characters; the caret ends right after the inserted text. Positions count
// characters from 0, a CR LF as two; out-of-range values are brought into the text.
struct TInsertResult {
    QString sText;
    int nCaret = 0;
};
TInsertResult InsertTemplateText(const QString& sText, int nSelStart, int nSelLength,
                                 const QString& sInsert);

// Which controls are enabled.
struct TTemplateControlStates {
    bool bText = false;            // txtTemplate
    bool bInsertButtons = false;   // the five insert buttons
    bool bRestoreDefault = false;  // btnRestoreDefault
};
// EnableTemplateControls and the end of LoadTemplate: everything follows the radio
// buttons; restoring makes sense only for a text that is not the default.
TTemplateControlStates TemplateControlStates(bool bUseTemplate, const QString& sText);
// txtTemplateChange: the restore button is switched on by a text that differs from the
// default and never off, so a text edited back to the default keeps it enabled.
bool RestoreEnabledAfterChange(bool bRestoreEnabled, const QString& sText);

// The template as the dialog shows it.
struct TTemplateSettings {
    bool bUseTemplate = true;
    QString sTemplate;
};
// LoadTemplate: a fresh profile gets DefaultReplyTemplate stored and shown.
TTemplateSettings LoadTemplateSettings(TAddInRegistry& registry);
// StoreTemplate: an empty text switches the template off, whatever the choice. Throws
// SettingsSaveError when the template could not be written.
void StoreTemplateSettings(const TTemplateSettings& settings, TAddInRegistry& registry);

// How many characters typing may add: the limit less the text that stays.
int TypingRoom(int nLength, int nSelLength);

// The template's line breaks as the text box keeps them. The box holds one
// paragraph break for each line break; the template keeps the break characters it
// was given: CR LF, a lone CR (the signature's) or a lone LF. Breaks typed into the
// box are CR LF.
class TTemplateLines {
public:
    // The template's own text.
    void SetText(const QString& sText);
    QString Text() const;
    // The text for the box: '\n' for every break.
    QString Shown() const { return m_sShown; }
    // The box's text after the person has changed it ('\n', U+2028 or U+2029 for a
    // break): the breaks that stayed keep their characters, new ones are CR LF.
    void ShownChanged(const QString& sShown);
    // Between a position in the box and one in the template. A template position
    // between the CR and the LF of a pair falls after the pair.
    int ToTextPosition(int nShown) const;
    int ToShownPosition(int nText) const;

private:
    QString m_sShown;
    QList<QString> m_breaks;  // the characters of each break, in order
};

// The box's own text with each kind of break as '\n'.
QString ShownFromBox(const QString& sBoxText);

}  // namespace vantorel
