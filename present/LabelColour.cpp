#include "present/LabelColour.h"

#include "present/KeywordColour.h"

quint32 labelColourFor(const QString &text, quint32 fontColour)
{
    switch (keywordOf(text)) {
    case Keyword::Kita:
        return 0xFF8000;
    case Keyword::HaaHaa:
        return 0xFF00FF;
    case Keyword::Uho:
        return 0xC000C0;
    case Keyword::None:
        break;
    }
    return fontColour;
}
