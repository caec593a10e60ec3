// The demo business. Names, addresses, tax and account numbers are made up; mail addresses
// use the reserved .example domain.

#include "foundation/DemoBusiness.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <set>
#include <vector>

#include <QDir>
#include <stdexcept>

#include "foundation/CatalogueFields.h"
#include "foundation/DemoDocuments.h"
#include "foundation/DemoPictures.h"
#include "foundation/TableRows.h"

namespace kavina {
namespace {

constexpr int64_t kPartnerCardBase = 4770148114995;  // partner card number = base + code
constexpr const char* kWarehouse = "Törzsraktár";    // the label of the new folder's warehouse
constexpr const char* kPictureFolder = "kepek";      // the products' pictures, in the data folder

// The two warehouses the demo adds to the new folder's, as raktar.dbf holds them and as a
// product names them (AZON and MEGNEVEZES joined by a blank).
struct DemoWarehouse {
    const char* id;
    const char* name;
    const char* label;
};
const DemoWarehouse kShopStore{"2", "Bolti raktár", "2 Bolti raktár"};
const DemoWarehouse kGardenYard{"3", "Kerti telep", "3 Kerti telep"};
// The markups of the price levels 1-3 over the net purchase price, in percent: the settings
// record's multipliers.
constexpr double kDemoMarkups[3] = {15, 20, 25};

double round4(double v) {
    return std::round(v * 10000.0) / 10000.0;
}

struct Town {
    const char* name;
    const char* postcode;
};

struct DemoPartner {
    const char* name;
    const char* contact;
    bool supplier;
    Town town;
    const char* street;
    const char* phone;
    const char* mailDomain;
    const char* payment;
    int paymentDays;
    int priceGroup;
    int discount;
};

const std::vector<DemoPartner>& demoPartners() {
    static const std::vector<DemoPartner> list{
        {"Kovács és Társa Kft.",
         "Kovács Péter",
         false,
         {"Budapest", "1117"},
         "Irinyi József utca 4.",
         "(1) 555-0101",
         "kovacs-tarsa",
         "Átutalás",
         8,
         2,
         0},
        {"Szabó Építőipari Bt.",
         "Szabó István",
         false,
         {"Debrecen", "4024"},
         "Piac utca 12.",
         "(52) 555-102",
         "szabo-epito",
         "Átutalás",
         15,
         2,
         5},
        {"Tóth Gépszerviz Kft.",
         "Tóth Gábor",
         false,
         {"Szeged", "6720"},
         "Tisza Lajos körút 31.",
         "(62) 555-103",
         "toth-gepszerviz",
         "Átutalás",
         8,
         1,
         0},
        {"Nagy Lajos e.v.",
         "Nagy Lajos",
         false,
         {"Pécs", "7621"},
         "Király utca 18.",
         "(72) 555-104",
         "nagylajos",
         "Készpénz",
         0,
         1,
         0},
        {"Horváth Kertészet Kft.",
         "Horváth Éva",
         false,
         {"Győr", "9021"},
         "Baross Gábor út 7.",
         "(96) 555-105",
         "horvath-kert",
         "Átutalás",
         30,
         3,
         3},
        {"Varga Ferencné",
         "Varga Ferencné",
         false,
         {"Miskolc", "3525"},
         "Széchenyi István út 45.",
         "(46) 555-106",
         "",
         "Készpénz",
         0,
         1,
         0},
        {"Kiss Asztalosműhely Bt.",
         "Kiss Zoltán",
         false,
         {"Kecskemét", "6000"},
         "Rákóczi út 9.",
         "(76) 555-107",
         "kiss-asztalos",
         "Csekk",
         8,
         2,
         0},
        {"Molnár Villanyszerelés Kft.",
         "Molnár Ádám",
         false,
         {"Székesfehérvár", "8000"},
         "Fő utca 22.",
         "(22) 555-108",
         "molnar-villany",
         "Átutalás",
         15,
         4,
         0},
        {"Németh Festék Nagykereskedés Zrt.",
         "Németh Judit",
         true,
         {"Nyíregyháza", "4400"},
         "Dózsa György utca 3.",
         "(42) 555-109",
         "nemeth-festek",
         "Átutalás",
         30,
         1,
         0},
        {"Farkas Szerszámgyártó Kft.",
         "Farkas Ödön",
         true,
         {"Sopron", "9400"},
         "Várkerület 56.",
         "(99) 555-110",
         "farkas-szerszam",
         "Átutalás",
         15,
         1,
         0},
        {"Balogh Csavar és Kötőelem Kft.",
         "Balogh Tünde",
         true,
         {"Eger", "3300"},
         "Széchenyi utca 14.",
         "(36) 555-111",
         "balogh-csavar",
         "Átutalás",
         8,
         1,
         0},
        {"Papp Elektro Kereskedelmi Kft.",
         "Papp Gergő",
         true,
         {"Veszprém", "8200"},
         "Óváros tér 2.",
         "(88) 555-112",
         "papp-elektro",
         "Átutalás",
         30,
         1,
         0},
    };
    return list;
}

struct Category {
    const char* name;
    const char* articlePrefix;
    const char* statisticalNumber;
    double vatRate;
    int warrantyDays;
    bool services;
};

struct DemoProduct {
    int category;  // index into demoCategories()
    const char* name;
    const char* unit;
    double purchase;  // net purchase price, forints
    double stock;
    double minimum;
};

const std::vector<Category>& demoCategories() {
    static const std::vector<Category> list{
        {"Kéziszerszámok", "KSZ", "8205", 27, 365, false},
        {"Elektromos kisgépek", "EKG", "8467", 27, 730, false},
        {"Kötőelemek", "KOT", "7318", 27, 0, false},
        {"Festékek és vegyi áruk", "FES", "3209", 27, 0, false},
        {"Villanyszerelési anyagok", "VIL", "8536", 27, 0, false},
        {"Kerti eszközök", "KER", "8201", 27, 365, false},
        {"Kiadványok", "KIA", "4901", 5, 0, false},
        {"Szolgáltatások", "SZO", "", 27, 0, true},
    };
    return list;
}

// Two products are short (below their minimum) and one is out of stock, so the stock colours
// and the low-stock list have something to show.
const std::vector<DemoProduct>& demoProducts() {
    static const std::vector<DemoProduct> list{
        {0, "Kalapács 500 g", "db", 1890, 24, 5},
        {0, "Csavarhúzó készlet, 6 részes", "csomag", 3490, 15, 4},
        {0, "Kombinált fogó 180 mm", "db", 2290, 18, 5},
        {0, "Villáskulcs készlet 8-19 mm", "csomag", 5990, 9, 3},
        {0, "Mérőszalag 5 m", "db", 1190, 40, 10},
        {0, "Vízmérték 60 cm", "db", 2790, 12, 4},
        {0, "Fémfűrész", "db", 1990, 7, 3},
        {0, "Tapétavágó kés", "db", 490, 60, 15},
        {0, "Ácsceruza", "db", 90, 3, 20},
        {1, "Akkus fúró-csavarozó 18 V", "db", 24900, 6, 2},
        {1, "Ütvefúrógép 750 W", "db", 18900, 4, 2},
        {1, "Sarokcsiszoló 125 mm", "db", 14900, 5, 2},
        {1, "Dekopírfűrész 600 W", "db", 16900, 0, 1},
        {1, "Hőlégfúvó 2000 W", "db", 9900, 3, 1},
        {1, "Rezgőcsiszoló", "db", 12900, 2, 1},
        {1, "Ipari porszívó 20 l", "db", 29900, 2, 1},
        {2, "Facsavar 4x40 (200 db)", "csomag", 890, 50, 10},
        {2, "Facsavar 5x60 (100 db)", "csomag", 1090, 35, 10},
        {2, "Műanyag tipli 8 mm (100 db)", "csomag", 690, 42, 10},
        {2, "Alátét M8", "kg", 1590, 12.5, 2},
        {2, "Hatlapfejű csavar M8x40", "kg", 2390, 8.25, 2},
        {2, "Szeg 70 mm", "kg", 990, 20, 5},
        {2, "Önmetsző csavar 3,5x25 (500 db)", "csomag", 1490, 16, 5},
        {2, "Csavaranya M10", "kg", 2190, 6, 2},
        {3, "Beltéri falfesték, fehér, 5 l", "db", 4490, 30, 6},
        {3, "Beltéri falfesték, fehér, 15 l", "db", 11900, 10, 3},
        {3, "Zománcfesték, fehér, 0,75 l", "db", 2890, 14, 4},
        {3, "Favédő lazúr, dió, 2,5 l", "db", 5490, 8, 2},
        {3, "Hígító", "l", 890, 25, 5},
        {3, "Festőhenger 18 cm", "db", 990, 22, 5},
        {3, "Ecset 50 mm", "db", 490, 35, 8},
        {3, "Szilikon tömítő, átlátszó", "db", 1290, 28, 6},
        {4, "Villanykábel MT 3x1,5", "m", 290, 350, 100},
        {4, "Villanykábel MT 3x2,5", "m", 440, 220, 100},
        {4, "Földelt dugalj", "db", 790, 45, 10},
        {4, "Egypólusú kapcsoló", "db", 690, 38, 10},
        {4, "Elosztó, 5 aljzatos, 1,5 m", "db", 2490, 16, 4},
        {4, "LED izzó E27 10 W", "db", 890, 80, 20},
        {4, "Kismegszakító 16 A", "db", 1490, 24, 6},
        {4, "Szigetelőszalag", "db", 290, 4, 20},
        {5, "Ásó nyéllel", "db", 4990, 9, 3},
        {5, "Gereblye", "db", 2990, 11, 3},
        {5, "Locsolótömlő 25 m", "db", 6990, 7, 2},
        {5, "Metszőolló", "db", 3490, 13, 4},
        {6, "Barkácskalauz (könyv)", "db", 3200, 10, 2},
        {6, "Kertészeti kézikönyv", "db", 4100, 6, 2},
        {7, "Szerelési munkadíj", "óra", 6000, 0, 0},
        {7, "Kiszállási díj Szeged területén", "db", 3500, 0, 0},
        {7, "Gépkölcsönzés, egy nap", "db", 4000, 0, 0},
        {7, "Festékkeverés", "db", 800, 0, 0},
    };
    return list;
}

std::string integerText(int64_t v) {
    return std::to_string(v);
}

std::vector<Row> townRows() {
    std::vector<Row> rows;
    std::set<std::string> seen;
    for (const DemoPartner& p : demoPartners())
        if (seen.insert(p.town.name).second)
            rows.push_back({{fields::Telep::TELEPULES, p.town.name}, {fields::Telep::IRSZAM, p.town.postcode}});
    return rows;
}

// The one private customer has neither a mail address nor a tax or bank account number.
bool isPrivatePerson(const DemoPartner& p) {
    return *p.mailDomain == '\0';
}

Row partnerRow(const DemoPartner& p, int code) {
    char tax[32];
    std::snprintf(tax, sizeof tax, "%08d-2-%02d", 23456700 + code, 10 + code);
    char account[32];
    std::snprintf(account, sizeof account, "11700000-%08d", 20000000 + code * 137);
    const std::string town = p.town.name;
    namespace P = fields::Partner;
    return {{P::PARTNERKOD, integerText(code)},
            {P::NEV, p.name},
            {P::KAPCSNEV, p.contact},
            {P::PCSOPORT, p.supplier ? "Szállító" : "Vevő"},
            {P::IRSZAM, p.town.postcode},
            {P::VAROS, town},
            {P::UTCA, p.street},
            {P::TELJESCIM, town + " " + p.street},
            {P::TELEFON, p.phone},
            {P::EMAIL, isPrivatePerson(p) ? "" : std::string("info@") + p.mailDomain + ".example"},
            {P::ADOSZAM, isPrivatePerson(p) ? "" : tax},
            {P::BANKSZAMLA, isPrivatePerson(p) ? "" : account},
            {P::FIZMOD, p.payment},
            {P::ARCSOPORT, integerText(p.priceGroup)},
            {P::OSSZESBIZF, integerText(p.paymentDays)},
            {P::OSSZESBIZM, integerText(p.discount)},
            {P::VONALKOD, integerText(kPartnerCardBase + code)}};
}

// EAN-13 with a made-up company prefix and a valid check digit.
std::string barcodeFor(int code) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "599123400%03d", code);
    int sum = 0;
    for (int i = 0; i < 12; ++i) sum += (digits[i] - '0') * (i % 2 ? 3 : 1);
    return std::string(digits) + char('0' + (10 - sum % 10) % 10);
}

