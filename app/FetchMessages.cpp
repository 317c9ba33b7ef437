#include "app/FetchMessages.h"

#include "app/LiveCycleRules.h"
#include "present/ThreadBookkeeping.h"

QString fetchFailureMessage(FetchOccasion occasion, const FetchResult &result)
{
    if (result.ok() || occasion != FetchOccasion::Start)
        return QString();
    return result.failure == FetchFailure::InvalidServer ? connectFailedMessage() : startFailedMessage();
}

QString connectFailedMessage()
{
    return QStringLiteral("何か接続に失敗しました。すいません。") + QStringLiteral("\r\n")
        + QStringLiteral("再取得しなければ再起動してください。");
}

QString messageText(const LiveMessage &message)
{
    switch (message.kind) {
    case LiveMessage::Kind::FetchFailed:
        return fetchFailureMessage(message.occasion, message.result);
    case LiveMessage::Kind::Overloaded:
        return overloadedMessage();
    case LiveMessage::Kind::NotAThreadPage:
        return startFailedMessage();
    case LiveMessage::Kind::AlreadyFull:
        return alreadyFullMessage();
    }
    return QString();
}
