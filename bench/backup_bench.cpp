// The backup and the restore of a year's data folder (50 000 documents, 500 000 lines and as
// many stock log rows, about 400 MB with their indexes) against zip -1 -r and unzip on the
// same folder in the same run. Each side runs in a child process, three rounds alternating,
// and the medians are compared; the children's peak memory shows that neither grows with
// the folder. KAVINA_BENCH_LINES sets the number of lines.
// Exits with 1 when a goal is missed, 2 on an error.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDate>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "BenchSupport.h"
#include "archive/ZipArchive.h"
#include "dbase/Table.h"
#include "dbase/Transaction.h"
#include "foundation/Catalogue.h"
#include "foundation/NewDataFolder.h"
#include "maintenance/backup/RestoreSwap.h"

namespace fs = std::filesystem;
using kavina::TableId;

namespace {

std::string documentNumber(long n) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "SZA2024/%06ld", n);
    return buf;
}

template <typename Fill>
void fillTable(const std::string& folder, TableId id, long rows, Fill fill) {
    const kavina::TableDef& def = kavina::catalogue::table(id);
    fs::remove(folder + "/" + def.fileName.substr(0, def.fileName.rfind('.')) + ".mdx");
    dbase::Table::clearIndexFlag(dbase::resolvePath(folder, def.fileName));
    dbase::Table t(folder, def.fileName);
    t.open({.exclusive = true});
    t.beginBulkAppend();
    for (long i = 0; i < rows; ++i) {
        t.append();
        fill(t, i);
        t.post();
    }
    t.endBulkAppend();
    for (const kavina::TagDef& tag : def.tags) t.addIndex(tag.name, tag.field, tag.descending);
}

void buildYearFolder(const std::string& folder, long lines) {
    kavina::createDataFolder(folder, {.demo = true, .today = QDate(2024, 5, 17)});
    const long documents = lines / 10;
    fillTable(folder, TableId::Szamla, documents, [](dbase::Table& t, long i) {
        t.setString("SZAMLASZAM", documentNumber(i + 1));
        t.setString("SZAMLATIP", "S");
        t.setString("NEV", "Vevő " + std::to_string(i % 500) + " Kft.");
        t.setString("TELJESCIM", "Budapest, Kossuth utca " + std::to_string(i % 120 + 1) + ".");
        t.setDate("KIALLIT", dbase::Date{2024, 1 + int(i / 28 % 12), 1 + int(i % 28)});
        t.setFloat("FIZETENDO", 1270.0 * double(1 + i % 9));
    });
    fillTable(folder, TableId::Szamla2, lines, [](dbase::Table& t, long i) {
        t.setString("SZAMLASZAM", documentNumber(i / 10 + 1));
        t.setFloat("ANYAGSZAM", double(i * 13 % 2000 + 1));
        t.setFloat("MENNYISEG", double(1 + i % 7));
        t.setString("MEGNEVEZES", "Termék " + std::to_string(i * 13 % 2000 + 1));
        t.setFloat("NETTOAR", 1000.0 * double(1 + i % 7) + double(i % 97) / 4);
    });
    fillTable(folder, TableId::Tranzakcio, lines, [](dbase::Table& t, long i) {
        t.setString("cikkszam", "CIKK-" + std::to_string(i * 13 % 2000 + 1));
        t.setString("tipus", "Eladás");
        t.setString("bizonylat", documentNumber(i / 10 + 1));
        t.setFloat("mennyiseg", -double(1 + i % 7));
    });
}

uint64_t folderBytes(const std::string& folder) {
    uint64_t bytes = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file()) bytes += entry.file_size();
    return bytes;
}

struct Run {
    double seconds = 0;
    long peakKb = 0;
};

// Runs the work in a child process: its time and its peak resident memory.
Run inChild(const std::function<int()>& work) {
    std::fflush(nullptr);
    const auto start = bench::Clock::now();
    const pid_t child = fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) {
        int status = 2;
        try {
            status = work();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s\n", e.what());
        }
        std::fflush(nullptr);
        _exit(status);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error("a measured run failed");
    return {bench::seconds(start), usage.ru_maxrss};
}

