#pragma once
// Fills a data folder with a business's documents over a stretch of days, as a shop's clerks
// would have made them: invoices by transfer and in cash, cash-register sales, proformas,
// corrective invoices, delivery notes (some invoiced later), price offers, goods receipts,
// returns to suppliers and scrap records; invoices and delivery notes cancelled by storno or
// spoiled, and transfer invoices paid some days after they were issued.
//
// Every document goes through the program's own saves (SalesStore, DeliveryStore,
// DocumentCancellation, InvoicePayment), with the document's own day as the save's clock, so
// numbers, stock, the stock log, the paid flags and the invoiced states hang together exactly
// as the program leaves them. The lines are priced by the product pick and the line dialog,
// the totals by the editors' own computation. The same options and seed give the same folder.
//
// A folder without tables is created first, with a settings record, the products and the
// partners; a folder that already holds a business (the demo) keeps its registers, and its
// documents are added after those it holds.

#include <QDate>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

namespace kavina::generator {

// Raised when what a generator writes changes, so that a cached folder is made again.
inline constexpr int kGeneratorVersion = 1;

// The kinds of document and action a run may make; a run makes those of its mask.
enum class Kind : uint32_t {
    TransferInvoice = 1u << 0,
    CashInvoice = 1u << 1,
    CashSale = 1u << 2,
    Proforma = 1u << 3,
    Corrective = 1u << 4,
    DeliveryNote = 1u << 5,
    InvoiceFromDeliveryNote = 1u << 6,
    Offer = 1u << 7,
    GoodsReceipt = 1u << 8,
    Return = 1u << 9,
    Scrap = 1u << 10,
    Storno = 1u << 11,       // invoices, cash-register sales and delivery notes cancelled
    Spoiled = 1u << 12,      // invoices spoiled
    LatePayment = 1u << 13,  // transfer invoices paid after their issue
};
inline constexpr uint32_t kAllKinds = (1u << 14) - 1;

inline constexpr uint32_t bit(Kind kind) {
    return uint32_t(kind);
}

struct GeneratorOptions {
    int year = 2008;
    // Documents stored (cancellations and payments change stored ones and are not counted).
    int documents = 1000;
    uint32_t seed = 1;
    // The registers written into a folder without tables; a folder with products keeps its own.
    int products = 5000;
    int partners = 1000;
    int linesPerDocument = 10;  // on average; goods receipts carry more
    // The days of the documents, both included; invalid: the whole year.
    QDate from;
    QDate to;
    uint32_t kinds = kAllKinds;
    // Saves commit without syncing to the disk: a generated folder is made again rather than
    // recovered after a power loss.
    bool sync = false;
    QString user = QStringLiteral("Generátor");
    // done of total documents, after every document.
    std::function<void(int done, int total)> progress;
};

// What a run made.
struct GeneratorSummary {
    int documents = 0;
    int lines = 0;
    int cancelled = 0;
    int payments = 0;
    int products = 0;  // in the folder
    int partners = 0;
};

// The options are not usable (no documents, a day outside the year, lines not positive).
class GeneratorRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Creates the folder (when it holds no tables) and stores the documents. Throws
// GeneratorRefused for unusable options, or what the saves throw (the documents stored
// before stay).
GeneratorSummary generateFolder(const std::string& folder, const GeneratorOptions& options);

}  // namespace kavina::generator
