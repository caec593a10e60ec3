#pragma once
// Builds the in-memory document of one generated document as the editors would: the header
// from the partner as the partner pick copies it, each line picked from the product register
// at the document's price group and accepted by the line dialog with its quantity, and the
// totals computed by the editors' own rule (cash rounding where the invoice editor rounds).
// The lines of a stored document are copied as the editors copy a source document.

#include <QDate>
#include <QString>
#include <optional>
#include <string>

#include "foundation/Prompt.h"
#include "foundation/TableHandle.h"
#include "invoicing/document/MemoryDocument.h"
#include "invoicing/editor/EditorMode.h"
#include "products/pickers/LineDialog.h"

namespace kavina::generator {

// A partner as the partner pick copies it into a header.
struct PartnerCard {
    int64_t code = 0;
    QString name, name2, postcode, town, street, payment;
    int priceGroup = 4;
    int discount = 0;
    int paymentDays = 8;
};

// Every message of the logic the generator drives is a fault of the generator: it throws.
// Copies are never printed.
class SilentPrompt : public Prompt {
public:
    void message(const QString& caption, const QString& text, Icon icon) override;
    bool askYesNo(const QString& caption, const QString& question, Icon icon) override;
    std::optional<QString> askText(const QString& caption, const QString& prompt, const QString& initial) override;
    std::optional<int> askCopies(int) override { return 0; }
    std::optional<QString> chooseFile(const FileChoice&) override { return std::nullopt; }
    std::optional<QString> chooseFolder(const FolderChoice&) override { return std::nullopt; }
};

class DocumentBuilder {
public:
    // products: a handle on Anyag.dbf ordered by ANYAGKOD.
    DocumentBuilder(TableHandle& products, Prompt& prompt, QString user);

    // Empties the document and starts its header: the partner (none for cash-register sales
    // and scrap), the payment method, the three dates and the price group.
    void start(MemoryDocument& doc, const PartnerCard* partner, const QString& payment, const QDate& issued,
               const QDate& due, int priceGroup);

    // Picks the product of the code at the header's price group and accepts the line with the
    // quantity; a purchase-priced line (goods receipt, return) may take another net price.
    // Throws std::runtime_error when the product is missing or the dialog refuses the line.
    void addLine(MemoryDocument& doc, double productCode, double quantity, products::LineEditor editor,
                 std::optional<double> purchaseNet = std::nullopt);

    // Copies the stored lines of a document, each quantity and value times sign, and for a
    // replaced source its goods lines into mData2. only: the 0-based positions copied (all
    // when empty).
    void copyStoredLines(MemoryDocument& doc, TableHandle& storedLines, const QString& number, double sign,
                         bool intoSource, const std::vector<int>& only = {});

    // The editors' totals into AFAALAP, AFAFT and FIZETENDO.
    void total(MemoryDocument& doc, invoicing::EditorMode mode, bool deliveryEditor);

private:
    TableHandle& m_products;
    Prompt& m_prompt;
    QString m_user;
};

}  // namespace kavina::generator
