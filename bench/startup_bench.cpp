// Program start without the splash (nologo = 1) to the main window shown, on the demo folder
// and on a folder holding a million document lines (200 000 documents with their headers,
// lines and stock-log rows), measured by starting build/bin/kavina itself, offscreen. The main
// window shows for the first time when the overlay pictures it writes beside the program
// appear; the start is timed from the launch to that moment, and the program is then asked
// to end (it signs out). Starts alternate between the folders; the median of each counts.
//
//   startup_bench [--lines N] [--starts N]
//
// Exits with 1 when the goal is missed, 2 on an error.

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDate>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "BenchSupport.h"
#include "dbase/Table.h"
#include "foundation/Catalogue.h"
#include "foundation/NewDataFolder.h"

using namespace bench;
using kavina::TableId;

namespace {

namespace fs = std::filesystem;

// One user without a password: the start signs in without asking.
void addUser(const std::string& folder) {
    dbase::Table users(folder, "Jogok.dbf");
    users.open();
    users.append();
    users.setString("FELHASZNAL", "Rendszergazda");
    users.setString("JOGOK", "ABFMP13459TUVWGH");
    users.post();
}

std::string documentNumber(long n) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "SZA2024/%06ld", n);
    return buf;
}

// Appends rows to a table of the folder with its tags dropped first and built again after,
// as a reindex builds them.
template <typename Fill>
void fillTable(const std::string& folder, TableId id, long rows, Fill fill) {
    const kavina::TableDef& def = kavina::catalogue::table(id);
    const std::string mdx = folder + "/" + def.fileName.substr(0, def.fileName.rfind('.')) + ".mdx";
    fs::remove(mdx);
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

void buildLargeFolder(const std::string& folder, long lines) {
    kavina::createDataFolder(folder, {.demo = true, .today = QDate(2024, 5, 17)});
    addUser(folder);
    const long documents = lines / 5;
    fillTable(folder, TableId::Szamla, documents, [](dbase::Table& t, long i) {
        t.setString("SZAMLASZAM", documentNumber(i + 1));
        t.setString("SZAMLATIP", "S");
        t.setString("NEV", "Vevő " + std::to_string(i % 500) + " Kft.");
        t.setString("TELJESCIM", "Budapest, Kossuth utca " + std::to_string(i % 120 + 1) + ".");
        t.setDate("KIALLIT", dbase::Date{2024, 1 + int(i / 28 % 12), 1 + int(i % 28)});
        t.setDate("FIZHAT", dbase::Date{2024, 1 + int(i / 28 % 12), 1 + int(i % 28)});
        t.setFloat("FIZETENDO", 1270.0 * double(1 + i % 9));
    });
    fillTable(folder, TableId::Szamla2, documents * 5, [](dbase::Table& t, long i) {
        t.setString("SZAMLASZAM", documentNumber(i / 5 + 1));
        t.setFloat("ANYAGSZAM", double(i * 13 % 2000 + 1));
        t.setFloat("MENNYISEG", double(1 + i % 7));
        t.setString("MEGNEVEZES", "Termék " + std::to_string(i * 13 % 2000 + 1));
        t.setFloat("NETTOAR", 1000.0 * double(1 + i % 7));
    });
    fillTable(folder, TableId::Tranzakcio, documents * 5, [](dbase::Table& t, long i) {
        t.setString("cikkszam", "CIKK-" + std::to_string(i * 13 % 2000 + 1));
        t.setString("tipus", "Eladás");
        t.setString("bizonylat", documentNumber(i / 5 + 1));
        t.setFloat("mennyiseg", -double(1 + i % 7));
    });
}

// A workstation: a program folder with the program and an ini file pointing at the data
// folder, as of a workstation that ran before (its one-off data fixes done).
class Workstation {
public:
    Workstation(const std::string& program, const std::string& dataFolder) : m_folder("kavina-startbench-ws") {
        m_program = m_folder.path() + "/kavina";
        std::error_code ec;
        fs::create_hard_link(program, m_program, ec);
        if (ec) fs::copy_file(program, m_program);
        m_ini = "[adatok]\ndatabase='" + dataFolder + "/'\nkilepett=1\nnologo=1\npkod=1\nnszam=1\nrkod=1\n";
        fs::create_directories(m_folder.path() + "/run");
        fs::permissions(m_folder.path() + "/run", fs::perms::owner_all, fs::perm_options::replace);
    }

    // Milliseconds from the launch to the main window shown; negative when it did not show.
    double start() {
        std::ofstream(m_folder.path() + "/kavinaextra.ini") << m_ini;
        const std::string marker = m_folder.path() + "/storno.gif";
        fs::remove(marker);
        fs::remove(m_folder.path() + "/rontott.gif");
        const auto launched = Clock::now();
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
            ::setenv("XDG_RUNTIME_DIR", (m_folder.path() + "/run").c_str(), 1);
            const std::string transcript = m_folder.path() + "/transcript.txt";
            // Qt's complaints about the offscreen platform go to a file, not between the figures.
            if (FILE* log = std::freopen((m_folder.path() + "/output.txt").c_str(), "w", stderr)) (void)log;
            ::dup2(::fileno(stderr), STDOUT_FILENO);
            ::execl(m_program.c_str(), m_program.c_str(), "--transcript", transcript.c_str(), nullptr);
            ::_exit(127);
        }
        double shown = -1;
        struct stat st {};
        while (seconds(launched) < 120) {
            if (::stat(marker.c_str(), &st) == 0) {
                shown = milliseconds(launched);
                break;
            }
            int status = 0;
            if (::waitpid(pid, &status, WNOHANG) == pid) return -1;  // ended without a window
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
        ::kill(pid, SIGTERM);  // asked to end: it signs out
        int status = 0;
        ::waitpid(pid, &status, 0);
        return shown;
    }

private:
    TempFolder m_folder;
    std::string m_program;
    std::string m_ini;
};

}  // namespace

