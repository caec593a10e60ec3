#include "tools/generator/GeneratedRegisters.h"

#include <QString>
#include <array>
#include <cstdio>

#include "foundation/CatalogueFields.h"
#include "foundation/TableHandle.h"
#include "foundation/TableRows.h"
#include "products/pricing/PriceRules.h"

namespace kavina::generator {

namespace {

namespace A = fields::Anyag;
namespace P = fields::Partner;
namespace U = fields::User;

std::string integerText(int64_t value) {
    return std::to_string(value);
}

int pick(std::mt19937& random, int count) {
    return int(random() % uint32_t(count));
}

struct Category {
    const char* name;
    const char* prefix;
    double vatRate;
    bool services;
    std::array<const char*, 6> nouns;
    std::array<const char*, 4> units;
};

// Most goods carry the general rate; books and some foods the reduced ones.
const Category kCategories[] = {
    {"Szerszámok",
     "SZE",
     27,
     false,
     {"Kalapács", "Csavarhúzó", "Fogó", "Fűrész", "Vízmérték", "Mérőszalag"},
     {"db", "db", "db", "készlet"}},
    {"Kötőelemek",
     "KOT",
     27,
     false,
     {"Csavar", "Anya", "Alátét", "Dübel", "Szög", "Tipli"},
     {"db", "csomag", "kg", "db"}},
    {"Festékek",
     "FES",
     27,
     false,
     {"Falfesték", "Lakk", "Alapozó", "Zománcfesték", "Hígító", "Glett"},
     {"l", "kg", "db", "l"}},
    {"Kert",
     "KER",
     27,
     false,
     {"Locsolótömlő", "Metszőolló", "Virágföld", "Gereblye", "Ásó", "Fűmag"},
     {"db", "kg", "db", "m"}},
    {"Élelmiszer", "ELE", 18, false, {"Tej", "Kenyér", "Sajt", "Vaj", "Kifli", "Joghurt"}, {"l", "db", "kg", "db"}},
    {"Könyvek",
     "KON",
     5,
     false,
     {"Kézikönyv", "Szakkönyv", "Atlasz", "Naptár", "Útmutató", "Kertészkönyv"},
     {"db", "db", "db", "db"}},
    {"Szolgáltatások",
     "SZO",
     27,
     true,
     {"Szerelés", "Kiszállítás", "Festés", "Javítás", "Szaktanácsadás", "Vágás"},
     {"óra", "alkalom", "óra", "m"}},
};

const char* const kVariants[] = {"kicsi", "nagy", "prémium", "erős", "könnyű", "fehér", "fekete", "horganyzott"};

void addPricePair(Row& row, const Field& netField, const Field& grossField, double net, double vatRate) {
    const products::PricePair pair = products::wholeGrossPair(net, vatRate);
    row.push_back({netField, numberText(pair.net)});
    row.push_back({grossField, numberText(pair.gross)});
}

std::string warehouseLabel(const std::string& folder) {
    namespace R = fields::Raktar;
    TableHandle stores(folder, std::string(R::kTable));
    stores.open({.readOnly = true});
    stores.first();
    if (stores.isEmpty()) return {};
    return (stores.asString(R::AZON).trimmed() + QLatin1Char(' ') + stores.asString(R::MEGNEVEZES).trimmed())
        .toStdString();
}

}  // namespace

void writeSettings(const std::string& folder, int year) {
    Row row{{U::USER1, "Generált Kereskedő Kft."},
            {U::USER2, "Barkács- és vegyesbolt"},
            {U::CIM, "1111 Budapest, Próba utca 1."},
            {U::ADOSZAM, "Adószám: 11111111-2-11"},
            {U::SELO, "SZA"},
            {U::AELO, "ARA"},
            {U::GELO, "GAR"},
            {U::FELO, "SZL"},
            {U::MELO, "MUN"},
            {U::SELOTAG, "1"},
            {U::SUTOTAG, integerText(year)},
            {U::MEGJEGYZES, "0"},
            {U::HATARIDO, "8"}};
    const Field multipliers[] = {U::SZORZO1, U::SZORZO2, U::SZORZO3};
    for (int i = 0; i < 3; ++i) row.push_back({multipliers[i], numberText(kLevelMarkups[i])});
    for (const Field& counter :
         {U::SZAMLASZ, U::AJANLATSZ, U::MUNKASZ, U::GARLEVSZAM, U::SZLEVSZ, U::VISSZA, U::SELEJT, U::MEGRENDELO,
          U::IDEIGLENES, U::ELOLEG, U::PROFORMA, U::PKIF, U::JOVAIR, U::DEFUSER, U::DEFUSERN})
        row.push_back({counter, "1"});
    for (const Field& copies : {U::PRNSZAMLA, U::PRNAJANLAT, U::PRNMUNKA, U::PRNGARANC, U::PRNSZL})
        row.push_back({copies, "0"});
    appendRows(folder, TableId::User, {row});
}

void writeProducts(const std::string& folder, int count, std::mt19937& random) {
    std::vector<Row> categories;
    for (const Category& c : kCategories) categories.push_back({{fields::Kategoria::KATEGORIA, c.name}});
    appendRows(folder, TableId::Kategoria, categories);
    const std::string store = warehouseLabel(folder);
    std::vector<Row> rows;
    rows.reserve(size_t(count));
    for (int code = 1; code <= count; ++code) {
        // One product in twenty-five is a service; the goods are spread over the other kinds.
        const int services = int(std::size(kCategories)) - 1;
        const Category& c = code % 25 == 0 ? kCategories[services] : kCategories[pick(random, services)];
        const std::string name =
            std::string(c.nouns[size_t(pick(random, 6))]) + " " + kVariants[pick(random, 8)] + " " + integerText(code);
        char article[16];
        std::snprintf(article, sizeof article, "%s-%05d", c.prefix, code);
        // Purchase prices from 50 Ft to about 60 000 Ft, most of them cheap.
        const double purchase = std::round(50 * std::pow(1200.0, std::uniform_real_distribution<double>(0, 1)(random)));
        Row row{{A::ANYAGKOD, integerText(code)},
                {A::KATEGORIA, c.name},
                {A::CIKKSZAM, article},
                {A::MEGNEVEZES, name},
                {A::EGYSEG, c.units[size_t(pick(random, 4))]},
                {A::MENNYISEG, "0"},
                {A::MINMENNY, integerText(5 + pick(random, 10))},
                {A::AFAKULCS, numberText(c.vatRate)},
                {A::MEGJEGYZES, c.services ? std::string() : store},
                {A::LISTA, "T"},
                {A::NINCSANYAG, c.services ? "F" : "T"},
                {A::TERMEK, c.services ? "T" : "F"},
                {A::KEVES, "F"},
                {A::szavatossag, integerText(c.services ? 0 : 365)}};
        addPricePair(row, A::BESZERZAR, A::bbesz, purchase, c.vatRate);
        const Field levels[3][3] = {{A::AR1, A::bar1, A::SZ1}, {A::AR2, A::bar2, A::SZ2}, {A::AR3, A::bar3, A::SZ3}};
        double highest = 0;
        for (int level = 0; level < 3; ++level) {
            const double net = products::levelPrice(purchase, kLevelMarkups[level], 1);
            addPricePair(row, levels[level][0], levels[level][1], net, c.vatRate);
            row.push_back({levels[level][2], numberText(kLevelMarkups[level])});
            highest = std::max(highest, net);
        }
        addPricePair(row, A::FIXAR, A::bfixar, highest, c.vatRate);
        rows.push_back(std::move(row));
    }
    appendRows(folder, TableId::Anyag, rows);
}

void writePartners(const std::string& folder, int count, std::mt19937& random) {
    static const char* const kFamilies[] = {"Kovács", "Szabó", "Tóth",   "Nagy",   "Horváth",
                                            "Varga",  "Kiss",  "Molnár", "Németh", "Farkas",
                                            "Balogh", "Papp",  "Takács", "Juhász", "Lakatos"};
    static const char* const kForms[] = {"Kft.", "Bt.", "Zrt.", "és Társa Kft.", "Építő Kft.", "Kereskedelmi Bt."};
    struct Town {
        const char* name;
        const char* postcode;
    };
    static const Town kTowns[] = {{"Budapest", "1117"}, {"Szeged", "6720"},  {"Debrecen", "4025"},
                                  {"Pécs", "7621"},     {"Győr", "9021"},    {"Kecskemét", "6000"},
                                  {"Miskolc", "3525"},  {"Szolnok", "5000"}, {"Eger", "3300"}};
    static const char* const kStreets[] = {"Fő utca",    "Kossuth Lajos utca", "Petőfi Sándor utca",
                                           "Rákóczi út", "Ady Endre utca",     "Dózsa György út"};
    std::vector<Row> rows;
    rows.reserve(size_t(count));
    for (int code = 1; code <= count; ++code) {
        const Town& town = kTowns[pick(random, int(std::size(kTowns)))];
        const std::string name = std::string(kFamilies[pick(random, int(std::size(kFamilies)))]) + " " +
                                 kForms[pick(random, int(std::size(kForms)))] + " " + integerText(code);
        const std::string street = std::string(kStreets[pick(random, int(std::size(kStreets)))]) + " " +
                                   integerText(1 + pick(random, 120)) + ".";
        // Three customers in five pay by transfer; one partner in twenty is a supplier.
        const bool transfer = pick(random, 5) < 3;
        const int discount = pick(random, 10) == 0 ? 5 : 0;
        static const int kTerms[] = {8, 15, 30};
        rows.push_back({{P::PARTNERKOD, integerText(code)},
                        {P::NEV, name},
                        {P::PCSOPORT, code % 20 == 0 ? "Szállító" : "Vevő"},
                        {P::IRSZAM, town.postcode},
                        {P::VAROS, town.name},
                        {P::UTCA, street},
                        {P::TELJESCIM, std::string(town.name) + " " + street},
                        {P::FIZMOD, transfer ? "Átutalás" : "Készpénz"},
                        {P::ARCSOPORT, integerText(1 + pick(random, 4))},
                        {P::OSSZESBIZF, integerText(kTerms[pick(random, 3)])},
                        {P::OSSZESBIZM, integerText(discount)},
                        {P::VONALKOD, integerText(4770148000000 + code)}});
    }
    appendRows(folder, TableId::Partner, rows);
}

}  // namespace kavina::generator