// The prices as a product edit leaves them: every gross price a whole number of forints and
// every net price that gross divided by (1 + rate/100), to four decimals. The level prices
// start from the purchase price raised by the markups; the fixed price is the highest level.
void addPricePair(Row& row, const Field& netField, const Field& grossField, double net, double factor) {
    const double gross = std::round(net * factor);
    row.push_back({netField, numberText(round4(gross / factor))});
    row.push_back({grossField, numberText(gross)});
}

void addPrices(Row& row, double purchase, double vatRate) {
    namespace A = fields::Anyag;
    const double factor = 1 + vatRate / 100;
    addPricePair(row, A::BESZERZAR, A::bbesz, purchase, factor);
    const Field levels[3][3] = {{A::AR1, A::bar1, A::SZ1}, {A::AR2, A::bar2, A::SZ2}, {A::AR3, A::bar3, A::SZ3}};
    double highest = 0;
    for (int level = 0; level < 3; ++level) {
        const double net = std::round(purchase * (1 + kDemoMarkups[level] / 100));
        addPricePair(row, levels[level][0], levels[level][1], net, factor);
        row.push_back({levels[level][2], numberText(kDemoMarkups[level])});
        highest = std::max(highest, net);
    }
    addPricePair(row, A::FIXAR, A::bfixar, highest, factor);
}

