#pragma once
// Inside TSzamlar: the state of one prepare (source, VAT summary, italic flag) shared by the
// functions that build its bands, and the page geometry they share. Millimetres, on a band
// 190 mm wide (A4 portrait, 10 mm margins).
#include <QChar>
#include <QString>
#include <optional>

#include "foundation/CatalogueFields.h"

#include "invoicing/navdata/VatCase.h"
#include "invoicing/print/PrintTypeRules.h"
#include "invoicing/print/TSzamlar.h"
#include "invoicing/print/VatSummary.h"
#include "report/Layout.h"

namespace kavina {

namespace szamlar {

struct Column {
    double x;
    double width;
};

inline constexpr Column kTariff{0, 15};
inline constexpr Column kNameOneRow{15, 53};
inline constexpr Column kNameFullRow{15, 175};
inline constexpr Column kRemark{15, 53};
inline constexpr Column kQuantity{68, 12};
inline constexpr Column kUnit{81, 11};
inline constexpr Column kUnitPrice{92, 22};
inline constexpr Column kNetValue{114, 23};
inline constexpr Column kRate{137, 10};
inline constexpr Column kVatAmount{147, 21};
inline constexpr Column kGrossValue{168, 22};

inline constexpr double kWidth = 190;

inline constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignTop;
inline constexpr Qt::Alignment kCentre = Qt::AlignHCenter | Qt::AlignTop;

}  // namespace szamlar

struct SzamlarRun {
    SzamlarRun(TSzamlar& owner, report::Layout& layout);

    TSzamlar& owner;
    report::Layout& layout;
    RecordCursor& header;
    RecordCursor& lines;
    const bool inMemory;
    const QChar type;
    const PrintTypeRules rules;
    const report::TextStyle base;
    VatSummary vat;
    bool italic = false;
    // The case the 0 % rate prints in place of "FAD", when its group carries one.
    const std::optional<nav::VatCase> zeroCase;
    bool zeroRatePrinted = false;

    // What the rate column shows for a rate of 0: the group's case, or "FAD".
    QString zeroRateText() const { return zeroCase ? zeroCase->code : QStringLiteral("FAD"); }

    // What the caller set on the layout.
    const QString& title() const { return owner.m_title; }
    const QString& copyLabel() const { return owner.m_copyLabel; }
    const QString& numberCaption() const { return owner.m_numberCaption; }
    const QString& issueDateCaption() const { return owner.m_issueDateCaption; }
    const std::optional<Field>& footerField() const { return owner.m_footerField; }
    const QImage& overlay() const { return owner.m_overlay; }
    int copiesPrinted() const { return owner.m_copiesPrinted; }
    bool supplierOrderForm() const { return owner.m_supplierOrderForm; }
    const Field& numberField() const { return owner.m_numberField; }
    const Field& firstColumnField() const { return owner.m_firstColumnField; }
    const QString& firstColumnHeading() const { return owner.m_firstColumnHeading; }
    bool copyMarksHidden() const { return owner.m_copyMarksHidden; }
    bool cashLayout() const { return owner.m_cashLayout; }
    bool numberAsField() const { return owner.m_numberAsField; }
    const TSzamlarEnvironment& environment() const { return owner.m_env; }

    QString headerText(const Field& field) const { return header.asString(field); }
    // A header field a folder before its upgrade may lack; empty then.
    QString optionalHeaderText(const Field& field) const {
        return header.has(field) ? header.asString(field).trimmed() : QString();
    }
    // A field of the settings record; empty when there is none or the folder lacks the field.
    QString settingsText(const Field& field) const;
    report::TextStyle lineStyle() const;
    // The height of one printed row of lines.
    double lineRowHeight() const;
    // Quantity, unit and rate move to the right in the supplier-order form.
    szamlar::Column quantityColumn() const;
    szamlar::Column unitColumn() const;
    szamlar::Column rateColumn() const;
};

void buildPageHeader(SzamlarRun& run);
void buildColumnHeader(SzamlarRun& run);
void buildLines(SzamlarRun& run);
void buildSummary(SzamlarRun& run);
void buildRemark(SzamlarRun& run);
void buildPageFooter(SzamlarRun& run);

}  // namespace kavina
