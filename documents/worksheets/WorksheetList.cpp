#include "documents/worksheets/WorksheetList.h"

#include "foundation/CatalogueFields.h"
#include "foundation/FieldFilter.h"
#include "foundation/Prompt.h"
#include "foundation/TextFormat.h"

namespace kavina::documents {

void restrictWorksheetsToYear(TableHandle& worksheets, bool archive, const QDate& today) {
    using namespace filter;
    const Field& date = fields::Munkalap::DATUM;
    const int year = today.year();
    restrictExactly(worksheets, archive ? date.text() + " < " + constant(dateText(QDate(year, 1, 1)))
                                        : date.text() + " > " + constant(dateText(QDate(year - 1, 12, 31))));
}

bool confirmWorksheetCopy(Prompt& prompt) {
    return prompt.askYesNo(QStringLiteral("Figyelem!"),
                           QStringLiteral("Biztos, hogy újra szeretné nyomtatni a munkalapot?"));
}

}  // namespace kavina::documents