// Paints are kept in the shop, garden goods in the garden yard, the rest in the main store;
// services belong to no warehouse.
std::string warehouseOf(int category) {
    if (demoCategories()[size_t(category)].services) return {};
    if (category == 3) return kShopStore.label;
    if (category == 5) return kGardenYard.label;
    return kWarehouse;
}

Row productRow(const DemoProduct& p, int code, int sequenceInCategory) {
    const Category& c = demoCategories()[size_t(p.category)];
    namespace A = fields::Anyag;
    char article[16];
    std::snprintf(article, sizeof article, "%s-%04d", c.articlePrefix, sequenceInCategory);
    Row row{{A::ANYAGKOD, integerText(code)},
            {A::KATEGORIA, c.name},
            {A::ITJSZAM, c.statisticalNumber},
            {A::CIKKSZAM, article},
            {A::MEGNEVEZES, p.name},
            {A::EGYSEG, p.unit},
            {A::MENNYISEG, numberText(p.stock)},
            {A::MINMENNY, numberText(p.minimum)},
            {A::AFAKULCS, numberText(c.vatRate)},
            {A::MEGJEGYZES, warehouseOf(p.category)},
            {A::LISTA, "T"},
            {A::NINCSANYAG, p.stock == 0 ? "T" : "F"},
            {A::TERMEK, c.services ? "T" : "F"},
            {A::KEVES, p.minimum >= p.stock ? "T" : "F"},
            {A::szavatossag, integerText(c.warrantyDays)},
            {A::VONALKOD, c.services ? "" : barcodeFor(code)}};
    addPrices(row, p.purchase, c.vatRate);
    return row;
}

