#include "foundation/TableRows.h"

#include <strings.h>

#include "dbase/DbError.h"
#include "dbase/FieldCodec.h"
#include "dbase/Table.h"

namespace kavina {

void appendRows(const std::string& folder, TableId id, const std::vector<Row>& rows) {
    const std::string& fileName = catalogue::table(id).fileName;
    dbase::Table table(folder, fileName);
    table.open({.exclusive = true});
    for (const Row& row : rows) {
        table.append();
        for (const auto& [field, value] : row) {
            if (field.table.size() != fileName.size() ||
                ::strncasecmp(field.table.data(), fileName.data(), fileName.size()) != 0)
                dbase::fail(table.path(), "the field " + field.text() + " belongs to " + std::string(field.table));
            table.setString(field.text(), value);
        }
        table.post();
    }
}

std::string numberText(double value) {
    return dbase::codec::shortestText(value);
}

}  // namespace kavina
