#include "forms/TemplateEditLogic.h"

#include "tools/DisplayScale.h"

#include <algorithm>
#include <cmath>

namespace vantorel {

const QString kTemplateEditCaption = QStringLiteral("Vantorel - Template");
const QString kRestoreDefaultQuestion =
    QStringLiteral("Do you want to replace your template by the default template?");

namespace {

const int kOutlook2010 = 14;
const QString kCrLf = QStringLiteral("\r\n");

// By image index: what the picture shows.
const char* const kImagePrefixes[kTemplateEditImageCount] = {
    "IMG_INSERTNAME",      "IMG_INSERTNAME_DISABLED",
    "IMG_INSERTEMAIL",     "IMG_INSERTEMAIL_DISABLED",
    "IMG_INSERTTIME",      "IMG_INSERTTIME_DISABLED",
    "IMG_INSERTDATE",      "IMG_INSERTDATE_DISABLED",
    "IMG_INSERTSIGNATURE", "IMG_INSERTSIGNATURE_DISABLED"};

bool isBoxBreak(QChar c) {
    return c == QLatin1Char('\n') || c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

}  // namespace

QString InsertedText(TInsertButton button) {
    switch (button) {
        case TInsertButton::Name:
            return QStringLiteral("&[NAME]");
        case TInsertButton::Email:
            return QStringLiteral("&[EMAIL]");
        case TInsertButton::Date:
            return QStringLiteral("&[DATE]");
        case TInsertButton::Time:
            return QStringLiteral("&[TIME]");
        case TInsertButton::Signature:
            return QStringLiteral("\r\r") + SignatureText;
    }
    return {};
}

QString InsertButtonCaption(TInsertButton button, int nMajorVersion) {
    if (nMajorVersion != kOutlook2010) {
        return {};
    }
    switch (button) {
        case TInsertButton::Name:
            return QStringLiteral("N");
        case TInsertButton::Email:
            return QStringLiteral("A");
        case TInsertButton::Date:
            return QStringLiteral("D");
        case TInsertButton::Time:
            return QStringLiteral("T");
        case TInsertButton::Signature:
            return QStringLiteral("E");
    }
    return {};
}

QString InsertButtonHint(TInsertButton button) {
    QString sHint;
    switch (button) {
        case TInsertButton::Name:
            sHint = QStringLiteral("Insert the recipient's name");
            break;
        case TInsertButton::Email:
            sHint = QStringLiteral("Insert the recipient's e-mail address");
            break;
        case TInsertButton::Date:
            sHint = QStringLiteral("Insert the date at which the first e-mail was sent");
            break;
        case TInsertButton::Time:
            sHint = QStringLiteral("Insert the time at which the first e-mail was sent");
            break;
        case TInsertButton::Signature:
            sHint = QStringLiteral("Insert the Vantorel signature!");
            break;
    }
    return sHint + QStringLiteral(" (") +
           InsertButtonAccessKey(button).toString(QKeySequence::NativeText) + QLatin1Char(')');
}

QKeySequence InsertButtonAccessKey(TInsertButton button) {
    // The letters of the Outlook 2010 captions, but for the name, whose N is taken by
    // "Do not use templates".
    switch (button) {
        case TInsertButton::Name:
            return QKeySequence(Qt::ALT | Qt::Key_M);
        case TInsertButton::Email:
            return QKeySequence(Qt::ALT | Qt::Key_A);
        case TInsertButton::Date:
            return QKeySequence(Qt::ALT | Qt::Key_D);
        case TInsertButton::Time:
            return QKeySequence(Qt::ALT | Qt::Key_T);
        case TInsertButton::Signature:
            return QKeySequence(Qt::ALT | Qt::Key_E);
    }
    return {};
}

int InsertButtonImage(TInsertButton button) {
    switch (button) {
        case TInsertButton::Name:
            return 0;
        case TInsertButton::Email:
            return 2;
        case TInsertButton::Date:
            return 6;
        case TInsertButton::Time:
            return 4;
        case TInsertButton::Signature:
            return 8;
    }
    return 0;
}

int InsertButtonDisabledImage(TInsertButton button) {
    return InsertButtonImage(button) + 1;
}

QString TemplateEditImagePrefix(int nIndex) {
    if (nIndex < 0 || nIndex >= kTemplateEditImageCount) {
        return {};
    }
    return QLatin1String(kImagePrefixes[nIndex]) + QLatin1Char('_');
}

quint16 ScaleFromMarkerHeight(int nHeight, double dDevicePixelRatio) {
    const double dPixels = nHeight * dDevicePixelRatio;
    if (!(dPixels > 0 && dPixels < 100000)) {  // also NaN
        return 100;
    }
    return ScaleFromImageHeight(static_cast<int>(std::lround(dPixels)));
}

TInsertResult InsertTemplateText(const QString& sText, int nSelStart, int nSelLength,
                                 const QString& sInsert) {
    const int nLength = static_cast<int>(sText.size());
    const int p = std::clamp(nSelStart, 0, nLength);
    const int nRemoved = std::clamp(nSelLength, 0, nLength - p);
    TInsertResult result;
    result.sText = sText;
    result.sText.remove(p, nRemoved);
    result.sText.insert(p, sInsert);
    result.nCaret = p + static_cast<int>(sInsert.size());
    return result;
}

TTemplateControlStates TemplateControlStates(bool bUseTemplate, const QString& sText) {
    TTemplateControlStates states;
    states.bText = bUseTemplate;
    states.bInsertButtons = bUseTemplate;
    states.bRestoreDefault = bUseTemplate && sText != DefaultReplyTemplate;
    return states;
}

bool RestoreEnabledAfterChange(bool bRestoreEnabled, const QString& sText) {
    return bRestoreEnabled || sText != DefaultReplyTemplate;
}

TTemplateSettings LoadTemplateSettings(TAddInRegistry& registry) {
    TTemplateSettings settings;
    settings.bUseTemplate = registry.GetUseReplyTemplate();
    settings.sTemplate = registry.GetReplyTemplate();
    return settings;
}

void StoreTemplateSettings(const TTemplateSettings& settings, TAddInRegistry& registry) {
    registry.SaveChecked(
        [&] { registry.SetReplyTemplate(settings.bUseTemplate, settings.sTemplate); });
}

int TypingRoom(int nLength, int nSelLength) {
    return std::max(0, kTemplateTypingLimit - (nLength - std::clamp(nSelLength, 0, nLength)));
}

QString ShownFromBox(const QString& sBoxText) {
    QString sShown = sBoxText;
    for (QChar& c : sShown) {
        if (isBoxBreak(c)) {
            c = QLatin1Char('\n');
        }
    }
    return sShown;
}

void TTemplateLines::SetText(const QString& sText) {
    m_sShown.clear();
    m_breaks.clear();
    for (qsizetype i = 0; i < sText.size(); ++i) {
        const QChar c = sText[i];
        if (c == QLatin1Char('\r') && i + 1 < sText.size() && sText[i + 1] == QLatin1Char('\n')) {
            m_breaks.append(kCrLf);
            m_sShown += QLatin1Char('\n');
            ++i;
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            m_breaks.append(QString(c));
            m_sShown += QLatin1Char('\n');
        } else {
            m_sShown += c;
        }
    }
}

QString TTemplateLines::Text() const {
    QString sText;
    sText.reserve(m_sShown.size() + m_breaks.size());
    qsizetype nBreak = 0;
    for (const QChar c : m_sShown) {
        if (c == QLatin1Char('\n')) {
            sText += nBreak < m_breaks.size() ? m_breaks[nBreak] : kCrLf;
            ++nBreak;
        } else {
            sText += c;
        }
    }
    return sText;
}

void TTemplateLines::ShownChanged(const QString& sBoxText) {
    const QString sShown = ShownFromBox(sBoxText);
    // The change is what lies between the common start and the common end.
    const qsizetype nOld = m_sShown.size();
    const qsizetype nNew = sShown.size();
    qsizetype nPrefix = 0;
    while (nPrefix < nOld && nPrefix < nNew && m_sShown[nPrefix] == sShown[nPrefix]) {
        ++nPrefix;
    }
    qsizetype nSuffix = 0;
    while (nSuffix < nOld - nPrefix && nSuffix < nNew - nPrefix &&
           m_sShown[nOld - 1 - nSuffix] == sShown[nNew - 1 - nSuffix]) {
        ++nSuffix;
    }
    const qsizetype nBefore = m_sShown.left(nPrefix).count(QLatin1Char('\n'));
    const qsizetype nRemoved =
        m_sShown.mid(nPrefix, nOld - nSuffix - nPrefix).count(QLatin1Char('\n'));
    const qsizetype nAdded = sShown.mid(nPrefix, nNew - nSuffix - nPrefix).count(QLatin1Char('\n'));
    const qsizetype nAt = std::min(nBefore, m_breaks.size());
    m_breaks.remove(nAt, std::min(nRemoved, m_breaks.size() - nAt));
    m_breaks.insert(nAt, nAdded, kCrLf);
    m_sShown = sShown;
}

int TTemplateLines::ToTextPosition(int nShown) const {
    const qsizetype nEnd = std::clamp<qsizetype>(nShown, 0, m_sShown.size());
    qsizetype nText = 0;
    qsizetype nBreak = 0;
    for (qsizetype i = 0; i < nEnd; ++i) {
        if (m_sShown[i] == QLatin1Char('\n')) {
            nText += nBreak < m_breaks.size() ? m_breaks[nBreak].size() : 2;
            ++nBreak;
        } else {
            ++nText;
        }
    }
    return static_cast<int>(nText);
}

int TTemplateLines::ToShownPosition(int nText) const {
    qsizetype nCounted = 0;
    qsizetype nBreak = 0;
    qsizetype i = 0;
    for (; i < m_sShown.size() && nCounted < nText; ++i) {
        if (m_sShown[i] == QLatin1Char('\n')) {
            nCounted += nBreak < m_breaks.size() ? m_breaks[nBreak].size() : 2;
            ++nBreak;
        } else {
            ++nCounted;
        }
    }
    return static_cast<int>(i);
}

}  // namespace vantorel
