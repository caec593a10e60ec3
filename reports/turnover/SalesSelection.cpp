#include "reports/turnover/SalesSelection.h"

#include "foundation/CatalogueFields.h"

namespace kavina::reports {

namespace H = fields::Szamla;
namespace L = fields::Szamla2;

SalesSelection::SalesSelection(std::string folder, QString types, QDate from, QDate to)
    : m_folder(std::move(folder)), m_types(std::move(types)), m_from(from), m_to(to) {}

SalesSelection::~SalesSelection() = default;

void SalesSelection::visit(
    const std::function<void(const RecordCursor&, const std::vector<CursorMark>&, RecordCursor&)>& onHeader,
    const Progress& progress) {
    TableHandle headers(m_folder, std::string(H::kTable));
    headers.open();
    headers.setOrder(H::SZAMLASZAM);
    TableHandle lines(m_folder, std::string(L::kTable));
    lines.open();
    lines.setOrder(L::SZAMLASZAM);

    // The selection first, so that the progress knows its range before the first header.
    std::vector<CursorMark> selected;
    for (headers.first(); !headers.eof(); headers.next()) {
        const QString type = headers.asString(H::SZAMLATIP).trimmed();
        if (type.size() != 1 || !m_types.contains(type)) continue;
        const QDate issued = headers.asDate(H::KIALLIT);
        if (!issued.isValid() || issued < m_from || issued > m_to) continue;
        selected.push_back(headers.bookmark());
    }
    const int total = int(selected.size());
    int done = 0;
    std::vector<CursorMark> own;
    for (const CursorMark& mark : selected) {
        if (!headers.gotoBookmark(mark)) continue;
        const QString number = headers.asString(H::SZAMLASZAM).trimmed();
        own.clear();
        if (!number.isEmpty() && lines.findKey(number.toStdString())) {
            for (; !lines.eof() && lines.asString(L::SZAMLASZAM).trimmed() == number; lines.next())
                own.push_back(lines.bookmark());
        }
        onHeader(headers, own, lines);
        ++done;
        if (progress) progress(done, total);
    }
}

}  // namespace kavina::reports
