#pragma once
// The sales documents a statistic reads: the headers of Szamla.dbf of some types issued in a
// range of days, visited in document-number order, each with its lines from Szamla2.dbf.
// Reads only; the tables are opened on the statistic's own handles, so the windows' shared
// handles keep their filters and positions.

#include <QDate>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "foundation/Field.h"
#include "foundation/RecordCursor.h"
#include "foundation/TableHandle.h"

namespace kavina::reports {

// Reports how far a collection is: done of total headers. Called after every header.
using Progress = std::function<void(int done, int total)>;

class SalesSelection {
public:
    // types: the SZAMLATIP letters taken; from and to both included. lineFields: the line
    // fields the statistic reads; when given, the lines come copied out with those fields
    // alone, which a statistic over many documents reads far faster than the line table.
    SalesSelection(std::string folder, QString types, QDate from, QDate to, std::vector<Field> lineFields = {});
    ~SalesSelection();

    // The statistic reads no lines: none are gathered, and every header is visited with none.
    void headersOnly() { m_headersOnly = true; }
    // Header fields the statistic reads beyond those every visit copies (listed at visit()).
    SalesSelection& alsoHeaderFields(const std::vector<Field>& fields);

    // Visits every selected header: header is a copy of its record with the fields a statistic
    // reads (number, type, state, partner code, name, payment, the dates, the net, payable and
    // commission amounts, the address, the discount), lines holds its lines (empty when it has none), in
    // lineCursor: the line table, or a copy with the line fields given. Progress gets the count
    // of selected headers as total.
    void visit(const std::function<void(const RecordCursor& header, const std::vector<CursorMark>& lines,
                                        RecordCursor& lineCursor)>& onHeader,
               const Progress& progress = {});

private:
    std::string m_folder;
    QString m_types;
    QDate m_from;
    QDate m_to;
    std::vector<Field> m_lineFields;
    std::vector<Field> m_headerFields;
    bool m_headersOnly = false;
};

}  // namespace kavina::reports
