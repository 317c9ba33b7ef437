#include "platform/MessageService.h"

namespace platform {
namespace {

ScriptedMessageService &fallbackService()
{
    static ScriptedMessageService service;
    return service;
}

MessageService *&installedService()
{
    static MessageService *service = nullptr;
    return service;
}

} // namespace

MessageAnswer ScriptedMessageService::show(const QString &text, MessageButtons buttons, const QObject *owner)
{
    m_shown.append(text);
    m_owners.append(owner);
    if (buttons == MessageButtons::Ok)
        return MessageAnswer::Ok;
    return m_answers.isEmpty() ? MessageAnswer::No : m_answers.takeFirst();
}

MessageService &messages()
{
    MessageService *service = installedService();
    return service ? *service : fallbackService();
}

void setMessageService(MessageService *service)
{
    installedService() = service;
}

void showMessage(const QString &text, const QObject *owner)
{
    messages().show(text, MessageButtons::Ok, owner);
}

bool askYesNo(const QString &text, const QObject *owner)
{
    return messages().show(text, MessageButtons::YesNo, owner) == MessageAnswer::Yes;
}

} // namespace platform
