#pragma once
// comboMode's view modes, intViewMode 1 to 3: "モード１" the label strip, "モード２" the marquee
// page, "miniモード" the mini window.

#include <QStringList>

// The captions in list order.
QStringList viewModeCaptions();
// intViewMode of a caption: any caption but the first two is mini mode.
qint16 viewModeOf(const QString &caption);
// The list index settings line 17 selects: the first mode for an index outside the list.
int viewModeIndexOf(int storedIndex);
