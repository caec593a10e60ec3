#include "invoicing/navdata/TaxAuditExport.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <vector>

#include "archive/ZipArchive.h"
#include "foundation/Catalogue.h"
#include "foundation/CatalogueFields.h"
#include "foundation/RuleError.h"
#include "foundation/TableHandle.h"
#include "invoicing/document/DocumentKinds.h"
#include "invoicing/navdata/InvoiceDataBuilder.h"
#include "invoicing/navdata/InvoiceDataQueue.h"

namespace kavina::nav {

namespace {

namespace H = fields::Szamla;
namespace Q = fields::NavQueue;
namespace type = invoicing::type;

struct Document {
    QString number;
    QChar type;
    QString base;
};

bool isInvoiceType(QChar t) {
    return t == type::Invoice || t == type::Corrective || t == type::Cancelled;
}

struct NumberParts {
    QString prefix;
    qlonglong counter = 0;
    int digits = 0;
    QString suffix;
};

std::optional<NumberParts> splitNumber(const QString& number) {
    static const QRegularExpression form(QStringLiteral("^(.*?)(\\d+)(\\D*)$"));
    const QRegularExpressionMatch m = form.match(number.trimmed());
    if (!m.hasMatch()) return std::nullopt;
    return NumberParts{m.captured(1), m.captured(2).toLongLong(), int(m.captured(2).size()), m.captured(3)};
}

std::vector<Document> documentsOf(TableHandle& headers, const AuditRange& range) {
    std::vector<Document> found;
    const auto take = [&headers, &found] {
        const QString t = headers.asString(H::SZAMLATIP).trimmed();
        if (t.isEmpty() || !isInvoiceType(t.front())) return false;
        found.push_back({headers.asString(H::SZAMLASZAM).trimmed(), t.front(), headers.asString(H::BASEINV).trimmed()});
        return true;
    };
    if (!range.byNumber) {
        if (!range.from.isValid() || !range.to.isValid() || range.to < range.from)
            throw RuleError(QStringLiteral("Kérem, adjon meg érvényes dátumtartományt!"));
        for (headers.first(); !headers.eof(); headers.next()) {
            const QDate issued = headers.asDate(H::KIALLIT);
            if (issued >= range.from && issued <= range.to) take();
        }
        return found;
    }
    const auto first = splitNumber(range.firstNumber), last = splitNumber(range.lastNumber);
    if (!first || !last || first->prefix != last->prefix || first->suffix != last->suffix ||
        last->counter < first->counter)
        throw RuleError(
            QStringLiteral("A számlaszám-tartomány két végének ugyanabból a sorozatból kell lennie, "
                           "az elsőnek a kisebbnek."));
    QStringList missing;
    for (qlonglong n = first->counter; n <= last->counter; ++n) {
        const QString number =
            first->prefix + QStringLiteral("%1").arg(n, first->digits, 10, QLatin1Char('0')) + first->suffix;
        if (!headers.findKey(number.toStdString()) || !take()) missing << number;
    }
    if (!missing.isEmpty())
        throw RuleError(QStringLiteral("A tartományból a következő számú számlák hiányoznak:\n%1")
                            .arg(missing.mid(0, 20).join(QStringLiteral(", ")) +
                                 (missing.size() > 20 ? QStringLiteral(", ...") : QString())));
    return found;
}

QString fileNameOf(const QString& invoiceNumber) {
    QString name = invoiceNumber;
    name.replace(QRegularExpression(QStringLiteral("[^0-9A-Za-z_-]")), QStringLiteral("_"));
    return name + QStringLiteral(".xml");
}

}  // namespace

AuditResult exportTaxAudit(const std::string& folder, const AuditRange& range, const QString& zipPath,
                           const std::function<void(int, int)>& progress) {
    TableHandle headers(folder, catalogue::table(TableId::Szamla).fileName);
    headers.open();
    headers.setOrder(H::SZAMLASZAM);
    const std::vector<Document> documents = documentsOf(headers, range);
    if (documents.empty()) throw RuleError(QStringLiteral("A megadott tartományban nincs számla."));
    TableHandle queue(folder, catalogue::table(TableId::NavQueue).fileName);
    const bool queued = catalogue::existsIn(catalogue::table(TableId::NavQueue), folder);
    if (queued) {
        queue.open();
        queue.setOrder(Q::INVNUMBER);
    }
    InvoiceDataBuilder builder(folder);
    QTemporaryDir work;
    if (!work.isValid()) throw RuleError(QStringLiteral("Nem hozható létre ideiglenes mappa az exporthoz."));
    std::vector<archive::ArchiveInput> files;
    AuditResult result;
    const auto keep = [&](const QString& invoiceNumber, const QByteArray& xml) {
        const QString path = work.filePath(fileNameOf(invoiceNumber));
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(xml) != xml.size())
            throw RuleError(QStringLiteral("Nem írható az ideiglenes fájl: %1").arg(path));
        files.push_back({path.toStdString(), fileNameOf(invoiceNumber).toStdString()});
    };
    // The data as reported, or, for a document issued before reporting began, built now.
    const auto export1 = [&](const QString& invoiceNumber, Operation operation, const QString& documentNumber) {
        if (queued && queue.findKey(invoiceNumber.toStdString())) {
            keep(invoiceNumber, queue.asString(Q::XML).toUtf8());
            return;
        }
        try {
            const InvoiceDocument document = builder.readStored(documentNumber);
            InvoiceDataRequest request{operation, invoiceNumber, std::nullopt};
            if (operation != Operation::Create) {
                Modification m =
                    builder.nextModification(document.baseNumber.isEmpty() ? documentNumber : document.baseNumber);
                request.modification = m;
            }
            const QByteArray xml = builder.build(document, request);
            requireValid(xml, invoiceNumber);
            keep(invoiceNumber, xml);
        } catch (const RuleError& e) {
            result.skipped << invoiceNumber + QStringLiteral(": ") + e.message();
        }
    };
    int done = 0;
    for (const Document& d : documents) {
        const bool wasCorrective = !d.base.isEmpty();
        export1(d.number, wasCorrective ? Operation::Modify : Operation::Create, d.number);
        if (d.type == type::Cancelled) export1(d.number + QStringLiteral("-S"), Operation::Storno, d.number);
        if (progress) progress(++done, int(documents.size()));
    }
    result.files = int(files.size());
    if (!files.empty()) archive::writeArchive(zipPath.toStdString(), files);
    return result;
}

}  // namespace kavina::nav
