#include "InvoiceFixture.h"

#include "foundation/CatalogueFields.h"

#include "foundation/Catalogue.h"
#include "foundation/SzamSzov.h"

namespace kavina::testing_invoice {

void fillLine(RecordCursor& lines, const QString& number, const LineSpec& spec) {
    const double grossUnit = double(Kerekit(-1, spec.unitNet * (100 + spec.rate) / 100));
    const double net = double(Kerekit(-1, spec.quantity * spec.unitNet));
    const double gross = double(Kerekit(-1, spec.quantity * grossUnit));
    lines.setString(fields::Szamla2::SZAMLASZAM, number);
    lines.setString(fields::Szamla2::MEGNEVEZES, spec.name);
    lines.setString(fields::Szamla2::ITJSZAM, spec.service ? "7020" : "8471");
    lines.setFloat(fields::Szamla2::MENNYISEG, spec.quantity);
    lines.setString(fields::Szamla2::EGYSEG, spec.service ? "óra" : "db");
    lines.setFloat(fields::Szamla2::EGYSEGAR, spec.unitNet);
    lines.setFloat(fields::Szamla2::begysegar, grossUnit);
    lines.setFloat(fields::Szamla2::NETTOAR, net);
    lines.setFloat(fields::Szamla2::OSSZESEN, gross);
    lines.setFloat(fields::Szamla2::AFAFT, gross - net);
    lines.setFloat(fields::Szamla2::AFA, spec.rate);
    lines.setLogical(fields::Szamla2::TERMEK, spec.service);
    lines.setString(fields::Szamla2::MEGJEGYZES, spec.remark);
}

void appendLine(RecordCursor& lines, const QString& number, const LineSpec& spec) {
    lines.append();
    fillLine(lines, number, spec);
    lines.post();
}

void appendHeader(RecordCursor& header, const QString& type, double payable, int discount) {
    header.append();
    header.setString(fields::Szamla::SZAMLASZAM, "SZA2008/00007");
    header.setString(fields::Szamla::SZAMLATIP, type);
    header.setString(fields::Szamla::NEV, "Példa Kereskedelmi Kft.");
    header.setString(fields::Szamla::NEV1, "Beszerzési osztály");
    header.setString(fields::Szamla::IRSZAM, "1117");
    header.setString(fields::Szamla::VAROS, "Budapest");
    header.setString(fields::Szamla::CIM, "Október huszonharmadika utca 8.");
    header.setString(fields::Szamla::FIZMOD, "Készpénz");
    header.setString(fields::Szamla::KIALLIT, "2008.03.15");
    header.setString(fields::Szamla::TELJESIT, "2008.03.14");
    header.setString(fields::Szamla::FIZHAT, "2008.03.23");
    header.setFloat(fields::Szamla::FIZETENDO, payable);
    header.setInteger(fields::Szamla::KEDVEZMENY, discount);
    header.setInteger(fields::Szamla::PRINT, 1);
    header.setString(fields::Szamla::UGYINTEZO, "Kovács Anna");
    header.post();
}

void defineSettings(MemTable& settings) {
    settings.setFields(catalogue::table(TableId::User).fields);
    settings.append();
    settings.setString(fields::User::USER1, "Bükki Szerszám és Vasáru Bt.");
    settings.setString(fields::User::USER2, "Szaküzlet");
    settings.setString(fields::User::CIM, "3300 Eger, Széchenyi út 12.");
    settings.setString(fields::User::TELEFON, "Tel.: (36)123-456  FAX: (36)999-999");
    settings.setString(fields::User::WEBLAP, "Honlap: www.bukkivas.hu");
    settings.setString(fields::User::EMAIL, "E-mail: bolt@bukkivas.hu");
    settings.setString(fields::User::SZAMLASZAM, "OTP Bankszámlaszám: 11773030-00123456");
    settings.setString(fields::User::ADOSZAM, "Adószám: 12345678-2-10");
    settings.setString(fields::User::VALLALK_IG, "Cégjegyzék szám: 10-06-012345");
    settings.setString(fields::User::LABLEC1, "Köz asz.: HU12345678");
    settings.post();
}

QString joined(const report::PreparedReport& r, int page, const char* band) {
    return r.texts(page, band).join(" | ");
}

}  // namespace kavina::testing_invoice
