#include "app/gui/formScrollSetting.h"

#include "app/MainSettings.h"
#include "app/SettingsEffects.h"
#include "app/SettingsRules.h"
#include "app/gui/ListFill.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

formScrollSetting::formScrollSetting(MainSettings &settings, SettingsEffects &effects, QWidget *parent)
    : SettingsWindow(settings, effects, QStringLiteral("コンフィグ"), parent)
{

    ComboScrollSpeed = new QComboBox(this);
    comboMax = new QComboBox(this);
    comboMaxRow = new QComboBox(this);
    comboMaxRow->setEditable(true);
    comboMaxRow->setInsertPolicy(QComboBox::NoInsert);
    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setRange(0, 100);
    HScroll1->setSingleStep(1);
    HScroll1->setPageStep(10);
    HScroll1->setMinimumWidth(160);
    Label1 = new QLabel(this);
    chkCowntDown = new QCheckBox(QStringLiteral("カウントダウン"), this);
    chkCowntDown->setChecked(true);
    chkOutLineMode = new QCheckBox(QStringLiteral("影文字ﾓｰﾄﾞ(β)"), this);
    chkOutLineMode->setToolTip(QStringLiteral("ちと重くなります。。。"));
    chkOutLineMode->setChecked(m_settings.blnIsOutLineModeOn);
    chkIsDat = new QCheckBox(QStringLiteral("datモード"), this);
    chkIsDat->setToolTip(QStringLiteral("取得方法。htmlから解析かdatから解析かってこと"));
    chkIsDat->setChecked(m_settings.blnIsDatMode);

    const QStringList captions = settingsrules::nextWhen1000Captions();
    for (int i = 0; i < 3; ++i)
        Option1[i] = new QRadioButton(captions.at(i), this);
    Option1[0]->setToolTip(QStringLiteral("スレ一覧を自動的に再取得し、最上位にあるスレッドを選択"));
    if (m_settings.intNextWhen1000 >= 0 && m_settings.intNextWhen1000 < 3)
        Option1[m_settings.intNextWhen1000]->setChecked(true);

    chkLanes = new QCheckBox(QStringLiteral("コメントを重ねない"), this);
    chkLanes->setToolTip(QStringLiteral("新しいコメントは空いている段に流します"));
    chkLanes->setChecked(m_settings.options.commentLanes);
    chkSpread = new QCheckBox(QStringLiteral("まとめて流さない"), this);
    chkSpread->setToolTip(QStringLiteral("一度に取得したレスを再取得までの間に一つずつ流します"));
    chkSpread->setChecked(m_settings.options.spreadBursts);
    chkNextByTitle = new QCheckBox(QStringLiteral("次スレを探す"), this);
    chkNextByTitle->setToolTip(QStringLiteral("「一覧最上位スレッド」のとき、同じ番組の次のスレをタイトルで探し、無ければ3分まで待ちます"));
    chkNextByTitle->setChecked(m_settings.options.nextByTitle);

    ComboMaxWmp = new QComboBox(this);
    comboRegetTime = new QComboBox(this);
    cmdClose = new QPushButton(QStringLiteral("閉じる"), this);

    auto *common = new QGroupBox(QStringLiteral("共通設定"), this);
    auto *commonForm = new QFormLayout(common);
    commonForm->addRow(QStringLiteral("ｽｸﾛｰﾙｽﾋﾟｰﾄﾞ"), ComboScrollSpeed);
    commonForm->addRow(QStringLiteral("一度の取得で表示する最大レス数"), comboMax);
    commonForm->addRow(QStringLiteral("1レス当りの最大行数"), comboMaxRow);
    commonForm->addRow(Label1, HScroll1);
    commonForm->addRow(chkCowntDown);
    commonForm->addRow(chkOutLineMode);
    commonForm->addRow(chkIsDat);
    commonForm->addRow(chkLanes);
    commonForm->addRow(chkSpread);

    auto *at1000 = new QGroupBox(QStringLiteral("1000到達時　次スレ誘導同機能"), this);
    auto *at1000Layout = new QVBoxLayout(at1000);
    for (QRadioButton *option : Option1)
        at1000Layout->addWidget(option);
    at1000Layout->addWidget(chkNextByTitle);

    auto *replay = new QGroupBox(QStringLiteral("過去ログ連動"), this);
    auto *replayForm = new QFormLayout(replay);
    replayForm->addRow(QStringLiteral("１秒当り最大レス数"), ComboMaxWmp);
    replayForm->addRow(QStringLiteral("再取得までの秒数"), comboRegetTime);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdClose);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(common);
    layout->addWidget(at1000);
    layout->addWidget(replay);
    layout->addLayout(buttons);

    // The slider shows the current opacity; the label reads "動画窓のみ透明" at load.
    {
        const QSignalBlocker blocker(HScroll1);
        HScroll1->setValue(m_settings.lngToumeido);
    }
    Label1->setText(m_settings.lngToumeido == 0
                        ? QStringLiteral("動画窓のみ透明")
                        : settingsrules::opacityForSlider(m_settings.lngToumeido).label);

    connect(ComboScrollSpeed, &QComboBox::currentIndexChanged, this, [this] { ComboScrollSpeed_Click(); });
    connect(comboMaxRow, &QComboBox::currentTextChanged, this, [this] { comboMaxRow_Change(); });
    connect(ComboMaxWmp, &QComboBox::currentIndexChanged, this, [this] { ComboMaxWmp_Click(); });
    connect(comboRegetTime, &QComboBox::currentIndexChanged, this, [this] { comboRegetTime_Click(); });
    connect(chkCowntDown, &QCheckBox::toggled, this, [this] { chkCowntDown_Click(); });
    connect(chkIsDat, &QCheckBox::toggled, this, [this] { chkIsDat_Click(); });
    connect(chkOutLineMode, &QCheckBox::toggled, this, [this] { chkOutLineMode_Click(); });
    for (int i = 0; i < 3; ++i) {
        connect(Option1[i], &QRadioButton::toggled, this, [this, i](bool checked) {
            if (checked)
                Option1_Click(i);
        });
    }
    connect(chkLanes, &QCheckBox::toggled, this,
            [this](bool on) {
                m_settings.options.commentLanes = on;
                emit m_effects.commentLanesChanged(on);
            });
    connect(chkSpread, &QCheckBox::toggled, this,
            [this](bool on) { m_settings.options.spreadBursts = on; });
    connect(chkNextByTitle, &QCheckBox::toggled, this,
            [this](bool on) { m_settings.options.nextByTitle = on; });
    connect(HScroll1, &QScrollBar::valueChanged, this, [this] { HScroll1_Change(); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
}

void formScrollSetting::fillScrollSpeedAndMax()
{
    refillList(ComboScrollSpeed, settingsrules::scrollSpeedEntries(), settingsrules::kInitialScrollSpeed);
    refillList(comboMax, settingsrules::maxResEntries(), settingsrules::kInitialMaxRes);
}

void formScrollSetting::fillMaxRowAndReplay()
{
    refillList(comboMaxRow, settingsrules::maxRowEntries(), settingsrules::kInitialMaxRow);
    refillList(ComboMaxWmp, settingsrules::replayEntries(), settingsrules::kInitialMaxWmp);
    refillList(comboRegetTime, settingsrules::replayEntries(), settingsrules::kInitialRegetTime);
}

void formScrollSetting::ComboScrollSpeed_Click()
{
    if (const auto scroll = settingsrules::scrollForIndex(ComboScrollSpeed->currentIndex()))
        m_settings.intScroll = *scroll;
}

void formScrollSetting::comboMaxRow_Change()
{
    m_settings.intMaxRow = settingsrules::maxRowForText(comboMaxRow->currentText());
}

void formScrollSetting::ComboMaxWmp_Click()
{
    // Nothing to set: the replay display reads the selected text when it needs it.
}

void formScrollSetting::comboRegetTime_Click()
{
    const qint16 n = settingsrules::replaySecondsForText(comboRegetTime->currentText());
    m_settings.intRegetWmp = n;
    emit m_effects.replayIntervalChanged(n * 1000);
}

void formScrollSetting::chkCowntDown_Click()
{
    emit m_effects.countdownVisibleChanged(chkCowntDown->isChecked());
}

void formScrollSetting::chkIsDat_Click()
{
    m_settings.blnIsDatMode = chkIsDat->isChecked();
}

void formScrollSetting::chkOutLineMode_Click()
{
    m_settings.blnIsOutLineModeOn = chkOutLineMode->isChecked();
}

void formScrollSetting::Option1_Click(int Index)
{
    if (Index < 0 || Index >= int(Option1.size()))
        return;
    if (!Option1[Index]->isChecked())
        Option1[Index]->setChecked(true); // runs this handler again through toggled
    m_settings.intNextWhen1000 = qint16(Index);
}

void formScrollSetting::HScroll1_Change()
{
    const int v = HScroll1->value();
    const settingsrules::Opacity opacity = settingsrules::opacityForSlider(v);
    Label1->setText(opacity.label);
    m_settings.lngToumeido = v;
    emit m_effects.opacityChanged(opacity.alpha, opacity.colourKey);
}

void formScrollSetting::applyOptions(const Options &options)
{
    // The signal runs even when the box is already in that state, so the strip always follows.
    chkLanes->setChecked(options.commentLanes);
    emit m_effects.commentLanesChanged(options.commentLanes);
    chkSpread->setChecked(options.spreadBursts);
    chkNextByTitle->setChecked(options.nextByTitle);
    m_settings.options = options;
    emit m_effects.replayOffsetChanged(options.replayOffsetSeconds);
}

void formScrollSetting::cmdClose_Click()
{
    hide();
}

void formScrollSetting::syncSliderFromSettings()
{
    if (HScroll1->value() == m_settings.lngToumeido)
        return;
    {
        const QSignalBlocker blocker(HScroll1);
        HScroll1->setValue(m_settings.lngToumeido);
    }
    Label1->setText(settingsrules::opacityForSlider(HScroll1->value()).label);
}

void formScrollSetting::showEvent(QShowEvent *event)
{
    syncSliderFromSettings();
    QWidget::showEvent(event);
}
