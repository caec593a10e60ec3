#include "foundation/DemoDocuments.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "foundation/CatalogueFields.h"
#include "foundation/TableRows.h"
#include "foundation/TextFormat.h"

namespace kavina {
namespace {

namespace H = fields::Szamla;
namespace L = fields::Szamla2;

struct Buyer {
    const char* code;  // PARTNERKOD
    const char* name;
    const char* postcode;
    const char* town;
    const char* street;
};

// Customers of the demo business, as the partner register holds them.
const Buyer kKovacs{"1", "Kovács és Társa Kft.", "1117", "Budapest", "Irinyi József utca 4."};
const Buyer kSzabo{"2", "Szabó Építőipari Bt.", "4024", "Debrecen", "Piac utca 12."};
const Buyer kToth{"3", "Tóth Gépszerviz Kft.", "6720", "Szeged", "Tisza Lajos körút 31."};
const Buyer kNagy{"4", "Nagy Lajos e.v.", "7621", "Pécs", "Király utca 18."};
const Buyer kNobody{"", "", "", "", ""};

struct Item {
    const char* name;
    const char* unit;
    double quantity;
    double unitNet;
    bool service = false;
};

const Item kHammer{"Kalapács 500 g", "db", 4, 2610};
const Item kDrivers{"Csavarhúzó készlet, 6 részes", "csomag", 2, 4820};
const Item kGrinder{"Sarokcsiszoló 125 mm", "db", 1, 20560};
const Item kNuts{"Csavaranya M10", "kg", 2.5, 3020};
const Item kSilicone{"Szilikon tömítő, átlátszó", "db", 6, 1780};
const Item kShears{"Metszőolló", "db", 1, 4820};
const Item kTape{"Szigetelőszalag", "db", 10, 400};
const Item kCallOut{"Kiszállási díj Szeged területén", "db", 1, 3500, true};

struct Document {
    const char* number;  // after the year: "SZA" + year + number
    char type;
    const char* prefix;
    int daysBefore;  // issued this many days before today, within its year
    bool lastYear;
    Buyer buyer;
    const char* method;
    bool paid;
    std::vector<Item> items;
    const char* state = "";
    int serial = 2;
};

double round2(double v) {
    return std::round(v * 100.0) / 100.0;
}

std::string text(double v) {
    return numberText(v);
}

std::string dateOf(const QDate& d) {
    return dateText(d).toStdString();
}

QDate issuedOn(const Document& d, const QDate& today) {
    if (d.lastYear) return QDate(today.year() - 1, 12, 1).addDays(-d.daysBefore);
    return std::max(QDate(today.year(), 1, 1), today.addDays(-d.daysBefore));
}

std::vector<Document> documents() {
    return {
        {"/00187", 'B', "SZA", 20, true, kKovacs, "Átutalás", true, {kGrinder, kNuts}},
        {"/00188", 'B', "SZA", 5, true, kSzabo, "Átutalás", false, {kDrivers, kSilicone, kCallOut}},
        {"/00001", 'B', "SZA", 40, false, kKovacs, "Átutalás", true, {kHammer, kDrivers}},
        {"/00002", 'B', "SZA", 30, false, kToth, "Átutalás", false, {kGrinder, kCallOut}},
        {"/00003", 'B', "SZA", 21, false, kSzabo, "Készpénz", true, {kSilicone, kNuts, kTape}},
        {"/00004", 'S', "SZA", 14, false, kNagy, "Készpénz", true, {kShears}, "", 3},
        {"/00005", 'J', "SZA", 7, false, kToth, "Átutalás", false, {kCallOut}},
        {"/00006", 'B', "SZA", 2, false, kKovacs, "Átutalás", false, {kHammer, kShears, kTape}},
        {"/00001", 'P', "PRO", 3, false, kSzabo, "Átutalás", false, {kGrinder, kDrivers}, "", 1},
        {"/00001", '1', "PGÉ", 9, false, kNobody, "Készpénz", true, {kTape, kSilicone}, "", 1},
        {"/00002", '1', "PGÉ", 1, false, kNobody, "Készpénz", true, {kHammer}, "", 1},
        {"/00001", 'F', "SZL", 12, false, kToth, "Átutalás", false, {kNuts, kTape}, "", 2},
    };
}

// The line amounts as the line dialog derives them, at 27 %.
struct Amounts {
    double net = 0, vat = 0, gross = 0;
};

Amounts amountsOf(const Item& item) {
    const double net = round2(item.quantity * item.unitNet);
    const double gross = round2(item.quantity * round2(item.unitNet * 1.27));
    return {net, round2(gross - net), gross};
}

Row lineRow(const std::string& number, const Item& item) {
    const Amounts a = amountsOf(item);
    return {{L::SZAMLASZAM, number},
            {L::MEGNEVEZES, item.name},
            {L::MENNYISEG, text(item.quantity)},
            {L::EGYSEG, item.unit},
            {L::EGYSEGAR, text(item.unitNet)},
            {L::begysegar, text(round2(item.unitNet * 1.27))},
            {L::NETTOAR, text(a.net)},
            {L::AFA, "27"},
            {L::AFAFT, text(a.vat)},
            {L::OSSZESEN, text(a.gross)},
            {L::ARCSOPORT, "4"},
            {L::TERMEK, item.service ? "T" : "F"}};
}

Row headerRow(const Document& d, const std::string& number, const QDate& issued, Amounts total) {
    const Buyer& b = d.buyer;
    const bool cashSale = d.type == '1';
    // Cash amounts payable are rounded to 0 or 5 forints.
    const double payable =
        d.method == std::string("Készpénz") ? std::round(total.gross / 5.0) * 5.0 : std::round(total.gross);
    const QDate due = d.method == std::string("Készpénz") ? issued : issued.addDays(8);
    Row row{{H::SZAMLASZAM, number},
            {H::SZAMLATIP, std::string(1, d.type)},
            {H::ALLAPOT, d.state},
            {H::PARTNERKOD, b.code},
            {H::NEV, b.name},
            {H::IRSZAM, b.postcode},
            {H::VAROS, b.town},
            {H::CIM, b.street},
            {H::TELJESCIM, cashSale ? "" : std::string(b.town) + " " + b.street},
            {H::FIZMOD, d.method},
            {H::KIALLIT, dateOf(issued)},
            {H::TELJESIT, dateOf(issued)},
            {H::FIZHAT, dateOf(due)},
            {H::AFAALAP, text(total.net)},
            {H::AFAFT, text(total.vat)},
            {H::FIZETENDO, text(payable)},
            {H::FIZETVE, d.paid ? "T" : "F"},
            {H::ARCSOPORT, "4"},
            {H::KEDVEZMENY, "0"},
            {H::UGYINTEZO, "Rendszergazda"},
            {H::PRINT, std::to_string(d.serial)}};
    if (d.paid) row.push_back({H::FIZDATUM, dateOf(issued)});
    return row;
}

}  // namespace

void addDemoDocuments(const std::string& folder, const QDate& today) {
    std::vector<Row> headers;
    std::vector<Row> lines;
    for (const Document& d : documents()) {
        const QDate issued = issuedOn(d, today);
        const std::string number = d.prefix + std::to_string(issued.year()) + d.number;
        Amounts total;
        for (const Item& item : d.items) {
            const Amounts a = amountsOf(item);
            total = {total.net + a.net, total.vat + a.vat, total.gross + a.gross};
            lines.push_back(lineRow(number, item));
        }
        headers.push_back(headerRow(d, number, issued, total));
    }
    appendRows(folder, TableId::Szamla, headers);
    appendRows(folder, TableId::Szamla2, lines);
}

int demoDocumentCounter(const Field& counter) {
    namespace U = fields::User;
    if (counter.name == U::SZAMLASZ.name) return 7;
    if (counter.name == U::PROFORMA.name) return 2;
    if (counter.name == U::DEFUSER.name) return 3;
    if (counter.name == U::SZLEVSZ.name) return 2;
    return 1;
}

}  // namespace kavina
