#include "app/gui/ListFill.h"

#include <QComboBox>
#include <QSignalBlocker>

void refillList(QComboBox *box, const QStringList &entries, int selected)
{
    {
        const QSignalBlocker blocker(box);
        box->clear();
        box->addItems(entries);
        box->setCurrentIndex(-1);
        if (box->isEditable())
            box->setEditText(QString());
    }
    box->setCurrentIndex(selected);
}