int shell(const std::string& command) {
    return std::system(command.c_str()) == 0 ? 0 : 1;
}

}  // namespace

int main() {
    try {
        const char* linesText = std::getenv("KAVINA_BENCH_LINES");
        const long lines = linesText ? std::atol(linesText) : 500000;
        bench::TempFolder work("kavina-backupbench");
        const std::string data = work.path() + "/adatok";
        std::printf("Building a year's folder (%ld lines)...\n", lines);
        std::fflush(stdout);
        buildYearFolder(data, lines);
        const double megabytes = double(folderBytes(data)) / 1e6;
        std::printf("Folder: %.0f MB\n", megabytes);

        std::vector<archive::ArchiveInput> inputs;
        for (const auto& entry : fs::directory_iterator(data))
            if (entry.is_regular_file() && entry.path().filename() != dbase::kFolderLockName)
                inputs.push_back({entry.path().string(), entry.path().filename().string()});
        const std::string ours = work.path() + "/mentes.kvb";
        const std::string theirs = work.path() + "/zip.zip";
        const std::string restoreTarget = work.path() + "/vissza";
        const std::string unzipTarget = work.path() + "/unzip";
        fs::create_directories(restoreTarget);

        std::vector<double> backup, zip, restore, unzip;
        long backupPeak = 0, restorePeak = 0;
        for (int round = 0; round < 3; ++round) {
            fs::remove(theirs);
            zip.push_back(
                inChild([&] { return shell("cd '" + data + "' && zip -q -1 -r '" + theirs + "' ."); }).seconds);
            const Run b = inChild([&] {
                archive::writeArchive(ours, inputs);
                return 0;
            });
            backup.push_back(b.seconds);
            backupPeak = std::max(backupPeak, b.peakKb);
            fs::remove_all(unzipTarget);
            unzip.push_back(
                inChild([&] { return shell("unzip -q -o '" + theirs + "' -d '" + unzipTarget + "'"); }).seconds);
            const Run r = inChild([&] {
                kavina::maintenance::restoreArchive(restoreTarget, ours);
                return 0;
            });
            restore.push_back(r.seconds);
            restorePeak = std::max(restorePeak, r.peakKb);
        }
        const double backupRate = megabytes / bench::median(backup);
        const double zipRate = megabytes / bench::median(zip);
        const double restoreRate = megabytes / bench::median(restore);
        const double unzipRate = megabytes / bench::median(unzip);
        std::printf("backup  %.0f MB/s (median %.2f s; written, read back, CRC-checked and synced)\n", backupRate,
                    bench::median(backup));
        std::printf("zip -1  %.0f MB/s (median %.2f s)\n", zipRate, bench::median(zip));
        std::printf("restore %.0f MB/s (median %.2f s; staged, checked, synced and swapped)\n", restoreRate,
                    bench::median(restore));
        std::printf("unzip   %.0f MB/s (median %.2f s)\n", unzipRate, bench::median(unzip));
        std::printf("archive %.0f MB, zip %.0f MB\n", double(fs::file_size(ours)) / 1e6,
                    double(fs::file_size(theirs)) / 1e6);
        const bool pass = bench::printGoals(
            "Goals", {{"backup >= 80 % of zip -1 -r (" + bench::format("%.0f %%", 100 * backupRate / zipRate) + ")",
                       backupRate >= 0.8 * zipRate},
                      {"restore >= 80 % of unzip (" + bench::format("%.0f %%", 100 * restoreRate / unzipRate) + ")",
                       restoreRate >= 0.8 * unzipRate},
                      {"backup peak memory <= 64 MB for the whole folder (" +
                           bench::format("%.1f MB", double(backupPeak) / 1024) + ")",
                       backupPeak <= 64 * 1024},
                      {"restore peak memory <= 64 MB for the whole folder (" +
                           bench::format("%.1f MB", double(restorePeak) / 1024) + ")",
                       restorePeak <= 64 * 1024}});
        return pass ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "backup_bench: %s\n", e.what());
        return 2;
    }
}
