#include "invoicing/document/MemoryDocument.h"

#include "foundation/Catalogue.h"

namespace kavina {

MemoryDocument::MemoryDocument() {
    mszamla.setFields(catalogue::table(TableId::Szamla).fields);
    std::vector<dbase::FieldDef> lineFields = catalogue::table(TableId::Szamla2).fields;
    lineFields.push_back({"beszerzar", dbase::FieldType::Float});
    lineFields.push_back({"bbesz", dbase::FieldType::Float});
    mszamla2.setFields(lineFields);
    std::vector<dbase::FieldDef> stockFields;
    for (const char* name :
         {"SZAMLASZAM", "ANYAGSZAM", "MENNYISEG", "EGYSEG", "AR1", "AR2", "AR3", "ARE", "EGYSEGAR", "ITJSZAM",
          "MEGNEVEZES", "NETTOAR", "AFA", "AFAFT", "OSSZESEN", "ARCSOPORT", "TERMEK", "MEGJEGYZES"})
        stockFields.push_back(*catalogue::table(TableId::Szamla2).field(name));
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
    for (mszamla2.first(); !mszamla2.eof(); mszamla2.next()) {
        if (!mszamla2.isNull("TERMEK") && !mszamla2.isNull("AFA")) continue;
        mszamla2.edit();
        mszamla2.setLogical("TERMEK", mszamla2.asLogical("TERMEK"));
        mszamla2.setFloat("AFA", mszamla2.asFloat("AFA"));
        mszamla2.post();
    }
    mszamla2.sort({{"TERMEK"}, {"AFA"}});
}

}  // namespace kavina
