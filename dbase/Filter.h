#pragma once
// Record filters: the expression language of table filters, compiled once against a table's
// fields into a predicate over raw record bytes (no decoding per record for the common tests).
//
// Grammar (keywords and field names in any case):
//   expr       := term { OR term }
//   term       := factor { AND factor }
//   factor     := NOT factor | '(' expr ')' | comparison | logical-field
//   comparison := operand op operand        op: = <> != > >= < <=
//   operand    := field | 'text' | "text" | number
// A doubled quote inside a quoted constant stands for one quote. A text constant ending in '*'
// matches by prefix (with = and <>) unless prefix matching is switched off. Dates compare
// against year-first text ("2008.03.15"); date-times against "2008.03.15 10:15:00".

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "Schema.h"

namespace dbase {

struct FilterOptions {
    bool caseInsensitive = false;
    bool noPrefixMatching = false;
};

class RecordPredicate {
public:
    virtual ~RecordPredicate() = default;
    virtual bool test(const uint8_t* record) const = 0;
};

// Compiles an expression; throws DbError naming the file and the 1-based position of a
// syntax error, an unknown field or a constant that does not fit its field.
std::unique_ptr<RecordPredicate> compileFilter(std::string_view expression, const TableHeader& header,
                                               const FilterOptions& options, const std::string& file);

// One field equal to a value given as text (the form locate and detail links use). With
// prefix, a character field matches when it starts with the value.
std::unique_ptr<RecordPredicate> makeFieldEquals(const TableHeader& header, int field, std::string_view valueUtf8,
                                                 bool caseInsensitive, bool prefix, const std::string& file);

// All of the given predicates.
std::unique_ptr<RecordPredicate> makeAll(std::vector<std::unique_ptr<RecordPredicate>> parts);

}  // namespace dbase
