#include "support/errorreport/CompanyHeader.h"

#include <exception>

#include "foundation/CatalogueFields.h"
#include "foundation/TDataModule1.h"

namespace kavina::support {

CompanyHeader readCompanyHeader(TDataModule1* data) {
    namespace U = fields::User;
    CompanyHeader header;
    if (!data) return header;
    try {
        TableHandle& user = data->UserTable();
        if (!user.isOpen() || user.state() != dbase::TableState::Browse) return header;
        user.refresh();
        if (user.isEmpty() || user.eof()) return header;
        header.USER1 = user.asString(U::USER1).trimmed();
        header.USER2 = user.asString(U::USER2).trimmed();
        header.CIM = user.asString(U::CIM).trimmed();
        header.TELEFON = user.asString(U::TELEFON).trimmed();
        header.EMAIL = user.asString(U::EMAIL).trimmed();
    } catch (const std::exception&) {
        return {};
    }
    return header;
}

}  // namespace kavina::support
