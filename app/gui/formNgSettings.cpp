#include "app/gui/formNgSettings.h"

#include "app/NgSession.h"
#include "app/SavedFiles.h"
#include "platform/MessageService.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const NgKind kKinds[] = {NgKind::Word, NgKind::Regex, NgKind::Name, NgKind::Mail, NgKind::Id};

} // namespace

formNgSettings::formNgSettings(NgSession &session, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_session(session)
{
    setWindowTitle(QStringLiteral("NG設定"));
    listRules = new QListWidget(this);
    comboKind = new QComboBox(this);
    for (NgKind kind : kKinds)
        comboKind->addItem(ngKindName(kind));
    txtValue = new QLineEdit(this);
    cmdAdd = new QPushButton(QStringLiteral("追加"), this);
    cmdChange = new QPushButton(QStringLiteral("変更"), this);
    cmdDelete = new QPushButton(QStringLiteral("削除"), this);
    cmdClose = new QPushButton(QStringLiteral("閉じる"), this);

    auto *edit = new QHBoxLayout;
    edit->addWidget(comboKind);
    edit->addWidget(txtValue, 1);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {cmdAdd, cmdChange, cmdDelete})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(listRules, 1);
    layout->addLayout(edit);
    layout->addLayout(buttons);
    resize(420, 320);

    connect(listRules, &QListWidget::currentRowChanged, this, [this] { showSelected(); });
    connect(cmdAdd, &QPushButton::clicked, this, [this] { cmdAdd_Click(); });
    connect(cmdChange, &QPushButton::clicked, this, [this] { cmdChange_Click(); });
    connect(cmdDelete, &QPushButton::clicked, this, [this] { cmdDelete_Click(); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { hide(); });
    refresh();
}

void formNgSettings::refresh()
{
    const int row = listRules->currentRow();
    listRules->clear();
    for (const NgRule &rule : m_session.file().rules())
        listRules->addItem(ngKindName(rule.kind) + QStringLiteral(": ") + rule.value);
    listRules->setCurrentRow(std::min(row, listRules->count() - 1));
}

void formNgSettings::showSelected()
{
    const int row = listRules->currentRow();
    const QList<NgRule> rules = m_session.file().rules();
    if (row < 0 || row >= rules.size())
        return;
    comboKind->setCurrentText(ngKindName(rules.at(row).kind));
    txtValue->setText(rules.at(row).value);
}

bool formNgSettings::readRule(NgRule &rule)
{
    const std::optional<NgKind> kind = ngKindFromName(comboKind->currentText());
    if (!kind)
        return false;
    rule = NgRule{*kind, txtValue->text()};
    if (const std::optional<QString> problem = ngRuleProblem(rule)) {
        platform::showMessage(*problem, this);
        return false;
    }
    return true;
}

void formNgSettings::store(const NgRuleFile &edited)
{
    if (!edited.save(ngRulesFilePath())) {
        platform::showMessage(notSavedMessage(QStringLiteral("NG設定"), ngRulesFilePath()), this);
        return;
    }
    m_session.setFile(edited);
    refresh();
}

void formNgSettings::cmdAdd_Click()
{
    NgRule rule;
    if (!readRule(rule))
        return;
    NgRuleFile edited = m_session.file();
    edited.addRule(rule);
    store(edited);
    listRules->setCurrentRow(listRules->count() - 1);
}

void formNgSettings::cmdChange_Click()
{
    NgRule rule;
    const int row = listRules->currentRow();
    if (row < 0 || !readRule(rule))
        return;
    NgRuleFile edited = m_session.file();
    edited.setRule(row, rule);
    store(edited);
}

void formNgSettings::cmdDelete_Click()
{
    const int row = listRules->currentRow();
    if (row < 0)
        return;
    NgRuleFile edited = m_session.file();
    edited.removeRule(row);
    store(edited);
}
