#pragma once
// A data folder of a company that reports its invoices: partners of every VAT status, a VAT
// group of every kind, and documents stored through the program's own save and cancellation,
// with the totals the editor computes.

#include <QXmlStreamReader>
#include <map>

#include "SalesFolder.h"
#include "documents/sales/Cancellation.h"
#include "foundation/SzamSzov.h"
#include "invoicing/editor/DocumentTotals.h"

namespace kavina::documents {

// The text of the first leaf element of each name in an invoice data XML.
inline std::map<QString, QString> firstValues(const QByteArray& xml) {
    std::map<QString, QString> values;
    QXmlStreamReader reader(xml);
    QString open, text;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
            case QXmlStreamReader::StartElement:
                open = reader.name().toString();
                text.clear();
                break;
            case QXmlStreamReader::Characters: text += reader.text(); break;
            case QXmlStreamReader::EndElement:
                if (!open.isEmpty() && !values.count(open)) values[open] = text.trimmed();
                open.clear();
                break;
            default: break;
        }
    }
    return values;
}

struct QueueRow {
    QString number, operation, base, state;
    int index = 0;
    QByteArray xml;
    QString hash;
};

class InvoiceDataFolder : public SalesFolder {
protected:
    QDate issued{2026, 3, 10};

    void SetUp() override {
        SalesFolder::SetUp();
        namespace P = fields::Partner;
        addPartner(1, QStringLiteral("Mérleg Kft."), QStringLiteral("12345676-2-41"), {}, 'D');
        addPartner(2, QStringLiteral("Kiss Éva"), {}, {}, 'P');
        addPartner(3, QStringLiteral("Waage GmbH"), {}, QStringLiteral("ATU12345678"), 'E');
        addPartner(4, QStringLiteral("Régi Bt."), QStringLiteral("10000003-1-02"), {}, ' ');
        addProduct(1, QStringLiteral("Csavar"), 100000);
        addProduct(2, QStringLiteral("Szerelés"), 0, 27, true);
    }

    void addPartner(int code, const QString& name, const QString& tax, const QString& eu, char status) {
        namespace P = fields::Partner;
        TableHandle& p = data.PartnerTable();
        p.append();
        p.setInteger(P::PARTNERKOD, code);
        p.setString(P::NEV, name);
        p.setString(P::IRSZAM, QStringLiteral("1234"));
        p.setString(P::VAROS, QStringLiteral("Budapest"));
        p.setString(P::UTCA, QStringLiteral("Hármas utca 1."));
        p.setString(P::ADOSZAM, tax);
        p.setString(P::EUVATNUM, eu);
        p.setString(P::VATSTATUS, status == ' ' ? QString() : QString(QChar(status)));
        p.post();
    }

    // Gives the 0 % group a kind: "E" exemption, "O" out of scope, "" plain.
    void setZeroRateKind(const QString& kind, const QString& caseCode, const QString& reason) {
        namespace V = fields::AFA;
        TableHandle& vat = data.AFATable();
        for (vat.first(); !vat.eof(); vat.next())
            if (vat.asFloat(V::AFA) == 0) {
                vat.edit();
                vat.setString(V::VATKIND, kind);
                vat.setString(V::VATCASE, caseCode);
                vat.setString(V::VATREASON, reason);
                vat.post();
            }
    }

    struct Line {
        double code;
        double quantity;
        double unitNet;
        double rate = 27;
        QString unit = QStringLiteral("db");
    };

    // A document of the partner with the lines, its totals computed as the editor does.
    void fill(MemoryDocument& doc, int partner, const std::vector<Line>& lines, const QString& method,
              int discount = 0) {
        namespace H = fields::Szamla;
        namespace L = fields::Szamla2;
        doc.emptyAll();
        doc.mszamla.append();
        doc.mszamla.setInteger(H::PARTNERKOD, partner);
        doc.mszamla.setString(H::NEV, QStringLiteral("Vevő %1").arg(partner));
        doc.mszamla.setString(H::IRSZAM, QStringLiteral("1234"));
        doc.mszamla.setString(H::VAROS, QStringLiteral("Budapest"));
        doc.mszamla.setString(H::CIM, QStringLiteral("Hármas utca 1."));
        doc.mszamla.setString(H::FIZMOD, method);
        doc.mszamla.setDate(H::KIALLIT, issued);
        doc.mszamla.setDate(H::TELJESIT, issued);
        doc.mszamla.setDate(H::FIZHAT, method == QStringLiteral("Készpénz") ? issued : issued.addDays(8));
        doc.mszamla.setInteger(H::KEDVEZMENY, discount);
        doc.mszamla.post();
        for (const Line& spec : lines) {
            doc.mszamla2.append();
            doc.mszamla2.setFloat(L::ANYAGSZAM, spec.code);
            doc.mszamla2.setString(L::MEGNEVEZES,
                                   spec.code == 2 ? QStringLiteral("Szerelés") : QStringLiteral("Csavar"));
            doc.mszamla2.setLogical(L::TERMEK, spec.code == 2);
            doc.mszamla2.setString(L::EGYSEG, spec.unit);
            doc.mszamla2.setFloat(L::MENNYISEG, spec.quantity);
            doc.mszamla2.setFloat(L::EGYSEGAR, spec.unitNet);
            doc.mszamla2.setFloat(L::AFA, spec.rate);
            const double net = double(roundTo(2, spec.quantity * spec.unitNet));
            const double vat = double(roundTo(2, net * spec.rate / 100));
            doc.mszamla2.setFloat(L::NETTOAR, net);
            doc.mszamla2.setFloat(L::AFAFT, vat);
            doc.mszamla2.setFloat(L::OSSZESEN, net + vat);
            doc.mszamla2.post();
        }
        invoicing::recalculateTotals(doc.mszamla, doc.mszamla2,
                                     invoicing::invoiceCashRounding(issued, method, invoicing::EditorMode::Invoice));
    }

    std::unique_ptr<SalesStore> m_store;
    SalesStore& store() {
        if (!m_store) {
            SalesSaveContext context{data, ini, iniSettings, QStringLiteral("Kovács Anna")};
            context.now = [this] { return QDateTime(issued, QTime(10, 0)); };
            m_store = std::make_unique<SalesStore>(context);
        }
        return *m_store;
    }

    QString storeDocument(SalesMode mode, int partner, const std::vector<Line>& lines,
                          const QString& method = QStringLiteral("Átutalás"), const QString& corrects = {},
                          int discount = 0) {
        MemoryDocument doc;
        fill(doc, partner, lines, method, discount);
        SalesSource source;
        if (!corrects.isEmpty()) source = {SourceKind::Replacing, corrects};
        return store().store(doc, mode, source).number;
    }

    void storno(const QString& number) {
        DocumentCancellation cancellation(data);
        const auto target = cancellation.find(number);
        ASSERT_TRUE(target);
        cancellation.cancel(*target, CancelMode::Invoice, CancelKind::Storno);
    }

    std::vector<QueueRow> queueRows() {
        namespace Q = fields::NavQueue;
        TableHandle q(dir.path(), "NavQueue.dbf");
        q.open();
        std::vector<QueueRow> rows;
        for (q.first(); !q.eof(); q.next())
            rows.push_back({q.asString(Q::INVNUMBER).trimmed(), q.asString(Q::OPERATION).trimmed(),
                            q.asString(Q::BASENUMBER).trimmed(), q.asString(Q::STATE).trimmed(),
                            int(q.asInteger(Q::MODINDEX)), q.asString(Q::XML).toUtf8(),
                            q.asString(Q::XMLHASH).trimmed()});
        return rows;
    }
};

}  // namespace kavina::documents