struct DemoProductPicture {
    const char* product;
    const char* file;
    DemoPicture picture;
};
const DemoProductPicture kPictures[] = {
    {"Kalapács 500 g", "kalapacs.png", DemoPicture::Hammer},
    {"Akkus fúró-csavarozó 18 V", "furo.png", DemoPicture::Drill},
    {"LED izzó E27 10 W", "izzo.png", DemoPicture::Bulb},
    {"Locsolótömlő 25 m", "tomlo.png", DemoPicture::Hose},
    {"Beltéri falfesték, fehér, 5 l", "festek.png", DemoPicture::PaintBucket},
};

// A product put into the recycle bin: its category is "Lomtár".
const DemoProduct kBinnedProduct{0, "Régi fűrészlap (kifutott)", "db", 390, 2, 0};

std::vector<Row> productRows(const std::string& pictureFolder) {
    namespace A = fields::Anyag;
    std::vector<Row> rows;
    std::vector<int> sequence(demoCategories().size(), 0);
    int code = 0;
    for (const DemoProduct& p : demoProducts()) {
        Row row = productRow(p, ++code, ++sequence[size_t(p.category)]);
        for (const DemoProductPicture& picture : kPictures)
            if (std::string(picture.product) == p.name) row.push_back({A::KEP, pictureFolder + "/" + picture.file});
        rows.push_back(std::move(row));
    }
    Row binned = productRow(kBinnedProduct, ++code, ++sequence[0]);
    for (auto& [field, value] : binned)
        if (field.name == A::KATEGORIA.name) value = "Lomtár";
    rows.push_back(std::move(binned));
    return rows;
}

