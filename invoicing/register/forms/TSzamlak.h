#pragma once
// The document register window: the header, the documents with their lines below, the search
// box, the legend and the buttons. The logic is DocumentRegister; this window lays it out,
// forwards the clerk's actions and shows the current document highlighted. "Stornó",
// "Rontott" and "Befizetve" are shown but stay disabled until their dialogs exist.

#include <QDialog>
#include <memory>

#include "foundation/IniSettings.h"
#include "invoicing/register/DocumentRegister.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace kavina::widgets {
class RecordGrid;
}

namespace kavina::invoicing {

class TSzamlak final : public QDialog {
    Q_OBJECT

public:
    TSzamlak(QWidget* parent, TDataModule1& data, Prompt& prompt, DocumentWindows& windows,
             const RegisterRequest& request, const RegisterOptions& options, const IniSettings& settings);
    ~TSzamlak() override;

    DocumentRegister& logic() { return m_logic; }
    // Whether the window closed with a document chosen.
    bool chosen() const { return m_chosen; }
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buttonColumn();
    QWidget* bottomRow();
    void buildGrids(const IniSettings& settings);
    void arrangeColumns();
    void sortByColumn(int column);
    void syncSelection();
    void showLines();
    void enableButtons();
    void chooseAndClose(bool doubleClick);
    template <typename Action>
    void command(Action action) {
        runCommand(m_prompt, [&] { action(); });
        runCommand(m_prompt, [&] { syncSelection(); });
    }

    TDataModule1& m_data;
    Prompt& m_prompt;
    DocumentRegister m_logic;
    std::unique_ptr<widgets::RecordGrid> m_list;
    std::unique_ptr<widgets::RecordGrid> m_lines;
    QLabel* m_header;
    QTableView* m_grid;
    QTableView* m_lineGrid;
    QWidget* m_linePanel;
    QLineEdit* m_search;
    QPushButton *m_archive, *m_storno, *m_spoil, *m_payment, *m_agent, *m_copy, *m_preview, *m_listing, *m_choose;
    bool m_chosen = false;
    uint64_t m_linesOf = 0;  // the document whose lines the panel shows
};

}  // namespace kavina::invoicing
