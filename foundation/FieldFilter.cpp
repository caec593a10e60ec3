#include "foundation/FieldFilter.h"

#include "foundation/TableHandle.h"

namespace kavina::filter {

std::string constant(const QString& text) {
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return ("'" + quoted + "'").toStdString();
}

std::string equals(const Field& field, const QString& value) {
    return field.text() + " = " + constant(value);
}

std::string beginsWith(const Field& field, const QString& prefix) {
    return field.text() + " = " + constant(prefix + QLatin1Char('*'));
}

std::string isFalse(const Field& field) {
    return "NOT " + field.text();
}

std::string isTrue(const Field& field) {
    return field.text();
}

std::string differs(const Field& field, const QString& value) {
    return "NOT " + equals(field, value);
}

std::string allOf(std::initializer_list<std::string> conditions) {
    std::string joined;
    for (const std::string& c : conditions) joined += (joined.empty() ? "" : " AND ") + c;
    return joined;
}

void restrictExactly(TableHandle& handle, const std::string& expression) {
    handle.setFilterOptions({.caseInsensitive = false, .noPrefixMatching = true});
    handle.setFilter(expression);
    handle.setFiltered(true);
}

void removeRestriction(TableHandle& handle) {
    handle.setFiltered(false);
    handle.setFilter(std::string());
}

}  // namespace kavina::filter
