#pragma once
// The demo business of a new data folder: a hardware shop in Szeged with its settings record,
// a dozen customers and suppliers, the towns they live in, three warehouses, and fifty goods
// and services, a few of them with pictures and one in the recycle bin, and a handful of
// stored documents (DemoDocuments.h).

#include <QDate>
#include <string>

namespace kavina {

// Fills the tables of a new folder that already holds the reference rows, and draws the
// product pictures into its "kepek" subfolder. The folder may be a staging folder whose
// content moves into finalFolder afterwards: the products name their pictures there. Without
// withDocuments the folder gets no documents and its counters start at 1.
// Throws DbError, or std::runtime_error when a picture cannot be written.
void addDemoBusiness(const std::string& folder, const std::string& finalFolder, const QDate& today,
                     bool withDocuments = true);

}  // namespace kavina
