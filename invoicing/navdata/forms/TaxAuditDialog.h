#pragma once
// "Adóhatósági ellenőrzési adatszolgáltatás": the clerk chooses an issue-date range or a number
// range and the archive; the export runs with a progress bar and tells what it wrote.

#include "invoicing/register/forms/RegisterCommands.h"

namespace kavina::invoicing {

// Adds the lists menu's command (handler "taxAuditExportClick").
void addTaxAuditCommand(const AddCommand& add, const RegisterCommandContext& context);

}  // namespace kavina::invoicing
