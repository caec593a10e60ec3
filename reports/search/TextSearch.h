#pragma once
// The invoice search by text: the invoices of a period that hold a piece of text in the
// chosen places (customer data, the invoice's comment, the lines' names, the lines'
// comments), copied with their lines into two lists in memory. Being in memory, two searches
// never share anything, and the program folder is not written.

#include <QDate>
#include <QString>
#include <optional>
#include <string>
#include <utility>

#include "foundation/CatalogueFields.h"
#include "foundation/MemTable.h"
#include "reports/turnover/SalesSelection.h"

namespace kavina::reports {

struct SearchPlaces {
    bool customer = false;      // "Vevő adatai"
    bool comment = false;       // "Számla megjegyzés"
    bool lineNames = false;     // "Termék/szolgáltatás név"
    bool lineComments = false;  // "Termék/szolgáltatás megjegyzés"
};

struct TextSearchRequest {
    std::optional<QDate> from;  // nothing when the box was left empty
    std::optional<QDate> to;
    QString text;
    SearchPlaces places;
};

// An empty or pre-1900 from-date counts as 1900.01.01, an empty or pre-1900 to-date as
// 2100.01.01.
std::pair<QDate, QDate> searchPeriod(const std::optional<QDate>& from, const std::optional<QDate>& to);

// True when text holds part, letter case ignored for every letter (ő and Ő, ű and Ű alike).
bool containsIgnoringCase(const QString& text, const QString& part);

// The hits and their lines: the record sets have the fields of the search's tables (tmp1.dbf
// and tmp2.dbf of the catalogue), both ordered by document number.
class TextSearchResult {
public:
    TextSearchResult();
    MemTable& hits() { return m_hits; }
    MemTable& lines() { return m_lines; }
    // Empties both lists.
    void clear();

private:
    MemTable m_hits;
    MemTable m_lines;
};

// Fills the result (emptied first) with the invoices (type "B" only) of the period that hold
// the text in a chosen place. An empty text, or no place chosen, finds nothing. Returns the
// number of hits.
int searchInvoices(const std::string& folder, const TextSearchRequest& request, TextSearchResult& result,
                   const Progress& progress = {});

}  // namespace kavina::reports
