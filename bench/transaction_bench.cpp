// The save of one document as one transaction, into a document-lines table of a million
// records: the counter record edited, a header appended, 20 lines and 20 stock-log rows
// appended, 20 products' stock lowered, every tag kept. Times 1 000 saves synced and
// unsynced, and counts the file-system calls and syncs of one save (each a round trip on a
// network share).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "dbase/Table.h"
#include "dbase/Transaction.h"

using namespace dbase;
using Clock = std::chrono::steady_clock;

namespace {

// Counts what the engine asks of the file system.
class CountingFileSystem final : public FileSystem {
public:
    long calls = 0, syncs = 0;

    class CountingFile final : public File {
    public:
        CountingFile(CountingFileSystem& fs, std::unique_ptr<File> real) : m_fs(fs), m_real(std::move(real)) {}
        size_t read(uint64_t o, void* b, size_t n) override { return ++m_fs.calls, m_real->read(o, b, n); }
        void write(uint64_t o, const void* d, size_t n) override { ++m_fs.calls, m_real->write(o, d, n); }
        uint64_t size() override { return ++m_fs.calls, m_real->size(); }
        void truncate(uint64_t n) override { ++m_fs.calls, m_real->truncate(n); }
        void sync() override { ++m_fs.calls, ++m_fs.syncs, m_real->sync(); }
        bool tryLock(uint64_t o, uint64_t l, LockKind k) override { return ++m_fs.calls, m_real->tryLock(o, l, k); }
        void unlock(uint64_t o, uint64_t l) override { ++m_fs.calls, m_real->unlock(o, l); }
        const std::string& path() const override { return m_real->path(); }
        File& real() { return *m_real; }

    private:
        CountingFileSystem& m_fs;
        std::unique_ptr<File> m_real;
    };

    std::unique_ptr<File> open(const std::string& p, OpenMode m) override {
        ++calls;
        return std::make_unique<CountingFile>(*this, real().open(p, m));
    }
    bool exists(const std::string& p) override { return ++calls, real().exists(p); }
    std::optional<uint64_t> fileSize(const std::string& p) override { return ++calls, real().fileSize(p); }
    void remove(const std::string& p) override { ++calls, real().remove(p); }
    void rename(const std::string& s, const std::string& t) override { ++calls, real().rename(s, t); }
    void syncDirectory(const std::string& f) override { ++calls, ++syncs, real().syncDirectory(f); }
    void syncFiles(const std::vector<File*>& files) override {
        ++calls;
        ++syncs;
        std::vector<File*> inner;
        for (File* f : files) inner.push_back(&static_cast<CountingFile*>(f)->real());
        real().syncFiles(inner);
    }

private:
    static FileSystem& real() { return FileSystem::real(); }
};

std::vector<FieldDef> lineFields() {
    std::vector<FieldDef> f = {{"SZAMLASZAM", FieldType::Character, 16},
                               {"ANYAGSZAM", FieldType::Float},
                               {"MENNYISEG", FieldType::Float},
                               {"EGYSEG", FieldType::Character, 10}};
    for (const char* n : {"AR1", "AR2", "AR3", "ARE", "EGYSEGAR"}) f.push_back({n, FieldType::Float});
    f.push_back({"ITJSZAM", FieldType::Character, 15});
    f.push_back({"MEGNEVEZES", FieldType::Character, 100});
    for (const char* n : {"NETTOAR", "AFA", "AFAFT", "OSSZESEN"}) f.push_back({n, FieldType::Float});
    f.push_back({"ARCSOPORT", FieldType::Short});
    f.push_back({"TERMEK", FieldType::Logical});
    f.push_back({"MEGJEGYZES", FieldType::Character, 100});
    for (const char* n : {"bar1", "bar2", "bar3", "bfixar", "begysegar", "bruttoar"})
        f.push_back({n, FieldType::Float});
    f.push_back({"cikkszam", FieldType::Character, 30});
    f.push_back({"nbesz", FieldType::Float});
    f.push_back({"haszon", FieldType::Float});
    return f;
}

std::string number(long n) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "2024/%06ld", n);
    return buf;
}

