#pragma once
// A data folder with sales documents stored through the program's own save, remembering what
// was stored so that a test can sum it without the statistics.

#include <QDate>
#include <vector>

#include "documents/SalesFolder.h"
#include "reports/turnover/ProfitStatistics.h"

namespace kavina::reports {

using kavina::SalesMode;
namespace H = fields::Szamla;
namespace L = fields::Szamla2;

struct Line {
    QString article;
    double quantity;
    double unitNet;
    double purchase;
    double vat = 27;
};

// What the test stored, for computing the figures without the statistics.
struct Stored {
    SalesMode mode;
    QDate day;
    QString payment;
    double net = 0;
    double gross = 0;
    std::vector<Line> lines;
};

class SalesReportsFolder : public documents::SalesFolder {
protected:
    std::vector<Stored> stored;

    void SetUp() override {
        SalesFolder::SetUp();
        for (int code = 1; code <= 6; ++code) addProduct(code, QStringLiteral("Termék %1").arg(code), 1000);
    }

    std::string folder() const { return dir.path(); }

    // discount: the document's discount in percent, which the lines' stored values do not show.
    QString store(SalesMode mode, const QDate& day, const QString& payment, const std::vector<Line>& lines,
                  double discount = 0) {
        Stored s{mode, day, payment, 0, 0, lines};
        MemoryDocument doc;
        for (const Line& line : lines) {
            const double net = line.quantity * line.unitNet;
            const double vat = net * line.vat / 100;
            doc.mszamla2.append();
            doc.mszamla2.setFloat(L::ANYAGSZAM, line.article.mid(1).toDouble());
            doc.mszamla2.setString(L::cikkszam, line.article);
            doc.mszamla2.setString(L::MEGNEVEZES, QStringLiteral("Áru ") + line.article);
            doc.mszamla2.setString(L::EGYSEG, QStringLiteral("db"));
            doc.mszamla2.setFloat(L::MENNYISEG, line.quantity);
            doc.mszamla2.setFloat(L::EGYSEGAR, line.unitNet);
            doc.mszamla2.setFloat(L::begysegar, line.unitNet * (1 + line.vat / 100));
            doc.mszamla2.setFloat(L::nbesz, line.purchase);
            doc.mszamla2.setFloat(L::NETTOAR, net);
            doc.mszamla2.setFloat(L::AFA, line.vat);
            doc.mszamla2.setFloat(L::AFAFT, vat);
            doc.mszamla2.setFloat(L::OSSZESEN, net + vat);
            doc.mszamla2.post();
            s.net += net;
            s.gross += net + vat;
        }
        doc.mszamla.append();
        doc.mszamla.setString(H::NEV, QStringLiteral("Mérleg Kft."));
        doc.mszamla.setString(H::FIZMOD, payment);
        doc.mszamla.setDate(H::KIALLIT, day);
        doc.mszamla.setDate(H::FIZHAT, day);
        doc.mszamla.setFloat(H::AFAALAP, s.net);
        doc.mszamla.setFloat(H::FIZETENDO, s.gross * (1 - discount / 100));
        doc.mszamla.setFloat(H::KEDVEZMENY, discount);
        doc.mszamla.post();
        documents::SalesSaveContext context{data, ini, iniSettings, QStringLiteral("Kovács Anna")};
        context.now = [day] { return QDateTime(day, QTime(10, 0)); };
        const QString number = documents::SalesStore(context).store(doc, mode, {}).number;
        stored.push_back(s);
        return number;
    }
};

inline const QDate kDay(2008, 3, 10);
inline const QString kOther = QStringLiteral("Utánvét");

}  // namespace kavina::reports
