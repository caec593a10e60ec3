#include "DocumentFolder.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "dbase/Table.h"
#include "dbase/Transaction.h"

namespace testing_support {

using namespace dbase;

namespace {

void addTags(const std::string& folder, const std::string& name, std::initializer_list<const char*> fields) {
    Table t(folder, name);
    t.open({.exclusive = true});
    for (const char* f : fields) t.addIndex(f, f);
}

std::string documentNumber(int64_t n) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "2024/%05lld", static_cast<long long>(n));
    return buf;
}

}  // namespace

void makeDocumentFolder(const std::string& folder, int products, int documents) {
    Table::create(folder, "user.dbf", {{"SZAMLASZ", FieldType::Integer}, {"CEG", FieldType::Character, 40}});
    Table::create(
        folder, "Szamla.dbf",
        {{"SZAMLASZAM", FieldType::Character, 16}, {"NEV", FieldType::Character, 40}, {"OSSZESEN", FieldType::Float}});
    Table::create(folder, "Szamla2.dbf",
                  {{"SZAMLASZAM", FieldType::Character, 16},
                   {"ANYAGSZAM", FieldType::Float},
                   {"MENNYISEG", FieldType::Float},
                   {"MEGNEVEZES", FieldType::Character, 60}});
    Table::create(
        folder, "tranzakcio.dbf",
        {{"CIKKSZAM", FieldType::Character, 20}, {"MENNYISEG", FieldType::Float}, {"TIPUS", FieldType::Character, 3}});
    Table::create(folder, "Anyag.dbf",
                  {{"ANYAGKOD", FieldType::Float},
                   {"CIKKSZAM", FieldType::Character, 20},
                   {"MEGNEVEZES", FieldType::Character, 40},
                   {"MENNYISEG", FieldType::Float}});
    addTags(folder, "Szamla.dbf", {"SZAMLASZAM", "NEV"});
    addTags(folder, "Szamla2.dbf", {"ANYAGSZAM", "SZAMLASZAM"});
    addTags(folder, "tranzakcio.dbf", {"CIKKSZAM"});
    addTags(folder, "Anyag.dbf", {"ANYAGKOD", "CIKKSZAM", "MEGNEVEZES"});
    Table user(folder, "user.dbf");
    user.open();
    user.append();
    user.setInteger("SZAMLASZ", 0);
    user.setString("CEG", "Próba Kft.");
    user.post();
    Table anyag(folder, "Anyag.dbf");
    anyag.open();
    for (int k = 1; k <= products; ++k) {
        anyag.append();
        anyag.setInteger("ANYAGKOD", k);
        anyag.setString("CIKKSZAM", "CIKK-" + std::to_string(k));
        anyag.setString("MEGNEVEZES", "Termék " + std::to_string(k));
        anyag.setFloat("MENNYISEG", 100000);
        anyag.post();
    }
    for (int d = 0; d < documents; ++d)
        saveDocument(folder, FileSystem::real(), {.lines = 3, .stockProducts = products});
}

namespace {

std::string saveWith(DocumentHandles& h, const DocumentSave& save, Transaction& tx) {
    h.user.first();
    h.user.edit();
    const int64_t n = h.user.asInteger("SZAMLASZ") + 1;
    h.user.setInteger("SZAMLASZ", n);
    h.user.post();
    const std::string number = documentNumber(n);
    h.head.append();
    h.head.setString("SZAMLASZAM", number);
    h.head.setString("NEV", "Vevő " + std::to_string(n % 7));
    h.head.setFloat("OSSZESEN", double(save.lines) * 100);
    h.head.post();
    for (int i = 0; i < save.lines; ++i) {
        const int product = int((n * 7 + i) % save.stockProducts) + 1;
        h.lines.append();
        h.lines.setString("SZAMLASZAM", number);
        h.lines.setInteger("ANYAGSZAM", product);
        h.lines.setFloat("MENNYISEG", save.quantity);
        h.lines.setString("MEGNEVEZES", "Termék " + std::to_string(product));
        h.lines.post();
        h.log.append();
        h.log.setString("CIKKSZAM", "CIKK-" + std::to_string(product));
        h.log.setFloat("MENNYISEG", -save.quantity);
        h.log.setString("TIPUS", "ELA");
        h.log.post();
        if (!h.products.findKey(std::to_string(product)))
            throw std::runtime_error("no product " + std::to_string(product));
        h.products.edit();  // the stock rule: the re-read quantity plus the movement
        h.products.setFloat("MENNYISEG", h.products.asFloat("MENNYISEG") - save.quantity);
        h.products.post();
    }
    tx.commit();
    return number;
}

}  // namespace

DocumentHandles::DocumentHandles(const std::string& folder, FileSystem& fs)
    : user(folder, "user.dbf", fs),
      head(folder, "Szamla.dbf", fs),
      lines(folder, "Szamla2.dbf", fs),
      log(folder, "tranzakcio.dbf", fs),
      products(folder, "Anyag.dbf", fs) {
    for (Table* t : {&user, &head, &lines, &log, &products}) t->open();
    products.setOrder("ANYAGKOD");
}

std::string saveDocument(const std::string& folder, FileSystem& fs, const DocumentSave& save) {
    Transaction tx(folder, fs);
    DocumentHandles handles(folder, fs);
    return saveWith(handles, save, tx);
}

std::string saveDocument(const std::string& folder, FileSystem& fs, DocumentHandles& handles,
                         const DocumentSave& save) {
    Transaction tx(folder, fs);
    return saveWith(handles, save, tx);
}

std::map<std::string, std::string> snapshot(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name == kFolderLockName || name.find(".damaged") != std::string::npos) continue;
        if (name == kJournalName && std::filesystem::file_size(entry.path()) == 0) continue;  // no journal
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        files[name] = ss.str();
    }
    return files;
}

void restore(const std::string& folder, const std::map<std::string, std::string>& files) {
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string() != kFolderLockName) std::filesystem::remove(entry.path());
    for (const auto& [name, bytes] : files) {
        std::ofstream out(folder + "/" + name, std::ios::binary | std::ios::trunc);
        out << bytes;
    }
}

bool sameData(const std::map<std::string, std::string>& a, const std::map<std::string, std::string>& b) {
    constexpr size_t kCounterOffset = 48, kCounterLength = 8;
    if (a.size() != b.size()) return false;
    for (auto x = a.begin(), y = b.begin(); x != a.end(); ++x, ++y) {
        if (x->first != y->first || x->second.size() != y->second.size()) return false;
        std::string extension = std::filesystem::path(x->first).extension().string();
        for (char& c : extension) c = char(std::tolower(static_cast<unsigned char>(c)));
        if (extension != ".mdx" || x->second.size() < kCounterOffset + kCounterLength) {
            if (x->second != y->second) return false;
            continue;
        }
        if (x->second.compare(0, kCounterOffset, y->second, 0, kCounterOffset) != 0 ||
            x->second.compare(kCounterOffset + kCounterLength, std::string::npos, y->second,
                              kCounterOffset + kCounterLength, std::string::npos) != 0)
            return false;
    }
    return true;
}

}  // namespace testing_support
