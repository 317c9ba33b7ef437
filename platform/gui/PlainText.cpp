#include "platform/gui/PlainText.h"

#include <QLabel>
#include <QTextDocument>

namespace platform {

QLabel *plainTextLabel(QLabel *label)
{
    label->setTextFormat(Qt::PlainText);
    return label;
}

QString plainToolTip(const QString &text)
{
    return Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text, Qt::WhiteSpaceNoWrap) : text;
}

} // namespace platform
