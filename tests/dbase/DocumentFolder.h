#pragma once
// A small data folder shaped like the program's: a counter record, document headers and
// lines, a stock log and products, each with its tags, and the save of one document as one
// transaction (the counter taken, a header, lines and log rows appended, stock lowered).

#include <map>
#include <string>
#include <vector>
#include "FolderCheck.h"

#include "dbase/File.h"
#include "dbase/Table.h"

namespace testing_support {

void makeDocumentFolder(const std::string& folder, int products = 30, int documents = 20);

struct DocumentSave {
    int lines = 20;
    int stockProducts = 20;  // products whose stock each line lowers, taken in turn
    double quantity = 1;
};

// The tables of a document save, open, as the program keeps them from one save to the next.
struct DocumentHandles {
    DocumentHandles(const std::string& folder, dbase::FileSystem& fs);
    dbase::Table user, head, lines, log, products;
};

// Saves one document in one transaction; returns its number.
std::string saveDocument(const std::string& folder, dbase::FileSystem& fs, const DocumentSave& save);
std::string saveDocument(const std::string& folder, dbase::FileSystem& fs, DocumentHandles& handles,
                         const DocumentSave& save);

// Every file of the folder but the folder lock and kept damaged journals, name -> bytes.
std::map<std::string, std::string> snapshot(const std::string& folder);
void restore(const std::string& folder, const std::map<std::string, std::string>& files);
// Whether two snapshots hold the same data: equal byte for byte, except the change counter of
// the index files, which a rollback raises so that handles elsewhere read the index again.
bool sameData(const std::map<std::string, std::string>& a, const std::map<std::string, std::string>& b);

}  // namespace testing_support
