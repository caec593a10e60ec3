#include "invoicing/navdata/VatCase.h"

#include "foundation/Catalogue.h"
#include "foundation/CatalogueFields.h"
#include "foundation/TableHandle.h"

namespace kavina::nav {

namespace V = fields::AFA;

std::optional<VatCase> zeroRateCase(const std::string& folder) {
    const TableDef& def = catalogue::table(TableId::AFA);
    if (folder.empty() || !catalogue::existsIn(def, folder)) return std::nullopt;
    TableHandle groups(folder, def.fileName);
    groups.open();
    if (!groups.has(V::VATKIND)) return std::nullopt;
    for (groups.first(); !groups.eof(); groups.next()) {
        if (groups.asFloat(V::AFA) != 0) continue;
        const QString kind = groups.asString(V::VATKIND).trimmed();
        const QString code = groups.asString(V::VATCASE).trimmed();
        if ((kind != QStringLiteral("E") && kind != QStringLiteral("O")) || code.isEmpty()) return std::nullopt;
        return VatCase{code, groups.asString(V::VATREASON).trimmed()};
    }
    return std::nullopt;
}

}  // namespace kavina::nav
