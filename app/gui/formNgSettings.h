#pragma once
// The "NG設定" dialog: lists the NG rules, adds, changes and deletes them. Every change writes
// ngrules.txt at once (atomically) and hands the rules to the session, so they apply from the
// next fetch. Lines of the file that are not rules (comments, lines that could not be read)
// stay where they are.

#include <QWidget>

class NgSession;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

class formNgSettings : public QWidget
{
    Q_OBJECT
public:
    // session must outlive the dialog.
    explicit formNgSettings(NgSession &session, QWidget *parent = nullptr);

    // Fills the list from the session's rules.
    void refresh();
    void cmdAdd_Click();
    void cmdChange_Click();
    void cmdDelete_Click();

    QListWidget *listRules;
    QComboBox *comboKind;
    QLineEdit *txtValue;
    QPushButton *cmdAdd;
    QPushButton *cmdChange;
    QPushButton *cmdDelete;
    QPushButton *cmdClose;

private:
    void showSelected();
    // Writes the edited rules; on failure tells the user and keeps the session's rules.
    void store(const class NgRuleFile &edited);
    bool readRule(struct NgRule &rule);

    NgSession &m_session;
};
