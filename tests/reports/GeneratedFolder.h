#pragma once
// A year of a small shop made once per test program by the folder generator, and its stored
// documents and products read back with the table engine alone, as plain values: the tests
// compute their expectations from these, never through the statistics or their helpers.

#include <gtest/gtest.h>

#include <QDate>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dbase/Table.h"
#include "dbase/TestFolder.h"
#include "foundation/CatalogueFields.h"
#include "tools/generator/FolderGenerator.h"

namespace kavina::reports::year {

struct StoredLine {
    std::string article;  // cikkszam
    std::string name;
    std::string unit;
    double code = 0;  // ANYAGSZAM
    double quantity = 0, unitNet = 0, unitGross = 0, purchase = 0;
    double net = 0, rate = 0, vat = 0, gross = 0, profit = 0;
    bool service = false;
    std::string vatCode, comment;  // ITJSZAM, MEGJEGYZES
};

struct StoredHeader {
    std::string number, type, state, payment, name, address;
    QDate issued, paidOn;
    double payable = 0, net = 0, commission = 0;
    bool paid = false;
    double discount = 0;                                 // per cent of the document
    int64_t partner = 0;                                 // PARTNERKOD
    std::string name1, postcode, town, street, comment;  // NEV1, IRSZAM, VAROS, CIM, MEGJEGYZES
    std::vector<StoredLine> lines;
};

struct StoredProduct {
    double code = 0;
    std::string article, name;
    double stock = 0, rate = 0;
    bool service = false;
    double net[5] = {};    // BESZERZAR, AR1, AR2, AR3, FIXAR
    double gross[5] = {};  // bbesz, bar1, bar2, bar3, bfixar
    std::string unit;
};

struct StoredFolder {
    std::vector<StoredHeader> headers;  // in record order
    std::vector<StoredProduct> products;
    int logRows = 0;
};

inline std::string text(const dbase::Table& t, const Field& f) {
    std::string s = t.asString(t.fieldNumber(f.name));
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

inline double number(const dbase::Table& t, const Field& f) {
    return t.asFloat(t.fieldNumber(f.name));
}

inline QDate day(const dbase::Table& t, const Field& f) {
    const auto d = t.asDate(t.fieldNumber(f.name));
    return d ? QDate(d->year, d->month, d->day) : QDate();
}

inline StoredFolder readFolder(const std::string& folder) {
    namespace H = fields::Szamla;
    namespace L = fields::Szamla2;
    namespace A = fields::Anyag;
    StoredFolder out;
    std::map<std::string, std::vector<StoredLine>> lines;
    dbase::Table l(folder, std::string(L::kTable));
    l.open();
    for (l.first(); !l.eof(); l.next()) {
        StoredLine line{text(l, L::cikkszam),    text(l, L::MEGNEVEZES),
                        text(l, L::EGYSEG),      number(l, L::ANYAGSZAM),
                        number(l, L::MENNYISEG), number(l, L::EGYSEGAR),
                        number(l, L::begysegar), number(l, L::nbesz),
                        number(l, L::NETTOAR),   number(l, L::AFA),
                        number(l, L::AFAFT),     number(l, L::OSSZESEN),
                        number(l, L::haszon),    l.asLogical(l.fieldNumber(L::TERMEK.name))};
        line.vatCode = text(l, L::ITJSZAM);
        line.comment = text(l, L::MEGJEGYZES);
        lines[text(l, L::SZAMLASZAM)].push_back(line);
    }
    dbase::Table h(folder, std::string(H::kTable));
    h.open();
    for (h.first(); !h.eof(); h.next()) {
        StoredHeader header{text(h, H::SZAMLASZAM), text(h, H::SZAMLATIP), text(h, H::ALLAPOT),
                            text(h, H::FIZMOD),     text(h, H::NEV),       text(h, H::TELJESCIM),
                            day(h, H::KIALLIT),     day(h, H::FIZDATUM),   number(h, H::FIZETENDO),
                            number(h, H::AFAALAP),  number(h, H::POSSZEG), h.asLogical(h.fieldNumber(H::FIZETVE.name))};
        header.discount = number(h, H::KEDVEZMENY);
        header.partner = int64_t(number(h, H::PARTNERKOD));
        header.name1 = text(h, H::NEV1);
        header.postcode = text(h, H::IRSZAM);
        header.town = text(h, H::VAROS);
        header.street = text(h, H::CIM);
        header.comment = text(h, H::MEGJEGYZES);
        header.lines = lines[header.number];
        out.headers.push_back(std::move(header));
    }
    dbase::Table a(folder, std::string(A::kTable));
    a.open();
    const Field nets[5] = {A::BESZERZAR, A::AR1, A::AR2, A::AR3, A::FIXAR};
    const Field grosses[5] = {A::bbesz, A::bar1, A::bar2, A::bar3, A::bfixar};
    for (a.first(); !a.eof(); a.next()) {
        StoredProduct p{number(a, A::ANYAGKOD),  text(a, A::CIKKSZAM),   text(a, A::MEGNEVEZES),
                        number(a, A::MENNYISEG), number(a, A::AFAKULCS), a.asLogical(a.fieldNumber(A::TERMEK.name))};
        p.unit = text(a, A::EGYSEG);
        for (int i = 0; i < 5; ++i) {
            p.net[i] = number(a, nets[i]);
            p.gross[i] = number(a, grosses[i]);
        }
        out.products.push_back(p);
    }
    dbase::Table log(folder, std::string(fields::Tranzakcio::kTable));
    log.open();
    for (log.first(); !log.eof(); log.next()) ++out.logRows;
    return out;
}

// The generated folder, made once for every test of the program that uses it.
class GeneratedYear : public ::testing::Test {
protected:
    static constexpr int kYear = 2008;

    static generator::GeneratorOptions options() {
        generator::GeneratorOptions o;
        o.year = kYear;
        o.documents = 600;
        o.products = 150;
        o.partners = 40;
        o.linesPerDocument = 6;
        o.seed = 20080315;
        return o;
    }

    static void SetUpTestSuite() {
        if (s_folder) return;
        s_dir = std::make_unique<testing_support::TestFolder>();
        s_folder = std::make_unique<std::string>(s_dir->path() + "/adatok");
        s_summary = generator::generateFolder(*s_folder, options());
        s_stored = std::make_unique<StoredFolder>(readFolder(*s_folder));
    }

    static const std::string& folder() { return *s_folder; }
    static const StoredFolder& stored() { return *s_stored; }
    static const generator::GeneratorSummary& summary() { return s_summary; }

    // Kept for the whole run (the folder is read by several suites), removed at its end.
    static inline std::unique_ptr<testing_support::TestFolder> s_dir;
    static inline std::unique_ptr<std::string> s_folder;
    static inline std::unique_ptr<StoredFolder> s_stored;
    static inline generator::GeneratorSummary s_summary;
};

}  // namespace kavina::reports::year
