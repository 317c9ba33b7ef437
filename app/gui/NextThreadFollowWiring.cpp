#include "app/gui/NextThreadFollowWiring.h"

#include "app/NextThreadFollow.h"
#include "app/gui/formMain.h"

#include <QListWidget>

namespace {

QStringList rows(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

} // namespace

NextThreadFollow *makeNextThreadFollow(formMain &main)
{
    NextThreadFollow::Host host;
    host.relistBoard = [&main] { return reopenBoardAsOpened(main); };
    host.threads = [&main] { return summariseThreads(rows(main.List5), rows(main.List6)); };
    host.follow = [&main](qsizetype row) {
        main.List5->setCurrentRow(int(row));
        main.List5_DblClick();
        main.Command1_Click();
    };
    host.showCaption = [&main](const QString &caption) { main.setCountdownCaption(caption); };
    // Waiting, Start is the Stop of the wait; after it, as the thread's end left it.
    host.setWaiting = [&main](bool waiting) {
        main.setStartCaption(waiting ? QStringLiteral("停止") : QStringLiteral("開始"));
        main.setStartEnabled(waiting);
    };
    return new NextThreadFollow(std::move(host), &main);
}
