#pragma once

#include <QStringList>

class QComboBox;

// Clears a list, fills it and selects an entry. The fill itself runs no handler (a list whose
// first entry is added would otherwise select it); the final selection does. An editable list
// shows no text of its own until then.
void refillList(QComboBox *box, const QStringList &entries, int selected);
