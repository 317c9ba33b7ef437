#include "app/gui/formFont.h"

#include "app/MainSettings.h"
#include "app/SettingsEffects.h"
#include "app/SettingsRules.h"
#include "app/gui/ListFill.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QGroupBox *group(const QString &title, QWidget *child, QWidget *parent)
{
    auto *box = new QGroupBox(title, parent);
    auto *layout = new QVBoxLayout(box);
    layout->addWidget(child);
    return box;
}

} // namespace

formFont::formFont(MainSettings &settings, SettingsEffects &effects, QWidget *parent)
    : SettingsWindow(settings, effects, QStringLiteral("フォント設定"), parent)
{

    comboFont = new QComboBox(this);
    comboFont->setMinimumWidth(200);
    comboFontColor = new QComboBox(this);
    comboFontSize = new QComboBox(this);
    cmdClose = new QPushButton(QStringLiteral("閉じる"), this);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdClose);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group(QStringLiteral("フォント"), comboFont, this));
    layout->addWidget(group(QStringLiteral("フォントカラー"), comboFontColor, this));
    layout->addWidget(group(QStringLiteral("フォントサイズ"), comboFontSize, this));
    layout->addLayout(buttons);

    connect(comboFont, &QComboBox::currentIndexChanged, this, [this] { comboFont_Click(); });
    connect(comboFontSize, &QComboBox::currentIndexChanged, this, [this] { comboFontSize_Click(); });
    connect(comboFontColor, &QComboBox::currentIndexChanged, this, [this] { comboFontColor_Click(); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
}

void formFont::fillFontList()
{
    fillFontList(QFontDatabase::families(), QFontDatabase::families(QFontDatabase::Japanese));
}

void formFont::fillFontList(const QStringList &families, const QStringList &japaneseCapable)
{
    m_initialFontIndex = settingsrules::initialFontIndex(families, japaneseCapable);
    refillList(comboFont, families, m_initialFontIndex);
    m_fontListFilled = true;
}

void formFont::fillColourAndSize()
{
    refillList(comboFontColor, settingsrules::fontColourEntries(), initialFontColourIndex());
    refillList(comboFontSize, settingsrules::fontSizeEntries(), initialFontSizeIndex());
    m_colourAndSizeFilled = true;
}

bool formFont::listsFilled() const
{
    return m_fontListFilled && m_colourAndSizeFilled;
}

int formFont::initialFontSizeIndex()
{
    return settingsrules::kInitialFontSize;
}

int formFont::initialFontColourIndex()
{
    return settingsrules::kInitialFontColour;
}

void formFont::comboFont_Click()
{
    if (comboFont->currentIndex() < 0)
        return;
    const QString family = comboFont->currentText();
    m_settings.templates.lblMsg.family = family;
    m_settings.templates.lblWmpMsg.family = family;
    emit m_effects.templateLookChanged();
}

void formFont::comboFontSize_Click()
{
    bool ok = false;
    const int size = comboFontSize->currentText().toInt(&ok);
    if (!ok || size <= 0)
        return;
    m_settings.varFontSize = size;
    CommentTemplates &t = m_settings.templates;
    for (TemplateFont *font : {&t.lblMsg, &t.PictureMsg, &t.Label4, &t.Label5, &t.lblWmpMsg,
                               &t.lblWmpMsgKage, &t.PictureWmpMsg, &t.lblMsgKage})
        font->size = size;
    emit m_effects.templateLookChanged();
}

void formFont::comboFontColor_Click()
{
    const auto colour = settingsrules::colourForScheme(comboFontColor->currentIndex());
    if (!colour)
        return;
    m_settings.templates.lblMsgForeColor = *colour;
    m_settings.varFontColor = *colour;

    // The list shows its choice in that colour.
    const QColor qcolour(colour->red, colour->green, colour->blue);
    QPalette palette = comboFontColor->palette();
    palette.setColor(QPalette::Text, qcolour);
    palette.setColor(QPalette::ButtonText, qcolour);
    palette.setColor(QPalette::WindowText, qcolour);
    comboFontColor->setPalette(palette);

    emit m_effects.templateLookChanged();
}

void formFont::cmdClose_Click()
{
    hide();
}
