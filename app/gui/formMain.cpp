#include "app/gui/formMain.h"

formMain::formMain(QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Kestrelon"));
    resize(678, 306);
}

formMain::~formMain() = default;
