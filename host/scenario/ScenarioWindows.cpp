#include "host/scenario/ScenarioWindows.h"

#include "host/scenario/ScriptLexer.h"
#include "tools/TranscriptText.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include <stdexcept>

namespace vantorel::host {

namespace {

[[noreturn]] void cannot(const QString& message) {
    throw std::invalid_argument(message.toStdString());
}

void leaveControl(QWidget& control) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(&control, &out);
}

void sendKey(QWidget& target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &press);
    QCoreApplication::sendEvent(&target, &release);
}

}  // namespace

ScenarioWindows::ScenarioWindows(QTextStream& out,
                                 std::function<void(const std::function<bool()>&)> runUntil,
                                 std::function<QString()> addInFolder)
    : out_(out), runUntil_(std::move(runUntil)), addInFolder_(std::move(addInFolder)) {}

int ScenarioWindows::runModal(QObject& object) {
    auto* dialog = qobject_cast<QDialog*>(&object);
    if (dialog == nullptr) {
        throw std::logic_error("runModal needs a dialog");
    }
    dialog->setResult(0);
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->show();
    modals_.emplace_back(dialog);
    const QPointer<QDialog> guard(dialog);
    try {
        runUntil_([&guard] { return guard.isNull() || !guard->isVisible(); });
    } catch (...) {
        std::erase(modals_, QPointer<QWidget>(dialog));
        throw;
    }
    std::erase_if(modals_,
                  [dialog](const QPointer<QWidget>& w) { return w.isNull() || w == dialog; });
    return guard.isNull() ? 0 : guard->result();
}

QString ScenarioWindows::shownPath(const QString& helpFile) const {
    const QString folder = addInFolder_();
    return !folder.isEmpty() && helpFile.startsWith(folder) ? helpFile.mid(folder.size())
                                                            : helpFile;
}

void ScenarioWindows::showContext(const QString& helpFile, int context) {
    out_ << "help \"" << tools::escapeTranscriptText(shownPath(helpFile)) << "\" context "
         << context << '\n';
}

void ScenarioWindows::showTopic(const QString& helpFile) {
    out_ << "help \"" << tools::escapeTranscriptText(shownPath(helpFile)) << "\" topic\n";
}

void ScenarioWindows::playWave(const QString& path) {
    const QString folder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    const QString shown = path.startsWith(folder) ? path.mid(folder.size()) : path;
    out_ << "sound \"" << tools::escapeTranscriptText(QDir::toNativeSeparators(shown)) << "\"\n";
}

void ScenarioWindows::openUrl(const QString& url) {
    out_ << "open url \"" << tools::escapeTranscriptText(url) << "\"\n";
}

QWidget* ScenarioWindows::openModal() const {
    for (auto it = modals_.rbegin(); it != modals_.rend(); ++it) {
        if (!it->isNull() && (*it)->isVisible()) {
            return it->data();
        }
    }
    return nullptr;
}

QWidget* ScenarioWindows::activeWindow() const {
    if (QWidget* modal = openModal()) {
        return modal;
    }
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && qobject_cast<QDialog*>(w) == nullptr) {
            return w;
        }
    }
    return nullptr;
}

