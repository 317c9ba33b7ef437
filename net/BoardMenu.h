#pragma once
// The board menu page read as a flat list of boards (name and thread-list page address), and
// the live-commentary boards among them.

#include <QList>
#include <QString>

struct ServicesConfig;

struct BoardLink
{
    QString name;
    QString address; // the link's address + "subback.html"

    bool operator==(const BoardLink &other) const
    {
        return name == other.name && address == other.address;
    }
};

// Every link of the page, in page order (List1/List2). Upper-case tags, "HREF", blanks around
// "=" and quoted addresses are accepted. A link without "href=", without ">" after it or without
// a closing "</a>" is no board and is left out.
QList<BoardLink> parseBoardLinks(const QString &page);

// The boards whose address contains one of the configured live-server labels (List3/List4),
// in the same order.
QList<BoardLink> filterLiveBoards(const QList<BoardLink> &boards, const ServicesConfig &config);
