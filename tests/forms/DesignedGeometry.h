#pragma once

// Where a control of a dialog stands for its design rectangle: exactly there, but a
// check box or radio button is as wide as its caption takes (never narrower than
// designed), and a box beside one starts after its caption, its right edge kept.

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRect>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>

namespace vantorel::test {

inline bool isCaptionButton(const QWidget& w) {
    return qobject_cast<const QCheckBox*>(&w) != nullptr ||
           qobject_cast<const QRadioButton*>(&w) != nullptr;
}

// W at DESIGN; BESIDE, when given, is the check box whose caption W stands after.
inline void ExpectAsDesigned(QWidget& w, const QRect& design, const QWidget* beside = nullptr) {
    SCOPED_TRACE(w.objectName().toStdString());
    QRect expected = design;
    if (isCaptionButton(w)) {
        expected.setWidth(std::max(design.width(), w.sizeHint().width()));
    }
    if (beside != nullptr) {
        expected.setLeft(std::max(design.left(), beside->geometry().right() + 1 + 4));
    }
    EXPECT_EQ(w.geometry(), expected);
}

// Every caption of WINDOW is whole: each check box, radio button and one-line label
// is as wide as its text takes, and none reaches into a box or button beside it.
inline void ExpectWholeCaptions(QWidget& window) {
    for (QWidget* caption : window.findChildren<QWidget*>()) {
        const auto* label = qobject_cast<const QLabel*>(caption);
        const bool textLabel = label != nullptr && !label->text().isEmpty() && !label->wordWrap();
        if (!isCaptionButton(*caption) && !textLabel) {
            continue;
        }
        SCOPED_TRACE(caption->objectName().toStdString());
        EXPECT_GE(caption->width(), caption->sizeHint().width());
        // A label's text, without the access key's mark, is what must stay clear.
        QRect shown = caption->geometry();
        if (label != nullptr) {
            QString text = label->text();
            text.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(u'&');
            text.replace(u'\x01', u'&');
            shown.setWidth(label->fontMetrics().horizontalAdvance(text));
        }
        for (QWidget* other :
             caption->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            const bool box = qobject_cast<QLineEdit*>(other) != nullptr ||
                             qobject_cast<QComboBox*>(other) != nullptr ||
                             qobject_cast<QAbstractButton*>(other) != nullptr;
            if (other != caption && box) {
                EXPECT_FALSE(shown.intersects(other->geometry()))
                    << "reaches into " << other->objectName().toStdString() << ": text at "
                    << shown.left() << ", " << shown.width() << " wide; box at "
                    << other->geometry().left() << " ("
                    << QFontInfo(caption->font()).family().toStdString() << ")";
            }
        }
    }
}

}  // namespace vantorel::test