void build(const std::string& dir, long lines, int products) {
    Table::create(dir, "user.dbf", {{"SZAMLASZ", FieldType::Integer}});
    Table::create(
        dir, "Szamla.dbf",
        {{"SZAMLASZAM", FieldType::Character, 16}, {"NEV", FieldType::Character, 40}, {"OSSZESEN", FieldType::Float}});
    Table::create(dir, "Szamla2.dbf", lineFields());
    Table::create(
        dir, "tranzakcio.dbf",
        {{"CIKKSZAM", FieldType::Character, 30}, {"MENNYISEG", FieldType::Float}, {"TIPUS", FieldType::Character, 3}});
    Table::create(dir, "Anyag.dbf",
                  {{"ANYAGKOD", FieldType::Float},
                   {"CIKKSZAM", FieldType::Character, 30},
                   {"MEGNEVEZES", FieldType::Character, 60},
                   {"MENNYISEG", FieldType::Float}});
    const long documents = lines / 3;
    {
        Table t(dir, "user.dbf");
        t.open();
        t.append();
        t.setInteger("SZAMLASZ", documents);
        t.post();
    }
    Table head(dir, "Szamla.dbf"), line(dir, "Szamla2.dbf"), log(dir, "tranzakcio.dbf"), anyag(dir, "Anyag.dbf");
    for (Table* t : {&head, &line, &log, &anyag}) t->open({.exclusive = true});
    for (Table* t : {&head, &line, &log, &anyag}) t->beginBulkAppend();
    for (long d = 1; d <= documents; ++d) {
        head.append();
        head.setString(0, number(d));
        head.setString(1, "Vevő " + std::to_string(d % 500));
        head.post();
    }
    for (long i = 0; i < lines; ++i) {
        line.append();
        line.setString(0, number(i / 3 + 1));
        line.setInteger(1, i % products + 1);
        line.setFloat(2, 1);
        line.setString(10, "Termék " + std::to_string(i % products + 1));
        line.post();
        if (i % 10 == 0) {
            log.append();
            log.setString(0, "CIKK-" + std::to_string(i % products + 1));
            log.setFloat(1, -1);
            log.post();
        }
    }
    for (int k = 1; k <= products; ++k) {
        anyag.append();
        anyag.setInteger(0, k);
        anyag.setString(1, "CIKK-" + std::to_string(k));
        anyag.setString(2, "Termék " + std::to_string(k));
        anyag.setFloat(3, 1e9);
        anyag.post();
    }
    for (Table* t : {&head, &line, &log, &anyag}) t->endBulkAppend();
    head.addIndex("SZAMLASZAM", "SZAMLASZAM");
    head.addIndex("NEV", "NEV");
    line.addIndex("ANYAGSZAM", "ANYAGSZAM");
    line.addIndex("SZAMLASZAM", "SZAMLASZAM");
    log.addIndex("CIKKSZAM", "CIKKSZAM");
    anyag.addIndex("ANYAGKOD", "ANYAGKOD");
    anyag.addIndex("CIKKSZAM", "CIKKSZAM");
    anyag.addIndex("MEGNEVEZES", "MEGNEVEZES");
}

struct Handles {
    Table user, head, line, log, anyag;
    Handles(const std::string& dir, FileSystem& fs)
        : user(dir, "user.dbf", fs),
          head(dir, "Szamla.dbf", fs),
          line(dir, "Szamla2.dbf", fs),
          log(dir, "tranzakcio.dbf", fs),
          anyag(dir, "Anyag.dbf", fs) {
        for (Table* t : {&user, &head, &line, &log, &anyag}) t->open();
        head.setOrder("SZAMLASZAM");
        line.setOrder("SZAMLASZAM");
        anyag.setOrder("ANYAGKOD");
    }
};

