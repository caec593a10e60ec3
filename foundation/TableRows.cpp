#include "foundation/TableRows.h"

#include "dbase/FieldCodec.h"
#include "dbase/Table.h"

namespace kavina {

void appendRows(const std::string& folder, TableId id, const std::vector<Row>& rows) {
    dbase::Table table(folder, catalogue::table(id).fileName);
    table.open({.exclusive = true});
    for (const Row& row : rows) {
        table.append();
        for (const auto& [field, value] : row) table.setString(field, value);
        table.post();
    }
}

std::string numberText(double value) {
    return dbase::codec::shortestText(value);
}

}  // namespace kavina
