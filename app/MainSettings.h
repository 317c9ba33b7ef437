#pragma once
// The main window's setting variables, set by the settings dialogs' change handlers and read by
// the presenters. formMain owns one instance. The start values are what a first start (no
// livecfg.txt) ends up with, so the dialogs can take their controls' initial state from here.

#include "app/Options.h"

#include <QString>
#include <QtGlobal>

// A text colour as red, green, blue (0 to 255 each). The window layer turns it into a QColor.
struct RgbColor
{
    int red = 0;
    int green = 0;
    int blue = 0;

    friend bool operator==(const RgbColor &a, const RgbColor &b)
    {
        return a.red == b.red && a.green == b.green && a.blue == b.blue;
    }
    friend bool operator!=(const RgbColor &a, const RgbColor &b) { return !(a == b); }
};

// Font of element 0 of one label or picture array. New comments copy it when they are created.
struct TemplateFont
{
    QString family; // empty until the font list has made its first selection
    int size = 18;  // points
};

// The "template" elements 0 of the comment arrays.
struct CommentTemplates
{
    TemplateFont lblMsg;
    TemplateFont lblMsgKage;
    TemplateFont lblWmpMsg;
    TemplateFont lblWmpMsgKage;
    TemplateFont PictureMsg;
    TemplateFont PictureWmpMsg;
    TemplateFont Label4;
    TemplateFont Label5;

    RgbColor lblMsgForeColor{192, 192, 255};
    RgbColor lblWmpMsgForeColor{192, 192, 255};

    // Start-up copies of element 0 of lblMsg to the shadow and replay labels (after the font,
    // size and colour lines of livecfg.txt have been applied).
    void copyFontNameFromLblMsg()
    {
        lblMsgKage.family = lblMsg.family;
        lblWmpMsg.family = lblMsg.family;
        lblWmpMsgKage.family = lblMsg.family;
    }
    void copyFontSizeFromLblMsg()
    {
        lblMsgKage.size = lblMsg.size;
        lblWmpMsg.size = lblMsg.size;
        lblWmpMsgKage.size = lblMsg.size;
    }
    void copyForeColorFromLblMsg() { lblWmpMsgForeColor = lblMsgForeColor; }
};

struct MainSettings
{
    qint16 intScroll = 5;             // 3 fast, 5 normal, 8 slow
    qint16 intMaxRow = 2;             // 1 to 4, or 10 for "全て"
    bool blnIsOutLineModeOn = false;  // shadow-text mode
    bool blnIsDatMode = true;         // fetch the dat file rather than the read.cgi page
    qint16 intNextWhen1000 = 1;       // 0 follow the top thread, 1 thread list, 2 nothing
    qint16 intRegetWmp = 1;           // seconds between replay position checks
    qint32 lngToumeido = 0;           // opacity slider value, 0 (opaque) to 100
    int varFontSize = 18;             // comment font size in points
    RgbColor varFontColor{192, 192, 255};
    qint16 intViewMode = 1;           // 1 labels, 2 marquee page, 3 mini mode
    Options options;                  // options.ini, beyond the seventeen lines

    CommentTemplates templates;
};
