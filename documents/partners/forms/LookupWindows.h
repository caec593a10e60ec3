#pragma once
// The two small look-up windows of the partner register: the partner groups (Tpcsopform)
// and the settlements with their edit dialog (Ttelepulesform, TTelepSzerk).

#include <QDialog>
#include <memory>

#include "documents/partners/LookupTables.h"

class QLineEdit;
class QTableView;

namespace kavina::widgets {
class RecordGrid;
}

namespace kavina::documents {

class Tpcsopform final : public QDialog {
    Q_OBJECT

public:
    Tpcsopform(QWidget* parent, TDataModule1& data, Prompt& prompt);
    ~Tpcsopform() override;

private:
    void run(bool (PartnerGroups::*action)());

    Prompt& m_prompt;
    PartnerGroups m_groups;
    QTableView* m_grid;
    std::unique_ptr<widgets::RecordGrid> m_list;
};

class TTelepSzerk final : public QDialog {
    Q_OBJECT

public:
    TTelepSzerk(QWidget* parent, const QString& postcode, const QString& town);
    QString postcode() const;
    QString town() const;

private:
    QLineEdit* m_postcode;
    QLineEdit* m_town;
};

class Ttelepulesform final : public QDialog {
    Q_OBJECT

public:
    // windows: the settlement dialog's; the Qt one when none.
    Ttelepulesform(QWidget* parent, TDataModule1& data, Prompt& prompt, PartnerWindows* windows = nullptr);
    ~Ttelepulesform() override;

private:
    void edit(bool isNew);

    Prompt& m_prompt;
    std::unique_ptr<PartnerWindows> m_ownWindows;
    Settlements m_settlements;
    QTableView* m_grid;
    std::unique_ptr<widgets::RecordGrid> m_list;
};

}  // namespace kavina::documents
