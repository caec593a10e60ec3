#include "invoicing/document/MemoryDocument.h"

#include "foundation/Catalogue.h"
#include "foundation/CatalogueFields.h"
#include "foundation/RecordEdit.h"

namespace kavina {

MemoryDocument::MemoryDocument() {
    mszamla.setFields(catalogue::table(TableId::Szamla).fields);
    namespace L = fields::Szamla2;
    std::vector<dbase::FieldDef> lineFields = catalogue::table(TableId::Szamla2).fields;
    lineFields.push_back({mszamla2Fields::beszerzar.text(), dbase::FieldType::Float});
    lineFields.push_back({mszamla2Fields::bbesz.text(), dbase::FieldType::Float});
    mszamla2.setFields(lineFields);
    std::vector<dbase::FieldDef> stockFields;
    for (const Field& f :
         {L::SZAMLASZAM, L::ANYAGSZAM, L::MENNYISEG, L::EGYSEG, L::AR1, L::AR2, L::AR3, L::ARE, L::EGYSEGAR, L::ITJSZAM,
          L::MEGNEVEZES, L::NETTOAR, L::AFA, L::AFAFT, L::OSSZESEN, L::ARCSOPORT, L::TERMEK, L::MEGJEGYZES})
        stockFields.push_back(*catalogue::table(TableId::Szamla2).field(f.name));
    mData2.setFields(stockFields);
}

void MemoryDocument::emptyAll() {
    empty();
    mData2.emptyTable();
}

void MemoryDocument::empty() {
    mszamla.emptyTable();
    mszamla2.emptyTable();
}

void MemoryDocument::sortLinesForPrint() {
    // An empty flag or rate reads as false or 0 but would sort before them; make it say so.
    namespace L = fields::Szamla2;
    for (mszamla2.first(); !mszamla2.eof(); mszamla2.next()) {
        if (!mszamla2.isNull(L::TERMEK) && !mszamla2.isNull(L::AFA)) continue;
        RecordEdit change = RecordEdit::edit(mszamla2);
        mszamla2.setLogical(L::TERMEK, mszamla2.asLogical(L::TERMEK));
        mszamla2.setFloat(L::AFA, mszamla2.asFloat(L::AFA));
        change.post();
    }
    mszamla2.sort({{L::TERMEK}, {L::AFA}});
}

}  // namespace kavina
