#pragma once
// The product register window ("Terméktörzs"): the warehouse, category and search key boxes
// and the search text above five tabs over the list, the buttons, the picture pane and the
// list's context menu. The logic is ProductWindow; this window lays it out, forwards the
// user's actions and shows the current product highlighted.

#include <QDialog>
#include <memory>
#include <set>

#include "foundation/CommandBoundary.h"
#include "products/pickers/PickerProtocol.h"
#include "products/register/ProductWindow.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabBar;
class QTableView;
class QTimer;

namespace kavina::report {
class PrintService;
}

namespace kavina::widgets {
class RecordGrid;
class RecordGridModel;
}  // namespace kavina::widgets

namespace kavina::products {

struct AnyagFormOptions {
    ProductWindowOptions window;
    Desktop* desktop = nullptr;         // required
    ProductWindows* windows = nullptr;  // the windows of the operations; the screen's when null
    // While a document editor picks: what it asked for, and the windows a pick opens.
    PickerRequest* picker = nullptr;
    PickerWindows* pickerWindows = nullptr;
    // Where the product list's print goes; "Nyomtatás" is disabled without it.
    report::PrintService* printing = nullptr;
};

class TAnyagForm final : public QDialog {
    Q_OBJECT

public:
    TAnyagForm(QWidget* parent, TDataModule1& data, Prompt& prompt, const AnyagFormOptions& options);
    ~TAnyagForm() override;

    ProductWindow& logic() { return *m_logic; }

    void done(int result) override;
    // Shows the register again for the next pick of the same editor: the tab, search text and
    // price group stay as the last pick left them.
    void reopenForPick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* boxesRow();
    QWidget* buttonColumn();
    void buildContextMenu();
    // "Nyomtatás" (Ctrl+P): the product list as filtered, in the preview.
    void printList();
    void buildModel();
    void arrangeColumns();
    void fillBoxes();
    void reloadList();
    void syncSelection();
    void showPicture();
    void enableButtons();
    void searchKeyChosen(SearchKey key);
    void enterInSearch();
    void openSearchDialog();
    // "Elfogad", a double click, Enter in the list: Modify, or the pick while an editor picks.
    void acceptCurrent();
    void choosePriceGroup(int column);
    void markPriceGroup();
    // Every action runs at the command boundary; afterwards the list shows the handle as it
    // is. A change may have written products: the list is read again, even after an error.
    template <typename Action>
    void command(Action action) {
        runCommand(m_prompt, [&] { action(); });
        runCommand(m_prompt, [&] { syncSelection(); });
    }
    template <typename Action>
    void change(Action action) {
        runCommand(m_prompt, [&] { action(); });
        runCommand(m_prompt, [&] { reloadList(); });
    }

    TDataModule1& m_data;
    Prompt& m_prompt;
    AnyagFormOptions m_options;
    std::unique_ptr<ProductWindows> m_ownWindows;
    std::unique_ptr<ProductWindow> m_logic;
    std::unique_ptr<widgets::RecordGrid> m_list;
    widgets::RecordGridModel* m_model = nullptr;  // the list's
    QComboBox *m_warehouse, *m_category, *m_searchKey;
    QLineEdit* m_search;
    QTabBar* m_tabs;
    QTableView* m_grid;
    QLabel* m_picture;
    QPushButton *m_new, *m_modify, *m_delete, *m_reprice, *m_promotions, *m_receive, *m_issue, *m_accept;
    QMenu* m_contextMenu;
    QTimer* m_refresh;
    std::set<QString> m_seenCategories;
    bool m_gatherCategories = false;
    QString m_lastSearch;
    SearchIn m_lastWhere = SearchIn::Name;
};

}  // namespace kavina::products
