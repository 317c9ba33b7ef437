#pragma once
// Regular-expression operations on response text and the board menu page. The patterns are the
// service's own link forms and are used exactly as written (case-sensitive, global). Operations
// that rewrite take the text by reference and change it in place.

#include <QString>

// Receives the nodes of the board tree. Keys are unique; parentKey is empty for top-level nodes.
class BoardTreeSink
{
public:
    virtual ~BoardTreeSink() = default;
    virtual void addNode(const QString &key, const QString &text, const QString &parentKey) = 0;
};

int countImageAnchors(QString &text);          // lower-cases text first
int countImageUrls(const QString &text);
QString takeImageAnchors(QString &text);       // "--"-joined addresses; anchors become their text
QString takeImageUrls(QString &text);          // "--"-joined addresses; each becomes "imegewindow"
void linkImageUrls(QString &text);
void unlinkResAnchors(QString &text);          // "&gt;&gt;" anchors become ">>" + number
void unlinkResAnchorsRaw(QString &text);       // ">>" anchors become ">>" + number
QString unlinkOtherAnchors(QString &text);     // lower-cases; returns the empty text
void buildBoardTree(const QString &page, BoardTreeSink &tree);
