#pragma once
// A field named at compile time: the table (or record set) that declares it and its name as
// spelled there. Logic and forms never spell a field name as a string: they use the constants
// of CatalogueFields.h, which the catalogue itself is built from, so a misspelt field does not
// compile. Record sets with fields of their own declare their constants beside their
// definition, with the record set's name as the table.
//
//     partners.asString(fields::Partner::NEV);
//     towns.locate({{fields::Telep::IRSZAM, postcode}});

#include <string>
#include <string_view>

namespace kavina {

struct Field {
    std::string_view table;  // the catalogue table's file name, or a record set's name
    std::string_view name;

    std::string text() const { return std::string(name); }
};

}  // namespace kavina
