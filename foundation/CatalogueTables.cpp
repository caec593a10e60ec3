// The definitions of the catalogue's tables. Fields are in physical order. Widths the tables'
// history leaves open are chosen here, once: a field is at least as wide as the document
// fields its value is copied into, so only the documents cut (a 40-character town keeps 30 in
// Szamla.dbf VAROS), and a field that joins two others (TELJESCIM) holds both whole.

#include "foundation/CatalogueTables.h"

#include "foundation/CatalogueFields.h"

namespace kavina::catalogue {
namespace {

using dbase::FieldDef;
using dbase::FieldType;

FieldDef text(Field f, int width) {
    return {f.text(), FieldType::Character, width};
}
FieldDef integer(Field f) {
    return {f.text(), FieldType::Integer};
}
FieldDef shortInteger(Field f) {
    return {f.text(), FieldType::Short};
}
FieldDef number(Field f) {
    return {f.text(), FieldType::Float};
}
FieldDef logical(Field f) {
    return {f.text(), FieldType::Logical};
}
FieldDef date(Field f) {
    return {f.text(), FieldType::Date};
}
FieldDef dateTime(Field f) {
    return {f.text(), FieldType::DateTime};
}
FieldDef memo(Field f) {
    return {f.text(), FieldType::Memo};
}

// Ascending tags named after their fields.
std::vector<TagDef> tagsOn(std::initializer_list<Field> fields) {
    std::vector<TagDef> tags;
    for (const Field& f : fields) tags.push_back({f.text(), f.text(), false});
    return tags;
}

TableDef partnerDef() {
    using namespace fields::Partner;
    return {TableId::Partner,
            std::string(kTable),
            "PartnerTable",
            {integer(PARTNERKOD), text(NEV, 50),      text(NEV2, 50),       text(KAPCSNEV, 50),   text(PCSOPORT, 30),
             text(IRSZAM, 4),     text(VAROS, 40),    text(UTCA, 50),       text(TELJESCIM, 100), text(LEVIR, 4),
             text(LEVVAROS, 40),  text(LEVUTCA, 50),  text(TELEFON, 30),    text(FAX, 30),        text(EMAIL, 60),
             text(ADOSZAM, 20),   text(BANKFIOK, 60), text(BANKSZAMLA, 30), text(FIZMOD, 20),     integer(ARCSOPORT),
             number(OSSZESBIZF),  number(OSSZESBIZM), text(VONALKOD, 20),   text(VATSTATUS, 1),   text(EUVATNUM, 20)},
            tagsOn({NEV, UTCA, PARTNERKOD, TELJESCIM, VONALKOD}),
            NEV.text(),
            NEV.text()};
}

TableDef anyagDef() {
    using namespace fields::Anyag;
    return {TableId::Anyag,
            std::string(kTable),
            "AnyagTable",
            {number(ANYAGKOD), text(KATEGORIA, 60),   text(ITJSZAM, 15), text(CIKKSZAM, 30),   text(MEGNEVEZES, 100),
             text(EGYSEG, 10), number(MENNYISEG),     number(MINMENNY),  number(BESZERZAR),    number(AR1),
             number(AR2),      number(AR3),           number(SZ1),       number(SZ2),          number(SZ3),
             number(AFAKULCS), text(MEGJEGYZES, 100), logical(LISTA),    logical(NINCSANYAG),  text(KEP, 100),
             logical(TERMEK),  logical(KEVES),        number(FIXAR),     number(bar1),         number(bar2),
             number(bar3),     number(bfixar),        number(bbesz),     integer(szavatossag), text(VONALKOD, 20)},
            tagsOn({KATEGORIA, ANYAGKOD, CIKKSZAM, MEGNEVEZES, VONALKOD}),
            MEGNEVEZES.text(),
            CIKKSZAM.text()};
}

TableDef szamlaDef() {
    using namespace fields::Szamla;
    return {TableId::Szamla,
            std::string(kTable),
            "SzamlaTable",
            {text(AJANLSZAM, 16), text(SZAMLASZAM, 16), text(GARANCIASZ, 16), text(SZAMLATIP, 10), text(ALLAPOT, 16),
             integer(PARTNERKOD), text(NEV, 50),        text(NEV1, 50),       text(IRSZAM, 4),     text(VAROS, 30),
             text(CIM, 30),       text(FIZMOD, 20),     date(KIALLIT),        date(TELJESIT),      date(FIZHAT),
             text(TARGY, 80),     number(AFAALAP),      number(AFA),          number(AFAFT),       number(FIZETENDO),
             logical(FIZETVE),    date(FIZDATUM),       integer(ARCSOPORT),   integer(KEDVEZMENY), text(UGYINTEZO, 40),
             integer(PRINT),      memo(MEGJEGYZES),     text(PNEV, 80),       integer(POSSZEG),    logical(PFIZETVE),
             memo(PEGYEB),        text(TELJESCIM, 80),  number(szlnetto),     number(szlbrutto),   text(BUYERTAX, 20),
             text(BUYEREU, 20),   text(BUYERSTAT, 1),   text(BASEINV, 16)},
            tagsOn({SZAMLASZAM, NEV, FIZHAT, TELJESCIM}),
            SZAMLASZAM.text(),
            SZAMLASZAM.text()};
}

TableDef szamla2Def() {
    using namespace fields::Szamla2;
    TableDef def{TableId::Szamla2,
                 std::string(kTable),
                 "Szamla2Table",
                 {text(SZAMLASZAM, 16), number(ANYAGSZAM),     number(MENNYISEG),     text(EGYSEG, 10),
                  number(AR1),          number(AR2),           number(AR3),           number(ARE),
                  number(EGYSEGAR),     text(ITJSZAM, 15),     text(MEGNEVEZES, 100), number(NETTOAR),
                  number(AFA),          number(AFAFT),         number(OSSZESEN),      shortInteger(ARCSOPORT),
                  logical(TERMEK),      text(MEGJEGYZES, 100), number(bar1),          number(bar2),
                  number(bar3),         number(bfixar),        number(begysegar),     number(bruttoar),
                  text(cikkszam, 30),   number(nbesz),         number(haszon)},
                 tagsOn({ANYAGSZAM, SZAMLASZAM}),
                 SZAMLASZAM.text(),
                 SZAMLASZAM.text()};
    def.detailOf = DetailLink{TableId::Szamla, SZAMLASZAM.text()};
    return def;
}

TableDef afaDef() {
    using namespace fields::AFA;
    return {TableId::AFA,
            std::string(kTable),
            "AFATable",
            {number(AFA), text(MEGNEVEZES, 30), text(VATKIND, 1), text(VATCASE, 10), text(VATREASON, 200)},
            {{AFA.text(), AFA.text(), true}},
            AFA.text(),
            AFA.text()};
}

TableDef garanciaDef() {
    using namespace fields::Garancia;
    return {TableId::Garancia,
            std::string(kTable),
            "GaranciaTable",
            {text(SORSZAM, 16), text(SZAMLASZAM, 16), integer(PARTNERKOD), text(NEV, 50), text(NEV1, 50), text(IRSZ, 4),
             text(VAROS, 40), text(CIM, 40), text(UGYINTEZO, 40), date(VASARLAS), date(GARKEZD), date(GARLEJAR),
             date(TULJAV)},
            tagsOn({SORSZAM, NEV, VASARLAS, GARLEJAR, TULJAV, SZAMLASZAM}),
            SORSZAM.text(),
            SORSZAM.text()};
}

TableDef garancia2Def() {
    using namespace fields::Garancia2;
    TableDef def{TableId::Garancia2,
                 std::string(kTable),
                 "Garancia2Table",
                 {text(SORSZAM, 16), number(ANYAGKOD), text(MEGNEVEZES, 100), text(GYARISZAM, 30), number(MENNYISEG),
                  text(EGYSEG, 10), number(NETTO_AR)},
                 tagsOn({SORSZAM}),
                 SORSZAM.text(),
                 SORSZAM.text()};
    def.detailOf = DetailLink{TableId::Garancia, SORSZAM.text()};
    return def;
}

TableDef munkalapDef() {
    using namespace fields::Munkalap;
    return {TableId::Munkalap,
            std::string(kTable),
            "Munkalaptable",
            {text(SORSZAM, 16),  date(DATUM),       text(NEV, 50),      text(NEV1, 50),      text(IRSZAM, 4),
             text(VAROS, 40),    text(CIM, 50),     text(TEL, 30),      text(KAPCST, 50),    text(UGYINT, 40),
             date(ERKEZETT),     date(TAVOZOTT),    number(MUNKAORA),   number(UTIDO),       number(KILOMETER),
             text(RENDSZAM, 10), number(UTKOLTSEG), number(SZALLASKTS), text(SZALLHELY, 60), number(EGYEBKTS),
             text(EGYEB, 60),    memo(HIBA),        memo(MUNKA)},
            tagsOn({NEV, CIM}),
            NEV.text(),
            NEV.text()};
}

TableDef raktarDef() {
    using namespace fields::Raktar;
    return {TableId::Raktar,
            std::string(kTable),
            "raktar",
            {text(AZON, 16), text(MEGNEVEZES, 80), text(CIM, 80)},
            tagsOn({MEGNEVEZES}),
            "",
            MEGNEVEZES.text()};
}

TableDef akcioDef() {
    using namespace fields::Akcio;
    return {TableId::Akcio,
            std::string(kTable),
            "akcio",
            {integer(kod), dateTime(mettol), dateTime(meddig), number(bruttoar)},
            {},
            "",
            ""};
}

TableDef tranzakcioDef() {
    using namespace fields::Tranzakcio;
    // The tag and its key are spelled in capitals, as older data folders have them.
    return {TableId::Tranzakcio,
            std::string(kTable),
            "tranzakcio",
            {text(cikkszam, 20), text(tipus, 20), dateTime(datum), text(ido, 8), text(bizonylat, 30), integer(partner),
             text(tetel, 80), number(mennyiseg), text(ugyintezo, 20)},
            {{"CIKKSZAM", "CIKKSZAM", false}},
            "",
            "CIKKSZAM"};
}

TableDef vonalkodDef() {
    using namespace fields::Vonalkod;
    // The tag and its key are spelled in capitals, as older data folders have them.
    return {TableId::Vonalkod,
            std::string(kTable),
            "vonalkodTable",
            {text(megnevezes, 100), text(me, 10), text(vonalkod, 20), text(kep, 100)},
            {{"MEGNEVEZES", "MEGNEVEZES", false}},
            "",
            "MEGNEVEZES"};
}

TableDef navQueueDef() {
    using namespace fields::NavQueue;
    return {TableId::NavQueue,
            std::string(kTable),
            "NavQueueTable",
            {text(INVNUMBER, 30), text(OPERATION, 6), text(BASENUMBER, 30), integer(MODINDEX), text(STATE, 2),
             text(TRANSID, 30), memo(XML), text(XMLHASH, 128), dateTime(CREATED), dateTime(SENT), dateTime(FINISHED),
             memo(MESSAGES), integer(BATCHIDX)},
            tagsOn({INVNUMBER, BASENUMBER, STATE}),
            INVNUMBER.text(),
            INVNUMBER.text()};
}

// The tables older data folders lack until their upgrade creates them.
std::vector<TableDef> optionalTables() {
    std::vector<TableDef> defs{raktarDef(), akcioDef(), tranzakcioDef(), vonalkodDef(), navQueueDef()};
    for (TableDef& def : defs) def.optional = true;
    return defs;
}

// The settings record: company header, affixes, counters, copies, footers and multipliers.
// SELOTAG holds the price rounding mode (0-3) and is an integer like the counters.
TableDef userDef() {
    using namespace fields::User;
    std::vector<FieldDef> fields{
        text(USER1, 80),      text(USER2, 80),      text(CIM, 100),   text(TELEFON, 80), text(ADOSZAM, 60),
        text(SZAMLASZAM, 80), text(VALLALK_IG, 60), text(WEBLAP, 80), text(EMAIL, 80),   text(LABLEC1, 80),
        text(LABLEC2, 100),   memo(LABSZAMLA),      memo(LABAJANLAT), memo(LABSZALL),    memo(LABGARANC),
        memo(LABMUNKA),       memo(LABARLISTA),     memo(LABPARTNER), memo(LAPLABLEC),   text(LOGOKEP, 100),
        text(MEGJEGYZES, 10), integer(HATARIDO),    number(SZORZO1),  number(SZORZO2),   number(SZORZO3)};
    for (const Field& counter :
         {PARTNERKOD, ANYAGKOD, SZAMLASZ, AJANLATSZ, MUNKASZ, GARLEVSZAM, SZLEVSZ, VISSZA, SELEJT, MEGRENDELO,
          IDEIGLENES, ELOLEG, PROFORMA, PKIF, JOVAIR, DEFUSER, DEFUSERN, SELOTAG, SUTOTAG})
        fields.push_back(integer(counter));
    for (const Field& affix : {SELO, SUTO, AELO, AUTO, FELO, FUTO, GELO, GUTO, MELO, MUTO})
        fields.push_back(text(affix, 10));
    for (const Field& copies : {PRNSZAMLA, PRNAJANLAT, PRNMUNKA, PRNGARANC, PRNSZL}) fields.push_back(integer(copies));
    return {TableId::User, std::string(kTable), "UserTable", fields, {}, "", ""};
}

// Thirteen fields: the seven logical rights of the older format, then the rights letters.
TableDef jogokDef() {
    using namespace fields::Jogok;
    return {TableId::Jogok,
            std::string(kTable),
            "JogTable",
            {text(FELHASZNAL, 40), text(JELSZO, 200), text(JOGOSULT, 20), date(DATUM), date(JDATUM), logical(ajanlat),
             logical(szamla), logical(arlista), logical(partner), logical(anyag), logical(garancia), logical(szerviz),
             text(JOGOK, 50)},
            tagsOn({FELHASZNAL}),
            FELHASZNAL.text(),
            FELHASZNAL.text()};
}

TableDef single(TableId id, std::string_view file, const char* handle, std::vector<FieldDef> fields,
                std::vector<TagDef> tags, const Field& order) {
    return {id, std::string(file), handle, std::move(fields), std::move(tags), order.text(), order.text()};
}

TableDef arcsoportDef() {
    using namespace fields::Arcsoport;
    return {TableId::Arcsoport, std::string(kTable), "ArTable", {integer(ID), text(ARCSOPORT, 30)}, {}, "", ""};
}

// The scratch tables of the text search, each ordered by a tag on the document number.
std::vector<TableDef> workingTables() {
    namespace T1 = fields::Tmp1;
    namespace T2 = fields::Tmp2;
    std::vector<TableDef> defs{
        {TableId::Tmp1,
         std::string(T1::kTable),
         "",
         {text(T1::SZAMLASZAM, 16), text(T1::NEV, 100), text(T1::CIM, 100), text(T1::FIZMOD, 20), date(T1::KIALLIT),
          logical(T1::FIZETVE), text(T1::UGYINTEZO, 40), memo(T1::MEGJEGYZES), integer(T1::FIZETENDO)},
         {{"szamlaszam", T1::SZAMLASZAM.text()}},
         "szamlaszam",
         "szamlaszam"},
        {TableId::Tmp2,
         std::string(T2::kTable),
         "",
         {text(T2::SZAMLASZAM, 16), number(T2::MENNYISEG), text(T2::EGYSEG, 10), number(T2::EGYSEGAR),
          text(T2::ITJSZAM, 15), text(T2::MEGNEVEZES, 100), logical(T2::TERMEK), text(T2::MEGJEGYZES, 100)},
         {{"szamlaszam", T2::SZAMLASZAM.text()}},
         "szamlaszam",
         "szamlaszam"},
    };
    for (TableDef& def : defs) def.location = TableLocation::ProgramFolder;
    return defs;
}

}  // namespace

std::vector<TableDef> buildTables() {
    namespace K = fields::Kategoria;
    namespace P = fields::PCsoport;
    namespace T = fields::Telep;
    namespace Fm = fields::Fizmod;
    namespace E = fields::Egyseg;
    namespace L = fields::Userlog;
    std::vector<TableDef> defs{
        partnerDef(),
        anyagDef(),
        single(TableId::Kategoria, K::kTable, "KategoriaTable", {text(K::KATEGORIA, 60)}, tagsOn({K::KATEGORIA}),
               K::KATEGORIA),
        single(TableId::PCsoport, P::kTable, "PcsopTable", {text(P::PCSOPORT, 30)}, tagsOn({P::PCSOPORT}), P::PCSOPORT),
        single(TableId::Telep, T::kTable, "TelepTable", {text(T::TELEPULES, 40), text(T::IRSZAM, 4)},
               tagsOn({T::TELEPULES, T::IRSZAM}), T::TELEPULES),
        single(TableId::Fizmod, Fm::kTable, "FizmodTable",
               {text(Fm::FIZMOD, 20), integer(Fm::HATARIDO), text(Fm::NAVPAYMENT, 10)}, tagsOn({Fm::FIZMOD}),
               Fm::FIZMOD),
        szamlaDef(),
        szamla2Def(),
        afaDef(),
        single(TableId::Egyseg, E::kTable, "EgysegTable", {text(E::EGYSEG, 10), text(E::NAVUNIT, 20)},
               tagsOn({E::EGYSEG}), E::EGYSEG),
        garanciaDef(),
        garancia2Def(),
        arcsoportDef(),
        munkalapDef(),
    };
    for (TableDef& def : optionalTables()) defs.push_back(std::move(def));
    defs.push_back(userDef());
    defs.push_back(jogokDef());
    defs.push_back(single(TableId::Userlog, L::kTable, "LoginTable",
                          {text(L::USER, 40), date(L::DATE), text(L::TIME, 10)}, tagsOn({L::USER}), L::USER));
    for (TableDef& def : workingTables()) defs.push_back(std::move(def));
    return defs;
}

}  // namespace kavina::catalogue
