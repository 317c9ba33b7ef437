#pragma once
// Image links seen in shown responses: parallel lists of response numbers and addresses that only
// grow during a run. The live display and the replay keep one each; both go to the image viewer.

#include <QString>
#include <QStringList>

struct ImageLists
{
    QStringList varImageResNo;   // response number holding the address, in order found
    QStringList varImageUrl;     // the address
    qsizetype intImageCount() const { return varImageUrl.size(); }

    void append(const QString &resNo, const QString &url)
    {
        varImageResNo.append(resNo);
        varImageUrl.append(url);
    }
};
