#pragma once
// The demo business of a new data folder: a hardware shop in Szeged with its settings record,
// a dozen customers and suppliers, the towns they live in, and fifty goods and services.

#include <QDate>
#include <string>

namespace kavina {

// Fills the tables of a new folder that already holds the reference rows. Throws DbError.
void addDemoBusiness(const std::string& folder, const QDate& today);

}  // namespace kavina
