#pragma once
// The invoice search by text: the search window ("Statisztika" with the period, the text and
// the places to look), and the result window over the hits and the lines of the current hit,
// with "Nyomtatás". The search window hides while the result window is open and closes with it.

#include <QDialog>
#include <memory>

#include "foundation/MemTable.h"
#include "foundation/Prompt.h"
#include "reports/products/forms/StatisticsTab.h"
#include "reports/search/TextSearch.h"

class QCheckBox;
class QDateEdit;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace kavina::widgets {
class RecordGrid;
}

namespace kavina::reports {

class TextSearchResultWindow : public QDialog {
    Q_OBJECT

public:
    TextSearchResultWindow(TextSearchResult& result, const TextSearchRequest& request, Prompt& prompt,
                           const StatisticsWindowOptions& options, QWidget* parent = nullptr);
    ~TextSearchResultWindow() override;

    // "Nyomtatás".
    void print();
    // The lines of the current hit, as the lower list shows them.
    MemTable& currentLines() { return m_current; }

private:
    void showLinesOfCurrentHit();

    TextSearchResult& m_result;
    TextSearchRequest m_request;
    Prompt& m_prompt;
    const StatisticsWindowOptions& m_options;
    MemTable m_current{std::string(fields::Tmp2::kTable)};
    std::unique_ptr<widgets::RecordGrid> m_hitGrid, m_lineGrid;
    QPushButton *m_print = nullptr, *m_quit = nullptr;
    int m_watch = 0;
    bool m_refreshDue = false;
};

class TextSearchWindow : public QDialog {
    Q_OBJECT

public:
    // showResult: opens the result window modally; the default is TextSearchResultWindow.
    using ShowResult = std::function<void(TextSearchResult&, const TextSearchRequest&, QWidget* parent)>;
    TextSearchWindow(Prompt& prompt, StatisticsWindowOptions options, ShowResult showResult = {},
                     QWidget* parent = nullptr);
    ~TextSearchWindow() override;

    // "Statisztika": searches, shows the result, and closes.
    void runSearch();
    TextSearchResult& result() { return m_result; }

private:
    TextSearchRequest request() const;

    Prompt& m_prompt;
    StatisticsWindowOptions m_options;
    ShowResult m_showResult;
    TextSearchResult m_result;
    QDateEdit *m_from = nullptr, *m_to = nullptr;
    QLineEdit* m_text = nullptr;
    QCheckBox *m_customer = nullptr, *m_comment = nullptr, *m_names = nullptr, *m_lineComments = nullptr;
    QWidget* m_buttons = nullptr;
    QProgressBar* m_progress = nullptr;
};

}  // namespace kavina::reports
