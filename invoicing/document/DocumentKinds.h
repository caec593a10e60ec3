#pragma once
// The closed sets of a stored document: its type code (SZAMLATIP), its state (ALLAPOT), and
// the kinds of number the settings record's counters hand out, with how each is composed.

#include <QChar>
#include <QString>
#include <optional>

namespace kavina::invoicing {

// SZAMLATIP: one character per kind of document, and the codes storno and spoiling put in
// place of the original ones.
namespace type {
inline constexpr char16_t Invoice = u'B';
inline constexpr char16_t Corrective = u'J';
inline constexpr char16_t Cancelled = u'S';  // an invoice or corrective after storno or spoiling
inline constexpr char16_t Proforma = u'P';
inline constexpr char16_t ProformaListed = u'Q';  // listed with proformas; nothing writes it
inline constexpr char16_t CashSale = u'1';
inline constexpr char16_t CashSaleCancelled = u'2';
inline constexpr char16_t Scrap = u'5';
inline constexpr char16_t Offer = u'A';
inline constexpr char16_t DeliveryNote = u'F';
inline constexpr char16_t DeliveryNoteCancelled = u'U';
inline constexpr char16_t GoodsReceipt = u'3';
inline constexpr char16_t Return = u'4';
inline constexpr char16_t SupplierOrder = u'X';
inline constexpr char16_t CashPayout = u'6';
}  // namespace type

// ALLAPOT: empty for a live document.
namespace state {
inline const QString Live;
inline const QString Invoiced = QStringLiteral("számlázva");
inline const QString Spoiled = QStringLiteral("rontott");
}  // namespace state

// What a counter of the settings record numbers. Warranty certificates and worksheets number
// records of their own tables.
enum class NumberKind {
    Invoice,
    Corrective,
    Proforma,
    CashSale,
    Scrap,
    Offer,
    DeliveryNote,
    GoodsReceipt,
    Return,
    SupplierOrder,
    CashPayout,
    Warranty,
    Worksheet,
};

// How a kind's number is made: prefix + year + "/" + counter (5 digits at least) + suffix.
// The prefix is either fixed letters or the text of a settings field; so is the suffix.
struct NumberRule {
    const char* counterField;
    const char* fixedPrefix;  // nullptr when the prefix is a settings field
    const char* prefixField;  // nullptr when fixed
    const char* suffixField;  // nullptr when there is none
};

const NumberRule& numberRule(NumberKind kind);

// The type code a document of the kind is stored with; none for warranties and worksheets.
std::optional<QChar> typeCodeOf(NumberKind kind);

}  // namespace kavina::invoicing
