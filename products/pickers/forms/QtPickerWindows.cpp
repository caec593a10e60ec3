#include "products/pickers/forms/QtPickerWindows.h"

#include "foundation/CatalogueFields.h"
#include "products/pickers/forms/TAnyagval.h"
#include "products/pickers/forms/TAnyagval2.h"

namespace kavina::products {

bool QtPickerWindows::editLine(RecordCursor& lines, const LineDialogSetup& setup) {
    LineDialog logic(lines, readLineProduct(m_folder, lines.asFloat(fields::Szamla2::ANYAGSZAM)), m_prompt, setup);
    TAnyagval dialog(m_parent, logic, m_prompt);
    return dialog.exec() == QDialog::Accepted;
}

bool QtPickerWindows::pickWarrantyLines(const RecordCursor& product, int priceGroup) {
    if (!m_warrantyLines) return false;
    WarrantyPick logic(product, priceGroup, m_prompt);
    TAnyagval2 dialog(m_parent, logic, m_prompt, *m_warrantyLines, m_warrantyNumber);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace kavina::products
