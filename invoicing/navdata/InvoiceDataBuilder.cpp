#include "invoicing/navdata/InvoiceDataBuilder.h"

#include <QRegularExpression>
#include <QXmlStreamWriter>
#include <algorithm>
#include <map>

#include "foundation/Catalogue.h"
#include "foundation/CatalogueFields.h"
#include "foundation/NavCodes.h"
#include "foundation/RuleError.h"
#include "foundation/SzamSzov.h"
#include "foundation/TableHandle.h"
#include "invoicing/document/DocumentKinds.h"

namespace kavina::nav {

namespace {

namespace H = fields::Szamla;
namespace L = fields::Szamla2;
namespace Q = fields::NavQueue;
namespace U = fields::User;

const QString kData = QStringLiteral("http://schemas.nav.gov.hu/OSA/3.0/data");
const QString kBase = QStringLiteral("http://schemas.nav.gov.hu/OSA/3.0/base");

struct VatKind {
    QChar kind;  // P, E or O
    QString caseCode;
    QString reason;
};

struct Address {
    QString countryCode;
    QString postalCode;
    QString city;
    QString detail;
};

struct Supplier {
    std::optional<TaxNumber> taxNumber;
    QString name;
    std::optional<Address> address;
};

QString money(double value) {
    const long double rounded = roundTo(2, value);
    return QString::number(double(rounded == 0 ? 0.0L : rounded), 'f', 2);
}

QString decimal(double value, int decimals) {
    const long double rounded = roundTo(decimals, value);
    QString text = QString::number(double(rounded == 0 ? 0.0L : rounded), 'f', decimals);
    while (text.contains(QLatin1Char('.')) && (text.endsWith(QLatin1Char('0')) || text.endsWith(QLatin1Char('.'))))
        text.chop(1);
    return text;
}

QString isoDate(const QDate& date) {
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

// The company address of the settings as written on the invoices: "6720 Szeged, Kárász utca 10.".
std::optional<Address> parseCompanyAddress(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^\\s*(\\d{4})\\s+([^,]+?)\\s*,\\s*(.+?)\\s*$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch()) return std::nullopt;
    return Address{QStringLiteral("HU"), m.captured(1), m.captured(2), m.captured(3)};
}

QString euCountry(const QString& euNumber) {
    const QString prefix = euNumber.left(2);
    return prefix == QStringLiteral("EL") ? QStringLiteral("GR") : prefix;
}

void writeTaxNumber(QXmlStreamWriter& x, const QString& element, const TaxNumber& number) {
    x.writeStartElement(kData, element);
    x.writeTextElement(kBase, QStringLiteral("taxpayerId"), number.taxpayerId);
    x.writeTextElement(kBase, QStringLiteral("vatCode"), number.vatCode);
    x.writeTextElement(kBase, QStringLiteral("countyCode"), number.countyCode);
    x.writeEndElement();
}

void writeAddress(QXmlStreamWriter& x, const QString& element, const Address& address) {
    x.writeStartElement(kData, element);
    x.writeStartElement(kBase, QStringLiteral("simpleAddress"));
    x.writeTextElement(kBase, QStringLiteral("countryCode"), address.countryCode);
    x.writeTextElement(kBase, QStringLiteral("postalCode"), address.postalCode);
    x.writeTextElement(kBase, QStringLiteral("city"), address.city);
    x.writeTextElement(kBase, QStringLiteral("additionalAddressDetail"), address.detail);
    x.writeEndElement();
    x.writeEndElement();
}

void writeVatRate(QXmlStreamWriter& x, const QString& element, double rate, const VatKind& kind) {
    x.writeStartElement(kData, element);
    if (rate == 0 && (kind.kind == QLatin1Char('E') || kind.kind == QLatin1Char('O'))) {
        x.writeStartElement(
            kData, kind.kind == QLatin1Char('E') ? QStringLiteral("vatExemption") : QStringLiteral("vatOutOfScope"));
        x.writeTextElement(kData, QStringLiteral("case"), kind.caseCode);
        x.writeTextElement(kData, QStringLiteral("reason"), kind.reason);
        x.writeEndElement();
    } else {
        x.writeTextElement(kData, QStringLiteral("vatPercentage"), decimal(rate / 100.0, 4));
    }
    x.writeEndElement();
}

void writeAmountPair(QXmlStreamWriter& x, const QString& group, const QString& amount, double value) {
    x.writeStartElement(kData, group);
    x.writeTextElement(kData, amount, money(value));
    x.writeTextElement(kData, amount + QStringLiteral("HUF"), money(value));
    x.writeEndElement();
}

bool isHungarianAddress(const InvoiceDocument& d) {
    return d.postalCode.size() >= 3 && !d.city.isEmpty() && !d.address.isEmpty();
}

}  // namespace

struct InvoiceDataBuilder::Tables {
    explicit Tables(const std::string& folder)
        : settings(folder, catalogue::table(TableId::User).fileName),
          vat(folder, catalogue::table(TableId::AFA).fileName),
          units(folder, catalogue::table(TableId::Egyseg).fileName),
          methods(folder, catalogue::table(TableId::Fizmod).fileName),
          headers(folder, catalogue::table(TableId::Szamla).fileName),
          lines(folder, catalogue::table(TableId::Szamla2).fileName),
          queue(folder, catalogue::table(TableId::NavQueue).fileName) {}
    TableHandle settings, vat, units, methods, headers, lines, queue;

