#pragma once
// The company header of the settings record (user.dbf) that the mails to the maker carry.

#include <QString>

namespace kavina {
class TDataModule1;
}

namespace kavina::support {

struct CompanyHeader {
    QString USER1, USER2, CIM, TELEFON, EMAIL;
};

// Re-reads the settings record; an empty header when it cannot be read, as a mail about an
// error must not fail for want of it.
CompanyHeader readCompanyHeader(TDataModule1* data);

}  // namespace kavina::support