int main(int argc, char** argv) {
    try {
        long lines = 1'000'000;
        int starts = 7;
        for (int i = 1; i + 1 < argc; i += 2) {
            if (std::string(argv[i]) == "--lines") lines = std::atol(argv[i + 1]);
            if (std::string(argv[i]) == "--starts") starts = std::atoi(argv[i + 1]);
        }
        const std::string program = fs::read_symlink("/proc/self/exe").parent_path().string() + "/kavina";
        if (!fs::exists(program)) throw std::runtime_error(program + " is not built");
        TempFolder demo("kavina-startbench-demo"), large("kavina-startbench-large");
        std::printf("Program start with nologo = 1 to the main window shown (%s, offscreen)\n", program.c_str());
        auto t0 = Clock::now();
        kavina::createDataFolder(demo.path(), {.demo = true, .today = QDate(2024, 5, 17)});
        addUser(demo.path());
        buildLargeFolder(large.path(), lines);
        std::printf("  folders built in %.1f s: the demo, and one of %ld document lines\n", seconds(t0), lines);
        std::fflush(stdout);

        Workstation onDemo(program, demo.path()), onLarge(program, large.path());
        onDemo.start();  // unmeasured: both meet warm caches
        onLarge.start();
        std::vector<double> demoMs, largeMs;
        for (int i = 0; i < starts; ++i) {
            const double d = onDemo.start(), l = onLarge.start();
            if (d < 0 || l < 0) throw std::runtime_error("the program ended without showing its main window");
            demoMs.push_back(d);
            largeMs.push_back(l);
        }
        const double demoMedian = median(demoMs), largeMedian = median(largeMs);
        std::printf("  demo folder:          median %7.1f ms of %d starts\n", demoMedian, starts);
        std::printf("  %7ld-line folder:   median %7.1f ms of %d starts\n", lines, largeMedian, starts);
        const bool pass = printGoals(
            "Goals", {{"start on " + std::to_string(lines) + " document lines within 1.5x of the demo folder's (" +
                           format("%.1f ms", largeMedian) + "; demo " + format("%.1f ms", demoMedian) + ", " +
                           format("%.2fx", largeMedian / demoMedian) + ")",
                       largeMedian <= 1.5 * demoMedian}});
        return pass ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "startup_bench: %s\n", e.what());
        return 2;
    }
}