    Supplier supplier() {
        settings.refresh();
        settings.first();
        Supplier s;
        if (settings.isEmpty()) return s;
        s.taxNumber = findTaxNumber(settings.asString(U::ADOSZAM));
        s.name = settings.asString(U::USER1).trimmed();
        s.address = parseCompanyAddress(settings.asString(U::CIM));
        return s;
    }
    // The first group of the rate in the table's order: a data folder keeps one group per rate.
    VatKind vatKind(double rate) {
        vat.refresh();
        for (vat.first(); !vat.eof(); vat.next()) {
            if (KerekitRound(vat.asFloat(fields::AFA::AFA) * 100) != KerekitRound(rate * 100)) continue;
            const QString kind = vat.asString(fields::AFA::VATKIND).trimmed();
            return {kind.isEmpty() ? QChar(u'P') : kind.front(), vat.asString(fields::AFA::VATCASE).trimmed(),
                    vat.asString(fields::AFA::VATREASON).trimmed()};
        }
        return {QChar(u'P'), {}, {}};
    }
    QString unitOf(const QString& name) {
        units.refresh();
        for (units.first(); !units.eof(); units.next())
            if (units.asString(fields::Egyseg::EGYSEG).trimmed().compare(name, Qt::CaseInsensitive) == 0) {
                const QString mapped = units.asString(fields::Egyseg::NAVUNIT).trimmed();
                if (navUnits().contains(mapped)) return mapped;
            }
        return navUnitOf(name);
    }
    QString paymentOf(const QString& name) {
        methods.refresh();
        for (methods.first(); !methods.eof(); methods.next())
            if (methods.asString(fields::Fizmod::FIZMOD).trimmed().compare(name, Qt::CaseInsensitive) == 0) {
                const QString mapped = methods.asString(fields::Fizmod::NAVPAYMENT).trimmed();
                if (navPaymentMethods().contains(mapped)) return mapped;
            }
        return navPaymentOf(name);
    }
};

InvoiceDataBuilder::InvoiceDataBuilder(std::string folder) : m_folder(std::move(folder)) {}

InvoiceDataBuilder::~InvoiceDataBuilder() = default;

void InvoiceDataBuilder::open() {
    if (m_tables) return;
    auto tables = std::make_unique<Tables>(m_folder);
    for (TableHandle* t : {&tables->settings, &tables->vat, &tables->units, &tables->methods, &tables->headers,
                           &tables->lines, &tables->queue})
        t->open();
    tables->headers.setOrder(H::SZAMLASZAM);
    tables->lines.setOrder(L::SZAMLASZAM);
    tables->queue.setOrder(Q::BASENUMBER);
    m_tables = std::move(tables);
}

InvoiceDocument InvoiceDataBuilder::readStored(const QString& number) {
    open();
    TableHandle& h = m_tables->headers;
    h.refresh();
    if (number.trimmed().isEmpty() || !h.findKey(number.trimmed().toStdString()))
        throw RuleError(QStringLiteral("A(z) %1 számú bizonylat nem található.").arg(number.trimmed()));
    TableHandle& lines = m_tables->lines;
    lines.refresh();
    // The lines through their index: a filter would read every line of the folder, and the
    // save of each invoice reads its own back.
    const QString wanted = number.trimmed();
    return readDocument(h, [&lines, &wanted](const LineVisitor& visit) {
        for (bool found = lines.findKey(wanted.toStdString()); found && !lines.eof(); lines.next()) {
            if (lines.asString(L::SZAMLASZAM).trimmed() != wanted) break;
            visit(lines);
        }
    });
}

int InvoiceDataBuilder::lineCount(const QString& number) {
    TableHandle& lines = m_tables->lines;
    lines.refresh();
    int count = 0;
    const std::string key = number.toStdString();
    for (bool found = lines.findKey(key); found && !lines.eof(); lines.next()) {
        if (lines.asString(L::SZAMLASZAM).trimmed() != number) break;
        ++count;
    }
    return count;
}

Modification InvoiceDataBuilder::modificationAt(const QString& baseNumber, int index) {
    open();
    Modification m{baseNumber, index, lineCount(baseNumber), false};
    TableHandle& q = m_tables->queue;
    q.refresh();
    bool reported = false;
    const std::string key = baseNumber.toStdString();
    for (bool found = q.findKey(key); found && !q.eof(); q.next()) {
        if (q.asString(Q::BASENUMBER).trimmed() != baseNumber) break;
        const int earlier = int(q.asInteger(Q::MODINDEX));
        if (index > 0 && earlier >= index) continue;
        QString number = q.asString(Q::INVNUMBER).trimmed();
        if (number.endsWith(QStringLiteral("-S"))) number.chop(2);
        m.lineOffset += lineCount(number);
        if (index == 0) m.index = std::max(m.index, earlier);
    }
    q.setOrder(Q::INVNUMBER);
    reported = q.findKey(key);
    q.setOrder(Q::BASENUMBER);
    m.withoutMaster = !reported;
    return m;
}

Modification InvoiceDataBuilder::nextModification(const QString& baseNumber) {
    Modification m = modificationAt(baseNumber, 0);
    m.index += 1;
    return m;
}

std::optional<QString> InvoiceDataBuilder::missingData(const InvoiceDocument& d) {
    open();
    const Supplier supplier = m_tables->supplier();
    if (!supplier.taxNumber)
        return QStringLiteral(
            "A számla adatszolgáltatásához hiányzik a cég adószáma (12345676-2-41 formában) a "
            "beállításokból.");
    if (supplier.name.isEmpty())
        return QStringLiteral("A számla adatszolgáltatásához hiányzik a cég neve a beállításokból.");
    if (!supplier.address)
        return QStringLiteral(
            "A számla adatszolgáltatásához a cég címe a beállításokban \"irányítószám település, "
            "cím\" formában kell (például 6720 Szeged, Kárász utca 10.).");
    if (d.lines.empty()) return QStringLiteral("A számlának nincs egyetlen tétele sem.");
    const QChar status = effectiveBuyerStatus(d);
    if (status == QLatin1Char(fields::partnerVat::Domestic)) {
        if (!findTaxNumber(d.buyerTax))
            return QStringLiteral(
                "A vevő belföldi adóalany, de hiányzik az adószáma (12345676-2-41 formában). "
                "Kérem, adja meg a partner adatai között.");
        if (!isHungarianAddress(d))
            return QStringLiteral(
                "A vevő belföldi adóalany, de hiányos a címe (irányítószám, település, utca). "
                "Kérem, adja meg a partner adatai között.");
    }
    if (status == QLatin1Char(fields::partnerVat::Eu)) {
        if (!communityVatNumber(d.buyerEu))
            return QStringLiteral(
                "A vevő közösségi adóalany, de hiányzik a közösségi adószáma (például ATU12345678). "
                "Kérem, adja meg a partner adatai között.");
        if (!isHungarianAddress(d))
            return QStringLiteral(
                "A vevő közösségi adóalany, de hiányos a címe (irányítószám, település, utca). "
                "Kérem, adja meg a partner adatai között.");
    }
    if (status != QLatin1Char(fields::partnerVat::PrivatePerson) && d.name.isEmpty())
        return QStringLiteral("Hiányzik a vevő neve.");
    for (const InvoiceLine& line : d.lines) {
        if (line.rate != 0) continue;
        const VatKind kind = m_tables->vatKind(0);
        if ((kind.kind == QLatin1Char('E') || kind.kind == QLatin1Char('O')) &&
            (kind.caseCode.isEmpty() || kind.reason.isEmpty()))
            return QStringLiteral("A 0%-os ÁFA-csoportnál hiányzik az adómentesség esetének kódja vagy indoka.");
    }
    return std::nullopt;
}

QByteArray InvoiceDataBuilder::build(const InvoiceDocument& d, const InvoiceDataRequest& request) {
    if (const auto missing = missingData(d)) throw RuleError(*missing);
    const Supplier supplier = m_tables->supplier();
    const bool storno = request.operation == Operation::Storno;
    const double sign = storno ? -1 : 1;
    QByteArray out;
    QXmlStreamWriter x(&out);
    x.setAutoFormatting(true);
    x.writeStartDocument();
    x.writeDefaultNamespace(kData);
    x.writeNamespace(kBase, QStringLiteral("base"));
    x.writeStartElement(kData, QStringLiteral("InvoiceData"));
    x.writeTextElement(kData, QStringLiteral("invoiceNumber"), request.invoiceNumber);
    x.writeTextElement(kData, QStringLiteral("invoiceIssueDate"), isoDate(d.issued));
    x.writeTextElement(kData, QStringLiteral("completenessIndicator"), QStringLiteral("false"));
    x.writeStartElement(kData, QStringLiteral("invoiceMain"));
    x.writeStartElement(kData, QStringLiteral("invoice"));
    if (request.modification) {
        x.writeStartElement(kData, QStringLiteral("invoiceReference"));
        x.writeTextElement(kData, QStringLiteral("originalInvoiceNumber"), request.modification->baseNumber);
        x.writeTextElement(kData, QStringLiteral("modifyWithoutMaster"),
                           request.modification->withoutMaster ? QStringLiteral("true") : QStringLiteral("false"));
        x.writeTextElement(kData, QStringLiteral("modificationIndex"), QString::number(request.modification->index));
        x.writeEndElement();
    }
    x.writeStartElement(kData, QStringLiteral("invoiceHead"));
    x.writeStartElement(kData, QStringLiteral("supplierInfo"));
    writeTaxNumber(x, QStringLiteral("supplierTaxNumber"), *supplier.taxNumber);
    x.writeTextElement(kData, QStringLiteral("supplierName"), supplier.name);
    writeAddress(x, QStringLiteral("supplierAddress"), *supplier.address);
    x.writeEndElement();

    x.writeStartElement(kData, QStringLiteral("customerInfo"));
    const QChar status = effectiveBuyerStatus(d);
    const Address buyerAddress{QStringLiteral("HU"), d.postalCode, d.city, d.address};
    if (status == QLatin1Char(fields::partnerVat::PrivatePerson)) {
        // A private person's name and address are not reported.
        x.writeTextElement(kData, QStringLiteral("customerVatStatus"), QStringLiteral("PRIVATE_PERSON"));
    } else if (status == QLatin1Char(fields::partnerVat::Domestic)) {
        x.writeTextElement(kData, QStringLiteral("customerVatStatus"), QStringLiteral("DOMESTIC"));
        x.writeStartElement(kData, QStringLiteral("customerVatData"));
        writeTaxNumber(x, QStringLiteral("customerTaxNumber"), *findTaxNumber(d.buyerTax));
        x.writeEndElement();
        x.writeTextElement(kData, QStringLiteral("customerName"), d.name);
        writeAddress(x, QStringLiteral("customerAddress"), buyerAddress);
    } else {
        x.writeTextElement(kData, QStringLiteral("customerVatStatus"), QStringLiteral("OTHER"));
        const std::optional<QString> eu = communityVatNumber(d.buyerEu);
        if (eu) {
            x.writeStartElement(kData, QStringLiteral("customerVatData"));
            x.writeTextElement(kData, QStringLiteral("communityVatNumber"), *eu);
            x.writeEndElement();
        }
        x.writeTextElement(kData, QStringLiteral("customerName"), d.name);
        if (eu && isHungarianAddress(d))
            writeAddress(x, QStringLiteral("customerAddress"), {euCountry(*eu), d.postalCode, d.city, d.address});
    }
    x.writeEndElement();

    x.writeStartElement(kData, QStringLiteral("invoiceDetail"));
    x.writeTextElement(kData, QStringLiteral("invoiceCategory"), QStringLiteral("NORMAL"));
    x.writeTextElement(kData, QStringLiteral("invoiceDeliveryDate"),
                       isoDate(d.delivered.isValid() ? d.delivered : d.issued));
    x.writeTextElement(kData, QStringLiteral("currencyCode"), QStringLiteral("HUF"));
    x.writeTextElement(kData, QStringLiteral("exchangeRate"), QStringLiteral("1"));
    x.writeTextElement(kData, QStringLiteral("paymentMethod"), m_tables->paymentOf(d.paymentMethod));
    if (d.due.isValid() && d.due >= kReportingSince)
        x.writeTextElement(kData, QStringLiteral("paymentDate"), isoDate(d.due));
    x.writeTextElement(kData, QStringLiteral("invoiceAppearance"), QStringLiteral("PAPER"));
    x.writeEndElement();
    x.writeEndElement();  // invoiceHead

    x.writeStartElement(kData, QStringLiteral("invoiceLines"));
    x.writeTextElement(kData, QStringLiteral("mergedItemIndicator"), QStringLiteral("false"));
    struct Sums {
        double net = 0, vat = 0, gross = 0;
    };
    std::map<long long, Sums> byRate;
    int lineNumber = 0;
    for (const InvoiceLine& line : d.lines) {
        ++lineNumber;
        const VatKind kind = m_tables->vatKind(line.rate);
        x.writeStartElement(kData, QStringLiteral("line"));
        x.writeTextElement(kData, QStringLiteral("lineNumber"), QString::number(lineNumber));
        if (request.modification) {
            x.writeStartElement(kData, QStringLiteral("lineModificationReference"));
            x.writeTextElement(kData, QStringLiteral("lineNumberReference"),
                               QString::number(request.modification->lineOffset + lineNumber));
            x.writeTextElement(kData, QStringLiteral("lineOperation"), QStringLiteral("CREATE"));
            x.writeEndElement();
        }
        x.writeTextElement(kData, QStringLiteral("lineExpressionIndicator"), QStringLiteral("true"));
        x.writeTextElement(kData, QStringLiteral("lineNatureIndicator"),
                           line.service ? QStringLiteral("SERVICE") : QStringLiteral("PRODUCT"));
        if (!line.description.isEmpty())
            x.writeTextElement(kData, QStringLiteral("lineDescription"), line.description.left(512));
        x.writeTextElement(kData, QStringLiteral("quantity"), decimal(sign * line.quantity, 4));
        if (!line.unitName.isEmpty()) {
            const QString unit = m_tables->unitOf(line.unitName);
            x.writeTextElement(kData, QStringLiteral("unitOfMeasure"), unit);
            if (unit == QStringLiteral("OWN"))
                x.writeTextElement(kData, QStringLiteral("unitOfMeasureOwn"), line.unitName.left(50));
        }
        x.writeTextElement(kData, QStringLiteral("unitPrice"), decimal(line.unitPrice, 4));
        x.writeTextElement(kData, QStringLiteral("unitPriceHUF"), decimal(line.unitPrice, 4));
        x.writeStartElement(kData, QStringLiteral("lineAmountsNormal"));
        writeAmountPair(x, QStringLiteral("lineNetAmountData"), QStringLiteral("lineNetAmount"), sign * line.net);
        writeVatRate(x, QStringLiteral("lineVatRate"), line.rate, kind);
        writeAmountPair(x, QStringLiteral("lineVatData"), QStringLiteral("lineVatAmount"), sign * line.vat);
        writeAmountPair(x, QStringLiteral("lineGrossAmountData"), QStringLiteral("lineGrossAmountNormal"),
                        sign * line.gross);
        x.writeEndElement();
        x.writeEndElement();
        Sums& sums = byRate[KerekitRound(line.rate * 100)];
        sums.net += sign * double(roundTo(2, line.net));
        sums.vat += sign * double(roundTo(2, line.vat));
        sums.gross += sign * double(roundTo(2, line.gross));
    }
    x.writeEndElement();  // invoiceLines

    x.writeStartElement(kData, QStringLiteral("invoiceSummary"));
    x.writeStartElement(kData, QStringLiteral("summaryNormal"));
    Sums total;
    for (const auto& [rate, sums] : byRate) {
        x.writeStartElement(kData, QStringLiteral("summaryByVatRate"));
        writeVatRate(x, QStringLiteral("vatRate"), double(rate) / 100.0, m_tables->vatKind(double(rate) / 100.0));
        writeAmountPair(x, QStringLiteral("vatRateNetData"), QStringLiteral("vatRateNetAmount"), sums.net);
        writeAmountPair(x, QStringLiteral("vatRateVatData"), QStringLiteral("vatRateVatAmount"), sums.vat);
        writeAmountPair(x, QStringLiteral("vatRateGrossData"), QStringLiteral("vatRateGrossAmount"), sums.gross);
        x.writeEndElement();
        total.net += sums.net;
        total.vat += sums.vat;
        total.gross += sums.gross;
    }
    x.writeTextElement(kData, QStringLiteral("invoiceNetAmount"), money(total.net));
    x.writeTextElement(kData, QStringLiteral("invoiceNetAmountHUF"), money(total.net));
    x.writeTextElement(kData, QStringLiteral("invoiceVatAmount"), money(total.vat));
    x.writeTextElement(kData, QStringLiteral("invoiceVatAmountHUF"), money(total.vat));
    x.writeEndElement();
    x.writeStartElement(kData, QStringLiteral("summaryGrossData"));
    x.writeTextElement(kData, QStringLiteral("invoiceGrossAmount"), money(total.gross));
    x.writeTextElement(kData, QStringLiteral("invoiceGrossAmountHUF"), money(total.gross));
    x.writeEndElement();
    x.writeEndElement();  // invoiceSummary
    x.writeEndElement();  // invoice
    x.writeEndElement();  // invoiceMain
    x.writeEndElement();  // InvoiceData
    x.writeEndDocument();
    return out;
}

QByteArray InvoiceDataBuilder::rebuild(const QString& invoiceNumber, Operation operation, const QString& baseNumber,
                                       int modificationIndex) {
    QString documentNumber = invoiceNumber.trimmed();
    if (operation == Operation::Storno && documentNumber.endsWith(QStringLiteral("-S"))) documentNumber.chop(2);
    const InvoiceDocument document = readStored(documentNumber);
    InvoiceDataRequest request{operation, invoiceNumber.trimmed(), std::nullopt};
    if (operation != Operation::Create) request.modification = modificationAt(baseNumber.trimmed(), modificationIndex);
    return build(document, request);
}

}  // namespace kavina::nav
