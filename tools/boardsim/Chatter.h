#pragma once
// Writes the responses of simulated threads: short cheers, keyword responses, multi-line bodies,
// anchors to recent responses, image and other addresses, now and then a deleted response.
// Bodies are in the service's markup (" <br> " breaks, "&gt;" and friends, escaped anchors).

#include <QRandomGenerator>
#include <QString>
#include <QStringList>

struct SimResponse
{
    QString name;
    QString mail;
    QString dateField; // date, time and ID, or "あぼーん" for a deleted response
    QString body;      // with its surrounding blanks, as in the dat
};

// Where a response is written: the thread it belongs to and the addresses it may mention.
struct ChatterPlace
{
    QString boardKey;
    qint64 threadKey = 0;
    QString defaultName;
    QString programme;
    QString imageBase;   // "http://127.0.0.1:PORT/img/"
    QString tvPage;      // an outside address a poster may paste
    QString previousThreadUrl; // read.cgi address of the previous part, for the opener
};

// The service's text escapes: & < > and " become entities.
QString escapeMarkup(const QString &text);
// The anchor markup the service writes for ">>n" (or ">>n-m").
QString anchorMarkup(const QString &boardKey, qint64 threadKey, const QString &target);

class Chatter
{
public:
    explicit Chatter(quint32 seed);

    // Response `number` (from 1) posted at msecs. Response 1 is the thread's opener.
    SimResponse write(const ChatterPlace &place, int number, qint64 msecs);

    // The 1001st response that closes a full thread.
    static SimResponse closingResponse();
    static SimResponse deletedResponse();

    // Image files the bodies may name ("1.jpg", "2.png", ...); the server serves them all.
    static QStringList imageNames();

private:
    QString posterId();
    QString pick(const QStringList &items);
    QString writeBody(const ChatterPlace &place, int number);
    QString openerBody(const ChatterPlace &place);

    QRandomGenerator m_random;
    QStringList m_posters; // IDs of this thread's regular posters
};