void save(const std::string& dir, FileSystem& fs, Handles& h, bool sync, int products) {
    Transaction tx(dir, fs, {.sync = sync});
    h.user.first();
    h.user.edit();
    const long n = long(h.user.asInteger(0)) + 1;
    h.user.setInteger(0, n);
    h.user.post();
    h.head.append();
    h.head.setString(0, number(n));
    h.head.setString(1, "Vevő");
    h.head.post();
    for (int i = 0; i < 20; ++i) {
        const int product = int((n * 7 + i) % products) + 1;
        h.line.append();
        h.line.setString(0, number(n));
        h.line.setInteger(1, product);
        h.line.setFloat(2, 1);
        h.line.setString(10, "Termék " + std::to_string(product));
        h.line.post();
        h.log.append();
        h.log.setString(0, "CIKK-" + std::to_string(product));
        h.log.setFloat(1, -1);
        h.log.setString(2, "ELA");
        h.log.post();
        if (!h.anyag.findKey(std::to_string(product))) throw std::runtime_error("product missing");
        h.anyag.edit();
        h.anyag.setFloat(3, h.anyag.asFloat(3) - 1);
        h.anyag.post();
    }
    tx.commit();
}

struct Stats {
    double median, p99, worst;
};

Stats measure(const std::string& dir, FileSystem& fs, Handles& h, bool sync, int runs, int products) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        save(dir, fs, h, sync, products);
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms[size_t(double(ms.size()) * 0.99)], ms.back()};
}

}  // namespace

int main(int argc, char** argv) {
    long lines = 1'000'000;
    int runs = 1000;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::string(argv[i]) == "--rows") lines = std::atol(argv[i + 1]);
        if (std::string(argv[i]) == "--runs") runs = std::atoi(argv[i + 1]);
    }
    const int products = 2000;
    char pattern[] = "/tmp/kavina-txbench-XXXXXX";
    const std::string dir = mkdtemp(pattern);
    std::printf("Document save as one transaction: 20 lines into a lines table of %ld records, %d saves each\n", lines,
                runs);
    const auto t0 = Clock::now();
    build(dir, lines, products);
    std::printf("  folder built in %.1f s\n", std::chrono::duration<double>(Clock::now() - t0).count());

    CountingFileSystem fs;
    Handles h(dir, fs);
    save(dir, fs, h, true, products);  // warm up
    const long calls0 = fs.calls, syncs0 = fs.syncs;
    save(dir, fs, h, true, products);
    const long callsPerSave = fs.calls - calls0, syncsPerSave = fs.syncs - syncs0;
    const Stats unsynced = measure(dir, fs, h, false, runs, products);
    const Stats synced = measure(dir, fs, h, true, runs, products);
    std::printf("  unsynced   median %.3f ms   p99 %.3f ms   worst %.3f ms\n", unsynced.median, unsynced.p99,
                unsynced.worst);
    std::printf("  synced     median %.3f ms   p99 %.3f ms   worst %.3f ms\n", synced.median, synced.p99, synced.worst);
    std::printf("  per save   %ld file-system calls, %ld syncs\n", callsPerSave, syncsPerSave);
    std::printf(
        "  for orientation, SQLite on this machine: 3.6 ms (rollback journal, synced), 1.0 ms (WAL, synced), "
        "0.4-0.9 ms unsynced, 120-190 calls\n");

    bool ok = true;
    auto goal = [&](bool pass, const std::string& text) {
        std::printf("  %s  %s\n", pass ? "PASS" : "FAIL", text.c_str());
        ok = ok && pass;
    };
    std::printf("Goals\n");
    goal(unsynced.median <= 0.5, "unsynced median <= 0.5 ms");
    goal(unsynced.p99 <= 2, "unsynced p99 <= 2 ms");
    goal(synced.median <= 2.5, "synced median <= 2.5 ms");
    goal(synced.p99 <= 10, "synced p99 <= 10 ms");
    goal(syncsPerSave <= 6, "at most 6 syncs per save");
    goal(callsPerSave <= 150, "at most 150 file-system calls per save");
    Table check(dir, "Szamla2.dbf");
    check.open({.readOnly = true});
    if (!check.checkIndexes().empty()) {
        std::printf("  FAIL  the tags of Szamla2.dbf are not consistent after the saves\n");
        ok = false;
    }
    std::filesystem::remove_all(dir);
    return ok ? 0 : 1;
}
