#include "app/gui/formToumei.h"

#include "app/MainSettings.h"
#include "app/SettingsEffects.h"
#include "app/SettingsRules.h"

#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

formToumei::formToumei(MainSettings &settings, SettingsEffects &effects, QWidget *parent)
    : SettingsWindow(settings, effects, QStringLiteral("透明度"), parent)
{
    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setRange(0, 100);
    HScroll1->setSingleStep(1);
    HScroll1->setPageStep(10);
    HScroll1->setMinimumWidth(240);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(HScroll1);

    {
        const QSignalBlocker blocker(HScroll1);
        HScroll1->setValue(m_settings.lngToumeido);
    }
    if (m_settings.lngToumeido != 0)
        setWindowTitle(settingsrules::opacityForSlider(m_settings.lngToumeido).label);

    connect(HScroll1, &QScrollBar::valueChanged, this, [this] { HScroll1_Change(); });
}

void formToumei::HScroll1_Change()
{
    const int v = HScroll1->value();
    const settingsrules::Opacity opacity = settingsrules::opacityForSlider(v);
    setWindowTitle(opacity.label);
    m_settings.lngToumeido = v;
    emit m_effects.opacityChanged(opacity.alpha, opacity.colourKey);
}

void formToumei::showEvent(QShowEvent *event)
{
    if (HScroll1->value() != m_settings.lngToumeido) {
        {
            const QSignalBlocker blocker(HScroll1);
            HScroll1->setValue(m_settings.lngToumeido);
        }
        setWindowTitle(settingsrules::opacityForSlider(HScroll1->value()).label);
    }
    QWidget::showEvent(event);
}
