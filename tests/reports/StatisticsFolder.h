#pragma once
// A data folder for the product, partner and search statistics: sales documents stored through
// the program's own save with the names, partners and comments a test chooses, other document
// kinds appended as their own editors would leave them, and sums read back from the tables
// with the engine alone, for comparing the statistics with.

#include <QDate>
#include <QHash>
#include <vector>

#include "documents/SalesFolder.h"

namespace kavina::reports {

using kavina::SalesMode;

struct SoldLine {
    QString name;
    double quantity = 1;
    double unitNet = 1000;
    double vat = 27;
    bool service = false;
    QString article;
    QString comment;
};

struct Sale {
    SalesMode mode = SalesMode::Invoice;
    QDate day{2008, 3, 10};
    std::vector<SoldLine> lines;
    int64_t partner = 0;
    QString name = QStringLiteral("Mérleg Kft.");
    QString town = QStringLiteral("Pécs");
    QString street = QStringLiteral("Fő utca 1.");
    QString comment;
    QString payment = QStringLiteral("Átutalás");
};

class StatisticsFolder : public documents::SalesFolder {
protected:
    std::string folder() const { return dir.path(); }

    QString store(const Sale& sale) {
        namespace H = fields::Szamla;
        namespace L = fields::Szamla2;
        MemoryDocument doc;
        double net = 0, gross = 0;
        for (const SoldLine& line : sale.lines) {
            const double lineNet = line.quantity * line.unitNet;
            const double lineVat = lineNet * line.vat / 100;
            doc.mszamla2.append();
            doc.mszamla2.setString(L::MEGNEVEZES, line.name);
            doc.mszamla2.setString(L::cikkszam, line.article);
            doc.mszamla2.setString(L::ITJSZAM, QStringLiteral("SZJ-") + line.article);
            doc.mszamla2.setString(L::EGYSEG, QStringLiteral("db"));
            doc.mszamla2.setString(L::MEGJEGYZES, line.comment);
            doc.mszamla2.setFloat(L::MENNYISEG, line.quantity);
            doc.mszamla2.setFloat(L::EGYSEGAR, line.unitNet);
            doc.mszamla2.setFloat(L::NETTOAR, lineNet);
            doc.mszamla2.setFloat(L::AFA, line.vat);
            doc.mszamla2.setFloat(L::AFAFT, lineVat);
            doc.mszamla2.setFloat(L::OSSZESEN, lineNet + lineVat);
            doc.mszamla2.setLogical(L::TERMEK, line.service);
            doc.mszamla2.post();
            net += lineNet;
            gross += lineNet + lineVat;
        }
        doc.mszamla.append();
        doc.mszamla.setInteger(H::PARTNERKOD, sale.partner);
        doc.mszamla.setString(H::NEV, sale.name);
        doc.mszamla.setString(H::IRSZAM, QStringLiteral("7621"));
        doc.mszamla.setString(H::VAROS, sale.town);
        doc.mszamla.setString(H::CIM, sale.street);
        doc.mszamla.setString(H::MEGJEGYZES, sale.comment);
        doc.mszamla.setString(H::FIZMOD, sale.payment);
        doc.mszamla.setDate(H::KIALLIT, sale.day);
        doc.mszamla.setDate(H::FIZHAT, sale.day);
        doc.mszamla.setFloat(H::AFAALAP, net);
        doc.mszamla.setFloat(H::FIZETENDO, gross);
        doc.mszamla.post();
        documents::SalesSaveContext context{data, ini, iniSettings, QStringLiteral("Kovács Anna")};
        context.now = [day = sale.day] { return QDateTime(day, QTime(10, 0)); };
        return documents::SalesStore(context).store(doc, sale.mode, {}).number;
    }

    // A header of a kind the sales save does not make (receipts, offers), with its lines.
    void appendDocument(const QString& number, const QString& type, const Sale& sale) {
        namespace H = fields::Szamla;
        namespace L = fields::Szamla2;
        TableHandle lines(dir.path(), std::string(L::kTable));
        lines.open();
        double net = 0;
        for (const SoldLine& line : sale.lines) {
            lines.append();
            lines.setString(L::SZAMLASZAM, number);
            lines.setString(L::MEGNEVEZES, line.name);
            lines.setString(L::cikkszam, line.article);
            lines.setString(L::EGYSEG, QStringLiteral("db"));
            lines.setFloat(L::MENNYISEG, line.quantity);
            lines.setFloat(L::EGYSEGAR, line.unitNet);
            lines.setFloat(L::NETTOAR, line.quantity * line.unitNet);
            lines.post();
            net += line.quantity * line.unitNet;
        }
        TableHandle headers(dir.path(), std::string(H::kTable));
        headers.open();
        headers.append();
        headers.setString(H::SZAMLASZAM, number);
        headers.setString(H::SZAMLATIP, type);
        headers.setInteger(H::PARTNERKOD, sale.partner);
        headers.setString(H::NEV, sale.name);
        headers.setString(H::VAROS, sale.town);
        headers.setString(H::CIM, sale.street);
        headers.setDate(H::KIALLIT, sale.day);
        headers.setFloat(H::AFAALAP, net);
        headers.post();
    }

    void setHeader(const QString& number, const Field& field, const QString& value) {
        TableHandle h(dir.path(), std::string(fields::Szamla::kTable));
        h.open();
        h.setOrder(fields::Szamla::SZAMLASZAM);
        ASSERT_TRUE(h.findKey(number.toStdString()));
        h.edit();
        h.setString(field, value);
        h.post();
    }

    void setProduct(const QString& article, const std::vector<std::pair<Field, double>>& values) {
        TableHandle& p = data.AnyagTable();
        ASSERT_TRUE(p.locate({{fields::Anyag::CIKKSZAM, article}}));
        p.edit();
        for (const auto& [field, value] : values) p.setFloat(field, value);
        p.post();
    }

    // Every stored line of the headers of the types in the period, read with the engine only:
    // calls onLine with the header's number and the line.
    template <typename OnLine>
    void eachStoredLine(const QString& types, const QDate& from, const QDate& to, OnLine onLine) {
        namespace H = fields::Szamla;
        namespace L = fields::Szamla2;
        TableHandle headers(dir.path(), std::string(H::kTable));
        headers.open();
        TableHandle lines(dir.path(), std::string(L::kTable));
        lines.open();
        QHash<QString, int> selected;
        for (headers.first(); !headers.eof(); headers.next()) {
            const QDate day = headers.asDate(H::KIALLIT);
            const QString type = headers.asString(H::SZAMLATIP).trimmed();
            if (type.size() == 1 && types.contains(type) && day >= from && day <= to)
                selected.insert(headers.asString(H::SZAMLASZAM).trimmed(), 1);
        }
        for (lines.first(); !lines.eof(); lines.next())
            if (selected.contains(lines.asString(L::SZAMLASZAM).trimmed())) onLine(lines);
    }
};

inline const QDate kSaleDay(2008, 3, 10);

}  // namespace kavina::reports
