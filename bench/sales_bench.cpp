// A whole 20-line invoice stored through the program's own save (number, header, lines, stock
// log, paid flag, stock), on a data folder holding a year of documents: 50 000 headers,
// 500 000 lines and as many stock-log rows, 5 000 products. Synced as the program commits,
// and unsynced; beside it SQLite doing the same writes (counter, header, lines, log rows,
// stock) on the same tables and indexes, rollback journal, synchronous=FULL, one transaction
// per document.
//
//   sales_bench [--headers N] [--saves N] [--rounds N]
//
// Exits with 1 when a goal is missed, 2 on an error.

#include <QCoreApplication>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "dbase/Table.h"
#include "documents/sales/SalesSave.h"
#include "foundation/Catalogue.h"
#include "foundation/CatalogueFields.h"
#include "foundation/NewDataFolder.h"
#include "foundation/TDataModule1.h"

using namespace bench;
using namespace kavina;

namespace {

namespace H = fields::Szamla;
namespace L = fields::Szamla2;
namespace T = fields::Tranzakcio;
namespace A = fields::Anyag;
namespace U = fields::User;

constexpr int kLinesPerDocument = 10;
constexpr int kSaveLines = 20;
constexpr int kProducts = 5000;

int field(dbase::Table& t, const Field& f) {
    return t.fieldNumber(f.name);
}

// A year of a busy shop, written in bulk.
void makeFolder(const std::string& folder, int headers) {
    createDataFolder(folder);
    dbase::Table user(folder, "user.dbf"), anyag(folder, "Anyag.dbf"), h(folder, "Szamla.dbf"),
        l(folder, "Szamla2.dbf"), log(folder, "tranzakcio.dbf");
    for (dbase::Table* t : {&user, &anyag, &h, &l, &log}) t->open();
    user.append();
    user.setString(field(user, U::SELO), "SZA");
    user.setInteger(field(user, U::SZAMLASZ), headers + 1);
    user.setInteger(field(user, U::PRNSZAMLA), 0);
    user.post();
    for (dbase::Table* t : {&anyag, &h, &l, &log}) t->beginBulkAppend();
    for (int p = 1; p <= kProducts; ++p) {
        anyag.append();
        anyag.setFloat(field(anyag, A::ANYAGKOD), p);
        anyag.setString(field(anyag, A::MEGNEVEZES), "Termék " + std::to_string(p));
        anyag.setFloat(field(anyag, A::MENNYISEG), 1e6);
        anyag.setFloat(field(anyag, A::AFAKULCS), 27);
        anyag.post();
    }
    std::mt19937 random(20080315);
    for (int i = 0; i < headers; ++i) {
        char number[32], issued[32];
        std::snprintf(number, sizeof number, "SZA2008/%05d", i + 1);
        std::snprintf(issued, sizeof issued, "2008.%02d.%02d", 1 + (i * 12) / headers, 1 + int(random() % 28));
        for (int k = 0; k < kLinesPerDocument; ++k) {
            const int product = 1 + int(random() % kProducts);
            const std::string name = "Termék " + std::to_string(product);
            l.append();
            l.setString(field(l, L::SZAMLASZAM), number);
            l.setFloat(field(l, L::ANYAGSZAM), product);
            l.setString(field(l, L::MEGNEVEZES), name);
            l.setFloat(field(l, L::MENNYISEG), 1);
            l.setFloat(field(l, L::EGYSEGAR), 1000);
            l.post();
            log.append();
            log.setString(field(log, T::bizonylat), number);
            log.setString(field(log, T::cikkszam), "C-" + std::to_string(product));
            log.setString(field(log, T::tetel), name);
            log.setFloat(field(log, T::mennyiseg), 1);
            log.setString(field(log, T::tipus), "ELS");
            log.post();
        }
        h.append();
        h.setString(field(h, H::SZAMLASZAM), number);
        h.setString(field(h, H::SZAMLATIP), "B");
        h.setString(field(h, H::NEV), "Mérleg Kft.");
        h.setString(field(h, H::FIZMOD), "Átutalás");
        h.setString(field(h, H::KIALLIT), issued);
        h.post();
    }
    for (dbase::Table* t : {&anyag, &h, &l, &log}) t->endBulkAppend();
}

void fillInvoice(MemoryDocument& doc, std::mt19937& random) {
    doc.emptyAll();
    doc.mszamla.append();
    doc.mszamla.setString(H::NEV, QStringLiteral("Mérleg Kft."));
    doc.mszamla.setString(H::FIZMOD, QStringLiteral("Készpénz"));
    doc.mszamla.setDate(H::KIALLIT, QDate(2008, 12, 30));
    doc.mszamla.setDate(H::FIZHAT, QDate(2008, 12, 30));
    doc.mszamla.post();
    for (int i = 0; i < kSaveLines; ++i) {
        const int product = 1 + int(random() % kProducts);
        doc.mszamla2.append();
        doc.mszamla2.setFloat(L::ANYAGSZAM, product);
        doc.mszamla2.setString(L::MEGNEVEZES, QStringLiteral("Termék %1").arg(product));
        doc.mszamla2.setFloat(L::MENNYISEG, 1 + i % 3);
        doc.mszamla2.setFloat(L::EGYSEGAR, 1000);
        doc.mszamla2.setFloat(L::AFA, 27);
        doc.mszamla2.post();
    }
}

struct Saves {
    double median = 0;
    double p99 = 0;
};

Saves timeSaves(const std::string& folder, bool sync, int saves) {
    TDataModule1 data;
    data.open(folder);
    IniFile ini(QString::fromStdString(folder + "/bench.ini"));
    IniSettings settings;
    documents::SalesSaveContext context{data, ini, settings, QStringLiteral("Kovács Anna")};
    context.commit.sync = sync;
    documents::SalesStore store(context);
    MemoryDocument doc;
    std::mt19937 random(sync ? 1 : 2);
    std::vector<double> ms;
    for (int i = 0; i < saves + 20; ++i) {
        fillInvoice(doc, random);
        const auto start = Clock::now();
        store.store(doc, SalesMode::Invoice, {});
        if (i >= 20) ms.push_back(milliseconds(start));  // the first ones open the tables
    }
    return {median(ms), percentile(ms, 0.99)};
}

// ---- the peer: SQLite with the same tables, indexes and writes ---------------------------------

std::string columns(const TableDef& def) {
    std::string out;
    for (const dbase::FieldDef& f : def.fields) out += (out.empty() ? "\"" : ", \"") + f.name + "\"";
    return out;
}

void sqliteTable(Sqlite& db, TableId id) {
    const TableDef& def = catalogue::table(id);
    std::string name = def.fileName.substr(0, def.fileName.find('.'));
    db.exec("CREATE TABLE \"" + name + "\" (" + columns(def) + ")");
    for (const TagDef& tag : def.tags)
        db.exec("CREATE INDEX \"" + name + "_" + tag.name + "\" ON \"" + name + "\" (\"" + tag.field + "\")");
}

std::string insertSql(TableId id, const std::vector<std::string>& names) {
    const TableDef& def = catalogue::table(id);
    std::string cols, marks;
    for (const std::string& n : names) {
        cols += (cols.empty() ? "\"" : ", \"") + n + "\"";
        marks += marks.empty() ? "?" : ", ?";
    }
    return "INSERT INTO \"" + def.fileName.substr(0, def.fileName.find('.')) + "\" (" + cols + ") VALUES (" + marks +
           ")";
}

// The peer's saves, in rounds over one database.
std::vector<Saves> timeSqlite(const std::string& path, int headers, int saves, int rounds) {
    Sqlite db(path);
    for (TableId id : {TableId::User, TableId::Anyag, TableId::Szamla, TableId::Szamla2, TableId::Tranzakcio})
        sqliteTable(db, id);
    db.exec("INSERT INTO \"user\" (\"SZAMLASZ\") VALUES (" + std::to_string(headers + 1) + ")");
    sqlite3_stmt* product = db.prepare(insertSql(TableId::Anyag, {"ANYAGKOD", "MEGNEVEZES", "MENNYISEG"}));
    sqlite3_stmt* header = db.prepare(insertSql(TableId::Szamla, {"SZAMLASZAM", "SZAMLATIP", "NEV", "FIZMOD"}));
    sqlite3_stmt* line =
        db.prepare(insertSql(TableId::Szamla2, {"SZAMLASZAM", "ANYAGSZAM", "MEGNEVEZES", "MENNYISEG"}));
    sqlite3_stmt* logRow = db.prepare(insertSql(TableId::Tranzakcio, {"bizonylat", "cikkszam", "tetel", "mennyiseg"}));
    std::mt19937 random(20080315);
    db.exec("BEGIN");
    for (int p = 1; p <= kProducts; ++p) {
        sqlite3_bind_int(product, 1, p);
        const std::string name = "Termék " + std::to_string(p);
        sqlite3_bind_text(product, 2, name.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(product, 3, 1e6);
        db.run(product);
    }
    const auto writeDocument = [&](const std::string& number, int lines) {
        sqlite3_bind_text(header, 1, number.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(header, 2, "B", -1, SQLITE_STATIC);
        sqlite3_bind_text(header, 3, "Mérleg Kft.", -1, SQLITE_STATIC);
        sqlite3_bind_text(header, 4, "Készpénz", -1, SQLITE_STATIC);
        db.run(header);
        for (int k = 0; k < lines; ++k) {
            const int p = 1 + int(random() % kProducts);
            const std::string name = "Termék " + std::to_string(p);
            sqlite3_bind_text(line, 1, number.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(line, 2, p);
            sqlite3_bind_text(line, 3, name.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_double(line, 4, 1);
            db.run(line);
            sqlite3_bind_text(logRow, 1, number.c_str(), -1, SQLITE_TRANSIENT);
            const std::string code = "C-" + std::to_string(p);
            sqlite3_bind_text(logRow, 2, code.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(logRow, 3, name.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_double(logRow, 4, 1);
            db.run(logRow);
        }
    };
    for (int i = 0; i < headers; ++i) writeDocument("SZA2008/" + std::to_string(100000 + i), kLinesPerDocument);
    db.exec("COMMIT");
    db.exec("PRAGMA synchronous=FULL");
    sqlite3_stmt* readCounter = db.prepare("SELECT \"SZAMLASZ\" FROM \"user\"");
    sqlite3_stmt* raiseCounter = db.prepare("UPDATE \"user\" SET \"SZAMLASZ\" = \"SZAMLASZ\" + 1");
    sqlite3_stmt* lowerStock =
        db.prepare("UPDATE \"Anyag\" SET \"MENNYISEG\" = \"MENNYISEG\" - ? WHERE \"ANYAGKOD\" = ?");
    std::vector<Saves> out;
    for (int round = 0; round < rounds; ++round) {
        std::vector<double> ms;
        for (int i = 0; i < saves; ++i) {
            const auto start = Clock::now();
            db.exec("BEGIN");
            sqlite3_step(readCounter);
            const long n = long(sqlite3_column_int64(readCounter, 0));
            sqlite3_reset(readCounter);
            db.run(raiseCounter);
            writeDocument("SZA2008/" + std::to_string(n), kSaveLines);
            for (int k = 0; k < kSaveLines; ++k) {
                sqlite3_bind_double(lowerStock, 1, 1 + k % 3);
                sqlite3_bind_int(lowerStock, 2, 1 + int(random() % kProducts));
                db.run(lowerStock);
            }
            db.exec("COMMIT");
            ms.push_back(milliseconds(start));
        }
        out.push_back({median(ms), percentile(ms, 0.99)});
    }
    return out;
}

// The median of the rounds' medians and of their 99th percentiles: the disk's latency drifts
// from round to round.
Saves overRounds(const std::vector<Saves>& rounds) {
    std::vector<double> medians, p99s;
    for (const Saves& r : rounds) {
        medians.push_back(r.median);
        p99s.push_back(r.p99);
    }
    return {median(medians), median(p99s)};
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int headers = 50000, saves = 200, rounds = 3;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i];
        if (a == "--headers") headers = std::atoi(argv[i + 1]);
        if (a == "--saves") saves = std::atoi(argv[i + 1]);
        if (a == "--rounds") rounds = std::max(1, std::atoi(argv[i + 1]));
    }
    try {
        TempFolder dir("sales-bench");
        const std::string folder = dir.path() + "/data";
        std::printf("Storing a 20-line invoice through the program's save, %d headers, %d lines\n", headers,
                    headers * kLinesPerDocument);
        makeFolder(folder, headers);
        std::vector<Saves> syncedRounds, unsyncedRounds;
        for (int round = 0; round < rounds; ++round) {
            syncedRounds.push_back(timeSaves(folder, true, saves));
            unsyncedRounds.push_back(timeSaves(folder, false, saves));
        }
        const Saves synced = overRounds(syncedRounds), unsynced = overRounds(unsyncedRounds);
        const Saves peer = overRounds(timeSqlite(dir.path() + "/peer.db", headers, saves, rounds));
        std::printf("  (medians of %d rounds of %d saves)\n", rounds, saves);
        std::printf("  synced:   median %.3f ms, p99 %.3f ms\n", synced.median, synced.p99);
        std::printf("  unsynced: median %.3f ms, p99 %.3f ms\n", unsynced.median, unsynced.p99);
        std::printf("  SQLite rollback journal, FULL: median %.3f ms, p99 %.3f ms\n", peer.median, peer.p99);
        const bool pass =
            printGoals("Goals", {{"synced invoice save median <= 5 ms (" + format("%.3f ms", synced.median) +
                                      "; SQLite " + format("%.3f ms", peer.median) + ")",
                                  synced.median <= 5},
                                 {"unsynced invoice save median <= 2 ms (" + format("%.3f ms", unsynced.median) + ")",
                                  unsynced.median <= 2}});
        return pass ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "sales_bench: %s\n", e.what());
        return 2;
    }
}