void drawPictures(const std::string& folder) {
    const QString into = QString::fromStdString(folder) + QLatin1Char('/') + QLatin1String(kPictureFolder);
    if (!QDir().mkpath(into)) throw std::runtime_error("cannot create " + into.toStdString());
    for (const DemoProductPicture& picture : kPictures)
        if (!drawDemoPicture(picture.picture, into + QLatin1Char('/') + QLatin1String(picture.file)))
            throw std::runtime_error("cannot write the picture " + std::string(picture.file));
}

// The program's default settings record with the demo shop's header, and counters past the
// numbers of the demo's documents when it has them.
Row settingsRow(const QDate& today, bool withDocuments) {
    namespace U = fields::User;
    Row row{{U::USER1, "Minta Barkács Kft."},
            {U::USER2, "Barkács- és szerszámáruház"},
            {U::CIM, "6720 Szeged, Kárász utca 10."},
            {U::TELEFON, "Tel.: (62) 555-100  FAX: (62) 555-199"},
            {U::ADOSZAM, "Adószám: 12345678-2-06"},
            {U::SZAMLASZAM, "OTP Bankszámlaszám: 11735005-20000000"},
            {U::VALLALK_IG, "Cégjegyzék szám: 06-09-000000"},
            {U::WEBLAP, "Honlap: www.minta-barkacs.example"},
            {U::EMAIL, "E-mail: bolt@minta-barkacs.example"},
            {U::LABLEC1, "Közösségi adószám: HU12345678"},
            {U::LABLEC2, "A fenti feltételeket elfogadom !"},
            {U::MEGJEGYZES, "2"},
            {U::HATARIDO, "8"},
            {U::PARTNERKOD, integerText(int64_t(demoPartners().size()))},
            // One less than the highest product code: the next product gets the counter + 2.
            {U::ANYAGKOD, integerText(int64_t(demoProducts().size()))},
            {U::SELOTAG, "1"},
            {U::SUTOTAG, integerText(today.year())},
            {U::SELO, "SZA"},
            {U::AELO, "ARA"},
            {U::GELO, "GAR"},
            {U::FELO, "SZL"},
            {U::MELO, "MUN"}};
    const Field multipliers[] = {U::SZORZO1, U::SZORZO2, U::SZORZO3};
    for (int i = 0; i < 3; ++i) row.push_back({multipliers[i], numberText(kDemoMarkups[i])});
    for (const Field& counter :
         {U::SZAMLASZ, U::AJANLATSZ, U::MUNKASZ, U::GARLEVSZAM, U::SZLEVSZ, U::VISSZA, U::SELEJT, U::MEGRENDELO,
          U::IDEIGLENES, U::ELOLEG, U::PROFORMA, U::PKIF, U::JOVAIR, U::DEFUSER, U::DEFUSERN})
        row.push_back({counter, integerText(withDocuments ? demoDocumentCounter(counter) : 1)});
    for (const Field& copies : {U::PRNSZAMLA, U::PRNAJANLAT, U::PRNMUNKA, U::PRNGARANC, U::PRNSZL})
        row.push_back({copies, "2"});
    return row;
}

}  // namespace

void addDemoBusiness(const std::string& folder, const std::string& finalFolder, const QDate& today,
                     bool withDocuments) {
    appendRows(folder, TableId::User, {settingsRow(today, withDocuments)});
    appendRows(folder, TableId::PCsoport,
               {{{fields::PCsoport::PCSOPORT, "Vevő"}}, {{fields::PCsoport::PCSOPORT, "Szállító"}}});
    appendRows(folder, TableId::Telep, townRows());
    std::vector<Row> partners;
    for (size_t i = 0; i < demoPartners().size(); ++i) partners.push_back(partnerRow(demoPartners()[i], int(i) + 1));
    appendRows(folder, TableId::Partner, partners);
    std::vector<Row> categories;
    for (const Category& c : demoCategories()) categories.push_back({{fields::Kategoria::KATEGORIA, c.name}});
    appendRows(folder, TableId::Kategoria, categories);
    namespace R = fields::Raktar;
    appendRows(folder, TableId::Raktar,
               {{{R::AZON, kShopStore.id}, {R::MEGNEVEZES, kShopStore.name}},
                {{R::AZON, kGardenYard.id}, {R::MEGNEVEZES, kGardenYard.name}}});
    drawPictures(folder);
    appendRows(folder, TableId::Anyag, productRows(finalFolder + "/" + kPictureFolder));
    if (withDocuments) addDemoDocuments(folder, today);
}

}  // namespace kavina
