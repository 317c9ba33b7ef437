#pragma once
// Message boxes go through this service so that tests can answer them and read what was shown.
// The window layer installs a service that shows real boxes; without one, messages are only
// recorded (a program without windows never blocks on a box).

#include <QString>
#include <QStringList>
#include <QList>

namespace platform {

enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

class MessageService
{
public:
    virtual ~MessageService() = default;
    // Shows text (lines joined by "\r\n" as the program writes them) and returns the answer.
    virtual MessageAnswer show(const QString &text, MessageButtons buttons, const QString &title) = 0;
};

// A service for tests and headless runs: records every text and answers from a queue
// (Ok for OK boxes, and the queued answer or No for Yes/No boxes).
class ScriptedMessageService : public MessageService
{
public:
    MessageAnswer show(const QString &text, MessageButtons buttons, const QString &title) override;

    void queueAnswer(MessageAnswer answer) { m_answers.append(answer); }
    const QStringList &shown() const { return m_shown; }
    void clear() { m_shown.clear(); m_answers.clear(); }

private:
    QStringList m_shown;
    QList<MessageAnswer> m_answers;
};

// The service in use. Never null: starts as a ScriptedMessageService.
MessageService &messages();
// Installs a service (not owned; pass nullptr to return to the built-in recording one).
void setMessageService(MessageService *service);

// Shorthands used by the program.
void showMessage(const QString &text, const QString &title = QString());
bool askYesNo(const QString &text, const QString &title = QString());

} // namespace platform
