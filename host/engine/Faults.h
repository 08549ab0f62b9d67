#pragma once

// Fault injection: a test or a script makes the next calls of a named object-model
// operation fail, to prove that each caller handles failure the way it should.
//
// Operations are named "Object.Member" after the interface, e.g. "TaskItem.Save",
// "MailItem.Send", "NameSpace.GetItemFromID", "UserProperty.Value",
// "UserProperty.SetValue"; a bare member name ("Save") stands for that member of
// every object. operations() lists them all.

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>

namespace vantorel::engine {

class Faults {
public:
    // The host's text when a test gives none.
    static QString defaultMessage();

    // The next `count` calls of the operation throw OutlookError(message).
    // Throws std::invalid_argument for a name that no operation carries.
    void failNext(const QString& operation, int count = 1, const QString& message = QString());
    // Every later call of the operation fails, until clear().
    void failAlways(const QString& operation, const QString& message = QString());
    void clear();
    // How many failures are still armed for that name (-1: always).
    int remaining(const QString& operation) const;

    static const QStringList& operations();

    // Every object-model call passes here first; throws when its failure is armed.
    void hit(const char* object, const char* member) {
#ifndef QT_NO_DEBUG
        checkKnown(object, member);
#endif
        if (onCall) {
            onCall(object, member);
        }
        if (!armed_.isEmpty()) {
            fire(object, member);
        }
    }

    // Told of every object-model call ("Object", "Member") before it runs, to list
    // the calls an action makes.
    std::function<void(const char* object, const char* member)> onCall;

    // The mailbox file's writes (one transaction each: a save, a deletion, a send)
    // as on a full disk: after SKIP more writes succeed, COUNT of them (-1: every
    // one, until clear()) fail with SQLite's SQLITE_FULL.
    void failWrites(int count = -1, int skip = 0);
    // Every write of the mailbox file passes here before it begins; throws
    // sqlite::SqliteError when its failure is armed.
    void hitWrite() {
        if (writes_.count != 0) {
            fireWrite();
        }
    }
    // Every write that reached the mailbox file passes here once it is committed.
    void written() {
        if (onWritten) {
            onWritten();
        }
    }
    // Told after every write that reached the mailbox file: what a process killed at
    // that moment leaves on the disk.
    std::function<void()> onWritten;

private:
    static void checkKnown(const char* object, const char* member);
    void fire(const char* object, const char* member);
    void fireWrite();

    struct Armed {
        int count = 0;  // -1: always
        QString message;
    };
    QHash<QString, Armed> armed_;
    struct ArmedWrites {
        int count = 0;  // -1: always
        int skip = 0;
    };
    ArmedWrites writes_;
};

}  // namespace vantorel::engine
