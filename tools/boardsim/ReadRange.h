#pragma once
// Which responses a read.cgi address shows: the last segment of
// /test/read.cgi/<board>/<thread>/<range>.
//   ""      all          "l50"   >>1 and the last 50     "120n-" 120 to the end
//   "120-"  >>1 and 120 to the end on the service's hosts; 120 to the end on the outside hosts
//   "5"     just 5       "5-9"   >>1 and 5 to 9 (outside hosts: 5 to 9)
// An "n" after the number leaves >>1 out. Anything unreadable shows the whole thread.

#include <QList>
#include <QString>

QList<int> selectResponses(const QString &range, int count, bool outsideHost);
