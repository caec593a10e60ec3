#pragma once
// The partner register ("Partnertörzs") and, opened by a document editor, the partner picker:
// group tabs over the list, the quick search, the buttons and the list's context menu. The
// logic is PartnerWindow; this window lays it out and forwards the user's actions.

#include <QDialog>
#include <memory>

#include "documents/partners/PartnerWindow.h"
#include "documents/partners/PartnerWindows.h"

class QLineEdit;
class QMenu;
class QPushButton;
class QTabBar;
class QTableView;

namespace kavina::widgets {
class RecordGrid;
}
namespace kavina::report {
class PrintService;
}

namespace kavina::documents {

struct PartnerFormOptions {
    PartnerCaller caller = PartnerCaller::None;
    int statisticsPage = 0;                    // the partner statistics' page, when they are the caller
    bool showPriceGroups = true;               // the "tobbar" setting, for the partner dialog
    report::PrintService* printing = nullptr;  // the printers; without it nothing prints
    QString currentUser;                       // for the printed list's footer
    QString webAddress;                        // the maker's, for the printed list's footer
    PartnerWindows* windows = nullptr;         // the dialogs it opens; the Qt ones when none
    // The document register's windows for "Számlák" and "Tartozások"; without them the
    // partner's invoices are only counted.
    invoicing::DocumentWindows* documents = nullptr;
};

class TPartnerForm final : public QDialog {
    Q_OBJECT

public:
    TPartnerForm(QWidget* parent, TDataModule1& data, Prompt& prompt, const PartnerFormOptions& options);
    ~TPartnerForm() override;

    PartnerWindow& logic() { return m_logic; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buttonColumn();
    void buildContextMenu();
    void showTabs();
    void newPartner();
    void modifyPartner();
    void deletePartner();
    void acceptPartner(bool fromList);
    void printList();
    void sortByColumn(int column);

    TDataModule1& m_data;
    Prompt& m_prompt;
    PartnerFormOptions m_options;
    std::unique_ptr<PartnerWindows> m_ownWindows;
    PartnerWindow m_logic;
    QTabBar* m_tabBar;
    QTableView* m_grid;
    std::unique_ptr<widgets::RecordGrid> m_list;
    QLineEdit* m_search;
    QPushButton* m_acceptButton;
    QMenu* m_contextMenu;
};

}  // namespace kavina::documents
