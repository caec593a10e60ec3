// The definitions of the catalogue's tables. Fields are in physical order. Widths the tables'
// history leaves open are chosen here, once: a field is at least as wide as the document
// fields its value is copied into, so only the documents cut (a 40-character town keeps 30 in
// Szamla.dbf VAROS), and a field that joins two others (TELJESCIM) holds both whole.

#include "foundation/CatalogueTables.h"

namespace kavina::catalogue {
namespace {

using dbase::FieldDef;
using dbase::FieldType;

FieldDef text(const char* name, int width) {
    return {name, FieldType::Character, width};
}
FieldDef integer(const char* name) {
    return {name, FieldType::Integer};
}
FieldDef shortInteger(const char* name) {
    return {name, FieldType::Short};
}
FieldDef number(const char* name) {
    return {name, FieldType::Float};
}
FieldDef logical(const char* name) {
    return {name, FieldType::Logical};
}
FieldDef date(const char* name) {
    return {name, FieldType::Date};
}
FieldDef dateTime(const char* name) {
    return {name, FieldType::DateTime};
}
FieldDef memo(const char* name) {
    return {name, FieldType::Memo};
}

// Ascending tags named after their fields.
std::vector<TagDef> tagsOn(std::initializer_list<const char*> fields) {
    std::vector<TagDef> tags;
    for (const char* f : fields) tags.push_back({f, f, false});
    return tags;
}

TableDef partner() {
    return {TableId::Partner,
            "Partner.DBF",
            "PartnerTable",
            {integer("PARTNERKOD"),  text("NEV", 50),        text("NEV2", 50),     text("KAPCSNEV", 50),
             text("PCSOPORT", 30),   text("IRSZAM", 4),      text("VAROS", 40),    text("UTCA", 50),
             text("TELJESCIM", 100), text("LEVIR", 4),       text("LEVVAROS", 40), text("LEVUTCA", 50),
             text("TELEFON", 30),    text("FAX", 30),        text("EMAIL", 60),    text("ADOSZAM", 20),
             text("BANKFIOK", 60),   text("BANKSZAMLA", 30), text("FIZMOD", 20),   integer("ARCSOPORT"),
             number("OSSZESBIZF"),   number("OSSZESBIZM"),   text("VONALKOD", 20)},
            tagsOn({"NEV", "UTCA", "PARTNERKOD", "TELJESCIM", "VONALKOD"}),
            "NEV",
            "NEV"};
}

TableDef anyag() {
    return {TableId::Anyag,
            "Anyag.dbf",
            "AnyagTable",
            {number("ANYAGKOD"),      text("KATEGORIA", 60), text("ITJSZAM", 15),   text("CIKKSZAM", 30),
             text("MEGNEVEZES", 100), text("EGYSEG", 10),    number("MENNYISEG"),   number("MINMENNY"),
             number("BESZERZAR"),     number("AR1"),         number("AR2"),         number("AR3"),
             number("SZ1"),           number("SZ2"),         number("SZ3"),         number("AFAKULCS"),
             text("MEGJEGYZES", 100), logical("LISTA"),      logical("NINCSANYAG"), text("KEP", 100),
             logical("TERMEK"),       logical("KEVES"),      number("FIXAR"),       number("bar1"),
             number("bar2"),          number("bar3"),        number("bfixar"),      number("bbesz"),
             integer("szavatossag"),  text("VONALKOD", 20)},
            tagsOn({"KATEGORIA", "ANYAGKOD", "CIKKSZAM", "MEGNEVEZES", "VONALKOD"}),
            "MEGNEVEZES",
            "CIKKSZAM"};
}

TableDef szamla() {
    return {TableId::Szamla,
            "Szamla.dbf",
            "SzamlaTable",
            {text("AJANLSZAM", 16), text("SZAMLASZAM", 16), text("GARANCIASZ", 16), text("SZAMLATIP", 10),
             text("ALLAPOT", 16),   integer("PARTNERKOD"),  text("NEV", 50),        text("NEV1", 50),
             text("IRSZAM", 4),     text("VAROS", 30),      text("CIM", 30),        text("FIZMOD", 20),
             date("KIALLIT"),       date("TELJESIT"),       date("FIZHAT"),         text("TARGY", 80),
             number("AFAALAP"),     number("AFA"),          number("AFAFT"),        number("FIZETENDO"),
             logical("FIZETVE"),    date("FIZDATUM"),       integer("ARCSOPORT"),   integer("KEDVEZMENY"),
             text("UGYINTEZO", 40), integer("PRINT"),       memo("MEGJEGYZES"),     text("PNEV", 80),
             integer("POSSZEG"),    logical("PFIZETVE"),    memo("PEGYEB"),         text("TELJESCIM", 80),
             number("szlnetto"),    number("szlbrutto")},
            tagsOn({"SZAMLASZAM", "NEV", "FIZHAT", "TELJESCIM"}),
            "SZAMLASZAM",
            "SZAMLASZAM"};
}

TableDef szamla2() {
    TableDef def{TableId::Szamla2,
                 "Szamla2.dbf",
                 "Szamla2Table",
                 {text("SZAMLASZAM", 16), number("ANYAGSZAM"),     number("MENNYISEG"),     text("EGYSEG", 10),
                  number("AR1"),          number("AR2"),           number("AR3"),           number("ARE"),
                  number("EGYSEGAR"),     text("ITJSZAM", 15),     text("MEGNEVEZES", 100), number("NETTOAR"),
                  number("AFA"),          number("AFAFT"),         number("OSSZESEN"),      shortInteger("ARCSOPORT"),
                  logical("TERMEK"),      text("MEGJEGYZES", 100), number("bar1"),          number("bar2"),
                  number("bar3"),         number("bfixar"),        number("begysegar"),     number("bruttoar"),
                  text("cikkszam", 30),   number("nbesz"),         number("haszon")},
                 tagsOn({"ANYAGSZAM", "SZAMLASZAM"}),
                 "SZAMLASZAM",
                 "SZAMLASZAM"};
    def.detailOf = DetailLink{TableId::Szamla, "SZAMLASZAM"};
    return def;
}

TableDef afa() {
    return {TableId::AFA,           "AFA.dbf", "AFATable", {number("AFA"), text("MEGNEVEZES", 30)},
            {{"AFA", "AFA", true}}, "AFA",     "AFA"};
}

TableDef garancia() {
    return {TableId::Garancia,
            "garancia.dbf",
            "GaranciaTable",
            {text("SORSZAM", 16), text("SZAMLASZAM", 16), integer("PARTNERKOD"), text("NEV", 50), text("NEV1", 50),
             text("IRSZ", 4), text("VAROS", 40), text("CIM", 40), text("UGYINTEZO", 40), date("VASARLAS"),
             date("GARKEZD"), date("GARLEJAR"), date("TULJAV")},
            tagsOn({"SORSZAM", "NEV", "VASARLAS", "GARLEJAR", "TULJAV", "SZAMLASZAM"}),
            "SORSZAM",
            "SORSZAM"};
}

TableDef garancia2() {
    TableDef def{TableId::Garancia2,
                 "garancia2.DBF",
                 "Garancia2Table",
                 {text("SORSZAM", 16), number("ANYAGKOD"), text("MEGNEVEZES", 100), text("GYARISZAM", 30),
                  number("MENNYISEG"), text("EGYSEG", 10), number("NETTO_AR")},
                 tagsOn({"SORSZAM"}),
                 "SORSZAM",
                 "SORSZAM"};
    def.detailOf = DetailLink{TableId::Garancia, "SORSZAM"};
    return def;
}

TableDef munkalap() {
    return {
        TableId::Munkalap,
        "munkalap.dbf",
        "Munkalaptable",
        {text("SORSZAM", 16),  date("DATUM"),       text("NEV", 50),      text("NEV1", 50),      text("IRSZAM", 4),
         text("VAROS", 40),    text("CIM", 50),     text("TEL", 30),      text("KAPCST", 50),    text("UGYINT", 40),
         date("ERKEZETT"),     date("TAVOZOTT"),    number("MUNKAORA"),   number("UTIDO"),       number("KILOMETER"),
         text("RENDSZAM", 10), number("UTKOLTSEG"), number("SZALLASKTS"), text("SZALLHELY", 60), number("EGYEBKTS"),
         text("EGYEB", 60),    memo("HIBA"),        memo("MUNKA")},
        tagsOn({"NEV", "CIM"}),
        "NEV",
        "NEV"};
}

// The four tables older data folders lack until their upgrade creates them.
std::vector<TableDef> optionalTables() {
    std::vector<TableDef> defs{
        {TableId::Raktar,
         "raktar.dbf",
         "raktar",
         {text("AZON", 16), text("MEGNEVEZES", 80), text("CIM", 80)},
         tagsOn({"MEGNEVEZES"}),
         "",
         "MEGNEVEZES"},
        {TableId::Akcio,
         "akcio.dbf",
         "akcio",
         {integer("kod"), dateTime("mettol"), dateTime("meddig"), number("bruttoar")},
         {},
         "",
         ""},
        {TableId::Tranzakcio,
         "tranzakcio.dbf",
         "tranzakcio",
         {text("cikkszam", 20), text("tipus", 20), dateTime("datum"), text("ido", 8), text("bizonylat", 30),
          integer("partner"), text("tetel", 80), number("mennyiseg"), text("ugyintezo", 20)},
         tagsOn({"CIKKSZAM"}),
         "",
         "CIKKSZAM"},
        {TableId::Vonalkod,
         "vonalkod.dbf",
         "vonalkodTable",
         {text("megnevezes", 100), text("me", 10), text("vonalkod", 20), text("kep", 100)},
         tagsOn({"MEGNEVEZES"}),
         "",
         "MEGNEVEZES"},
    };
    for (TableDef& def : defs) def.optional = true;
    return defs;
}

// The settings record: company header, affixes, counters, copies, footers and multipliers.
// SELOTAG holds the price rounding mode (0-3) and is an integer like the counters.
TableDef user() {
    std::vector<FieldDef> fields{
        text("USER1", 80),      text("USER2", 80),      text("CIM", 100),   text("TELEFON", 80), text("ADOSZAM", 60),
        text("SZAMLASZAM", 80), text("VALLALK_IG", 60), text("WEBLAP", 80), text("EMAIL", 80),   text("LABLEC1", 80),
        text("LABLEC2", 100),   memo("LABSZAMLA"),      memo("LABAJANLAT"), memo("LABSZALL"),    memo("LABGARANC"),
        memo("LABMUNKA"),       memo("LABARLISTA"),     memo("LABPARTNER"), memo("LAPLABLEC"),   text("LOGOKEP", 100),
        text("MEGJEGYZES", 10), integer("HATARIDO"),    number("SZORZO1"),  number("SZORZO2"),   number("SZORZO3")};
    for (const char* counter : {"PARTNERKOD", "ANYAGKOD", "SZAMLASZ", "AJANLATSZ", "MUNKASZ", "GARLEVSZAM", "SZLEVSZ",
                                "VISSZA", "SELEJT", "MEGRENDELO", "IDEIGLENES", "ELOLEG", "PROFORMA", "PKIF", "JOVAIR",
                                "DEFUSER", "DEFUSERN", "SELOTAG", "SUTOTAG"})
        fields.push_back(integer(counter));
    for (const char* affix : {"SELO", "SUTO", "AELO", "AUTO", "FELO", "FUTO", "GELO", "GUTO", "MELO", "MUTO"})
        fields.push_back(text(affix, 10));
    for (const char* copies : {"PRNSZAMLA", "PRNAJANLAT", "PRNMUNKA", "PRNGARANC", "PRNSZL"})
        fields.push_back(integer(copies));
    return {TableId::User, "user.dbf", "UserTable", fields, {}, "", ""};
}

// Thirteen fields: the seven logical rights of the older format, then the rights letters.
TableDef jogok() {
    return {TableId::Jogok,
            "Jogok.dbf",
            "JogTable",
            {text("FELHASZNAL", 40), text("JELSZO", 200), text("JOGOSULT", 20), date("DATUM"), date("JDATUM"),
             logical("ajanlat"), logical("szamla"), logical("arlista"), logical("partner"), logical("anyag"),
             logical("garancia"), logical("szerviz"), text("JOGOK", 50)},
            tagsOn({"FELHASZNAL"}),
            "FELHASZNAL",
            "FELHASZNAL"};
}

TableDef single(TableId id, const char* file, const char* handle, std::vector<FieldDef> fields,
                std::vector<TagDef> tags, const char* order) {
    return {id, file, handle, std::move(fields), std::move(tags), order, order};
}

// The scratch tables of the text search, each ordered by a tag on the document number.
std::vector<TableDef> workingTables() {
    std::vector<TableDef> defs{
        {TableId::Tmp1,
         "tmp1.dbf",
         "",
         {text("SZAMLASZAM", 16), text("NEV", 100), text("CIM", 100), text("FIZMOD", 20), date("KIALLIT"),
          logical("FIZETVE"), text("UGYINTEZO", 40), memo("MEGJEGYZES"), integer("FIZETENDO")},
         {{"szamlaszam", "SZAMLASZAM"}},
         "szamlaszam",
         "szamlaszam"},
        {TableId::Tmp2,
         "tmp2.dbf",
         "",
         {text("SZAMLASZAM", 16), number("MENNYISEG"), text("EGYSEG", 10), number("EGYSEGAR"), text("ITJSZAM", 15),
          text("MEGNEVEZES", 100), logical("TERMEK"), text("MEGJEGYZES", 100)},
         {{"szamlaszam", "SZAMLASZAM"}},
         "szamlaszam",
         "szamlaszam"},
    };
    for (TableDef& def : defs) def.location = TableLocation::ProgramFolder;
    return defs;
}

}  // namespace

std::vector<TableDef> buildTables() {
    std::vector<TableDef> defs{
        partner(),
        anyag(),
        single(TableId::Kategoria, "Kategoria.dbf", "KategoriaTable", {text("KATEGORIA", 60)}, tagsOn({"KATEGORIA"}),
               "KATEGORIA"),
        single(TableId::PCsoport, "PCsoport.dbf", "PcsopTable", {text("PCSOPORT", 30)}, tagsOn({"PCSOPORT"}),
               "PCSOPORT"),
        single(TableId::Telep, "Telep.dbf", "TelepTable", {text("TELEPULES", 40), text("IRSZAM", 4)},
               tagsOn({"TELEPULES", "IRSZAM"}), "TELEPULES"),
        single(TableId::Fizmod, "Fizmod.dbf", "FizmodTable", {text("FIZMOD", 20), integer("HATARIDO")},
               tagsOn({"FIZMOD"}), "FIZMOD"),
        szamla(),
        szamla2(),
        afa(),
        single(TableId::Egyseg, "Egyseg.dbf", "EgysegTable", {text("EGYSEG", 10)}, tagsOn({"EGYSEG"}), "EGYSEG"),
        garancia(),
        garancia2(),
        single(TableId::Arcsoport, "arcsoport.dbf", "ArTable", {integer("ID"), text("ARCSOPORT", 30)}, {}, ""),
        munkalap(),
    };
    for (TableDef& def : optionalTables()) defs.push_back(std::move(def));
    defs.push_back(user());
    defs.push_back(jogok());
    defs.push_back(single(TableId::Userlog, "userlog.dbf", "LoginTable",
                          {text("USER", 40), date("DATE"), text("TIME", 10)}, tagsOn({"USER"}), "USER"));
    for (TableDef& def : workingTables()) defs.push_back(std::move(def));
    return defs;
}

}  // namespace kavina::catalogue
