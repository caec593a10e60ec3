#include "InvoiceFixture.h"

#include "foundation/Catalogue.h"
#include "foundation/SzamSzov.h"

namespace kavina::testing_invoice {

void fillLine(RecordCursor& lines, const QString& number, const LineSpec& spec) {
    const double grossUnit = double(Kerekit(-1, spec.unitNet * (100 + spec.rate) / 100));
    const double net = double(Kerekit(-1, spec.quantity * spec.unitNet));
    const double gross = double(Kerekit(-1, spec.quantity * grossUnit));
    lines.setString("SZAMLASZAM", number);
    lines.setString("MEGNEVEZES", spec.name);
    lines.setString("ITJSZAM", spec.service ? "7020" : "8471");
    lines.setFloat("MENNYISEG", spec.quantity);
    lines.setString("EGYSEG", spec.service ? "óra" : "db");
    lines.setFloat("EGYSEGAR", spec.unitNet);
    lines.setFloat("begysegar", grossUnit);
    lines.setFloat("NETTOAR", net);
    lines.setFloat("OSSZESEN", gross);
    lines.setFloat("AFAFT", gross - net);
    lines.setFloat("AFA", spec.rate);
    lines.setLogical("TERMEK", spec.service);
    lines.setString("MEGJEGYZES", spec.remark);
}

void appendLine(RecordCursor& lines, const QString& number, const LineSpec& spec) {
    lines.append();
    fillLine(lines, number, spec);
    lines.post();
}

void appendHeader(RecordCursor& header, const QString& type, double payable, int discount) {
    header.append();
    header.setString("SZAMLASZAM", "SZA2008/00007");
    header.setString("SZAMLATIP", type);
    header.setString("NEV", "Példa Kereskedelmi Kft.");
    header.setString("NEV1", "Beszerzési osztály");
    header.setString("IRSZAM", "1117");
    header.setString("VAROS", "Budapest");
    header.setString("CIM", "Október huszonharmadika utca 8.");
    header.setString("FIZMOD", "Készpénz");
    header.setString("KIALLIT", "2008.03.15");
    header.setString("TELJESIT", "2008.03.14");
    header.setString("FIZHAT", "2008.03.23");
    header.setFloat("FIZETENDO", payable);
    header.setInteger("KEDVEZMENY", discount);
    header.setInteger("PRINT", 1);
    header.setString("UGYINTEZO", "Kovács Anna");
    header.post();
}

void defineSettings(MemTable& settings) {
    settings.setFields(catalogue::table(TableId::User).fields);
    settings.append();
    settings.setString("USER1", "Bükki Szerszám és Vasáru Bt.");
    settings.setString("USER2", "Szaküzlet");
    settings.setString("CIM", "3300 Eger, Széchenyi út 12.");
    settings.setString("TELEFON", "Tel.: (36)123-456  FAX: (36)999-999");
    settings.setString("WEBLAP", "Honlap: www.bukkivas.hu");
    settings.setString("EMAIL", "E-mail: bolt@bukkivas.hu");
    settings.setString("SZAMLASZAM", "OTP Bankszámlaszám: 11773030-00123456");
    settings.setString("ADOSZAM", "Adószám: 12345678-2-10");
    settings.setString("VALLALK_IG", "Cégjegyzék szám: 10-06-012345");
    settings.setString("LABLEC1", "Köz asz.: HU12345678");
    settings.post();
}

QString joined(const report::PreparedReport& r, int page, const char* band) {
    return r.texts(page, band).join(" | ");
}

}  // namespace kavina::testing_invoice
