#pragma once
// Message boxes go through this service so that tests can answer them and read what was shown.
// The window layer installs a service that shows real boxes; without one, messages are only
// recorded (a program without windows never blocks on a box). The owner is the window that
// asks (any object of it); the box belongs to that window, and the service picks another shown
// window when that one is hidden.

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

namespace platform {

enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

class MessageService
{
public:
    virtual ~MessageService() = default;
    // Shows text (lines joined by "\r\n" as the program writes them) and returns the answer.
    virtual MessageAnswer show(const QString &text, MessageButtons buttons, const QObject *owner) = 0;
};

// A service for tests and headless runs: records every text and answers from a queue
// (Ok for OK boxes, and the queued answer or No for Yes/No boxes).
class ScriptedMessageService : public MessageService
{
public:
    MessageAnswer show(const QString &text, MessageButtons buttons, const QObject *owner) override;

    void queueAnswer(MessageAnswer answer) { m_answers.append(answer); }
    const QStringList &shown() const { return m_shown; }
    // The owner each text was shown with, in the same order (compare only: they may be gone).
    const QList<const QObject *> &owners() const { return m_owners; }
    void clear() { m_shown.clear(); m_owners.clear(); m_answers.clear(); }

private:
    QStringList m_shown;
    QList<const QObject *> m_owners;
    QList<MessageAnswer> m_answers;
};

// The service in use. Never null: starts as a ScriptedMessageService.
MessageService &messages();
// Installs a service (not owned; pass nullptr to return to the built-in recording one).
void setMessageService(MessageService *service);

// Shorthands used by the program: an OK box, and a Yes/No box (true for Yes).
void showMessage(const QString &text, const QObject *owner);
bool askYesNo(const QString &text, const QObject *owner);

} // namespace platform
