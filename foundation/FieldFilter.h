#pragma once
// Filter expressions built from field constants and values, never pasted together from user
// text: a value becomes a quoted constant of the filter language (an apostrophe doubled), and
// a restriction applied here matches values whole, so a value ending in "*" is not a prefix
// and equal texts always match.
//
//     using namespace filter;
//     restrictExactly(invoices, allOf({equals(fields::Szamla::NEV, name), isFalse(fields::Szamla::FIZETVE)}));

#include <QString>
#include <initializer_list>
#include <string>

#include "foundation/Field.h"

namespace kavina {

class TableHandle;

namespace filter {

// A text constant of the filter language standing for exactly this text.
std::string constant(const QString& text);

// FIELD = 'value'
std::string equals(const Field& field, const QString& value);
// FIELD = 'prefix*': the values that begin with the prefix, under the handle's prefix matching
// (a restriction made with restrictExactly() matches whole values only).
std::string beginsWith(const Field& field, const QString& prefix);
// NOT FIELD, for a logical field.
std::string isFalse(const Field& field);
// FIELD, for a logical field.
std::string isTrue(const Field& field);
// NOT FIELD = 'value'
std::string differs(const Field& field, const QString& value);
// The conditions joined with AND.
std::string allOf(std::initializer_list<std::string> conditions);

// Filters the handle on the expression, matching values case-sensitively and whole.
void restrictExactly(TableHandle& handle, const std::string& expression);
// Removes the handle's filter, expression and all.
void removeRestriction(TableHandle& handle);

}  // namespace filter
}  // namespace kavina
