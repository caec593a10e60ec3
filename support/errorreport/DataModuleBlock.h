#pragma once
// The data-module block of the error report: for every shared table handle, in the
// catalogue's order, whether it is open and where, and when it is open its order, filter,
// record number, state and the current record's values, so support sees the record a command
// was working on (a record in edit shows its edited values).

#include <QStringList>

namespace kavina {
class TDataModule1;
}

namespace kavina::support {

// HTML lines. A handle that cannot be read is listed with the reason instead of its values.
QStringList dataModuleBlock(TDataModule1& data);

}  // namespace kavina::support
