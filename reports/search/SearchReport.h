#pragma once
// The printed result of the invoice search: per hit a block with the invoice's data and then
// its lines. The layout prints from its own copy of the lines, so that a hit without lines
// still gets its block; the hits are read while the layout is prepared.

#include <QString>
#include <memory>
#include <optional>

#include "report/Layout.h"
#include "reports/search/TextSearch.h"

namespace kavina::reports {

class SearchReport {
public:
    // request: the period as typed and the text searched for; user: the printed "Kiállította:".
    SearchReport(TextSearchResult& result, const TextSearchRequest& request, const QString& user);
    ~SearchReport();
    SearchReport(const SearchReport&) = delete;
    SearchReport& operator=(const SearchReport&) = delete;
    report::Layout& layout() { return *m_layout; }

private:
    MemTable m_rows{"nyomtatas"};
    std::unique_ptr<report::Layout> m_layout;
};

// "Időszak: 2008.03.01-tól 2008.03.31-ig ": each end only when it was typed.
QString searchPeriodLine(const TextSearchRequest& request);

}  // namespace kavina::reports