void actOnControl(QWidget& window, const QString& name, const QString& action,
                  const QStringList& values) {
    QWidget* control = window.objectName() == name ? &window : window.findChild<QWidget*>(name);
    if (control == nullptr) {
        cannot(QStringLiteral("the window \"%1\" has no control \"%2\"")
                   .arg(window.windowTitle(), name));
    }
    const bool isKey = action == QLatin1String("key");
    if (!isKey && (!control->isVisible() || !control->isEnabled())) {
        cannot(QStringLiteral("the control \"%1\" is %2")
                   .arg(name, control->isVisible() ? QStringLiteral("disabled")
                                                   : QStringLiteral("hidden")));
    }
    auto needValues = [&](int n) {
        if (values.size() < n) {
            cannot(QStringLiteral("ui %1 %2 needs a value").arg(name, action));
        }
    };
    auto* button = qobject_cast<QAbstractButton*>(control);
    auto* combo = qobject_cast<QComboBox*>(control);
    auto* line = qobject_cast<QLineEdit*>(control);
    auto* plain = qobject_cast<QPlainTextEdit*>(control);
    auto* rich = qobject_cast<QTextEdit*>(control);

    if (action == QLatin1String("click")) {
        if (button == nullptr) {
            cannot(QStringLiteral("\"%1\" is not a button").arg(name));
        }
        button->click();
    } else if (action == QLatin1String("check") || action == QLatin1String("uncheck")) {
        if (button == nullptr || !button->isCheckable()) {
            cannot(QStringLiteral("\"%1\" cannot be checked").arg(name));
        }
        const bool want = action == QLatin1String("check");
        if (button->isChecked() != want) {
            button->click();  // as a person's click: the control's handler runs
        }
    } else if (action == QLatin1String("set")) {
        needValues(1);
        control->setFocus(Qt::OtherFocusReason);
        if (combo != nullptr && combo->isEditable()) {
            combo->setEditText(values[0]);
        } else if (line != nullptr) {
            line->setText(values[0]);
        } else if (plain != nullptr) {
            plain->setPlainText(values[0]);
        } else if (rich != nullptr) {
            rich->setPlainText(values[0]);
        } else {
            cannot(QStringLiteral("\"%1\" takes no text").arg(name));
        }
        leaveControl(*control);
    } else if (action == QLatin1String("select")) {
        needValues(1);
        if (combo == nullptr) {
            cannot(QStringLiteral("\"%1\" is not a list").arg(name));
        }
        const int index = combo->findText(values[0], Qt::MatchExactly);
        if (index < 0) {
            cannot(QStringLiteral("\"%1\" has no entry \"%2\"").arg(name, values[0]));
        }
        combo->setCurrentIndex(index);
    } else if (action == QLatin1String("key")) {
        needValues(1);
        static const QHash<QString, int> keys{{QStringLiteral("Escape"), Qt::Key_Escape},
                                              {QStringLiteral("Return"), Qt::Key_Return},
                                              {QStringLiteral("F1"), Qt::Key_F1}};
        if (!keys.contains(values[0])) {
            cannot(QStringLiteral("unknown key \"%1\" (Escape, Return, F1)").arg(values[0]));
        }
        control->setFocus(Qt::OtherFocusReason);
        sendKey(*control, keys.value(values[0]));
    } else if (action == QLatin1String("caret")) {
        needValues(1);
        bool ok = false;
        const int pos = values[0].toInt(&ok);
        const int len = values.size() > 1 ? values[1].toInt() : 0;
        if (!ok) {
            cannot(QStringLiteral("caret takes a position"));
        }
        control->setFocus(Qt::OtherFocusReason);
        if (line != nullptr) {
            line->setSelection(pos, len);
        } else if (plain != nullptr || rich != nullptr) {
            QTextCursor cursor = plain ? plain->textCursor() : rich->textCursor();
            cursor.setPosition(pos);
            cursor.setPosition(pos + len, QTextCursor::KeepAnchor);
            plain ? plain->setTextCursor(cursor) : rich->setTextCursor(cursor);
        } else {
            cannot(QStringLiteral("\"%1\" has no caret").arg(name));
        }
    } else {
        cannot(QStringLiteral("unknown action \"%1\"").arg(action));
    }
}

void selectListEntries(QWidget& window, const QString& name, const QList<int>& positions) {
    auto* list = window.findChild<QAbstractItemView*>(name);
    if (list == nullptr) {
        cannot(
            QStringLiteral("the window \"%1\" has no list \"%2\"").arg(window.windowTitle(), name));
    }
    QAbstractItemModel* model = list->model();
    const int count = model->rowCount();
    for (int n : positions) {
        if (n < 1 || n > count) {
            cannot(QStringLiteral("\"%1\" holds %2 entries, not %3").arg(name).arg(count).arg(n));
        }
    }
    QItemSelectionModel* selection = list->selectionModel();
    selection->clearSelection();
    for (int n : positions) {
        const QModelIndex index = model->index(n - 1, 0);
        selection->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
        selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    }
}

}  // namespace vantorel::host
