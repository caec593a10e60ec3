// The document register over a year of documents (50 000 headers, 500 000 lines): opening
// the window on the invoices of the year (filter, list, line panel, painted), each letter of
// the search by number and, after a title click, by name. Runs offscreen on a data folder made
// for the run; every figure is the median of several runs, printed with its goal.
//
//   register_bench [--headers N]
//
// Exits with 1 when a goal is missed, 2 on an error.
#include <unistd.h>

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "dbase/Table.h"
#include "foundation/Catalogue.h"
#include "foundation/CatalogueFields.h"
#include "foundation/FieldFilter.h"
#include "foundation/NewDataFolder.h"
#include "foundation/TDataModule1.h"
#include "invoicing/register/forms/TSzamlak.h"

using namespace kavina;
using namespace kavina::invoicing;
using Clock = std::chrono::steady_clock;

namespace {

namespace H = fields::Szamla;
namespace L = fields::Szamla2;

constexpr int kLinesPerDocument = 10;

double ms(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

const char* const kNames[] = {"Példa Kereskedelmi Kft.", "Bükki Vasáru Bt.",   "Őrség Tüzép Kft.",
                              "Zöldség-Gyümölcs Zrt.",   "Árpád és Társa Bt.", "Kovács Építő Kft.",
                              "Tisza Szerviz Kft.",      "Mátra Fa Kft.",      "Duna Gépház Bt.",
                              "Alföldi Agrár Zrt.",      "Szeged Print Kft.",  "Ékszer Műhely Bt."};
const char* const kStreets[] = {"Fő utca 1.", "Kossuth tér 4.", "Petőfi út 12.", "Rákóczi u. 7."};
const char* const kItems[] = {
    "Fúrógép ütvefúró 750 W", "Csavar horganyzott 6 mm", "Festék fehér 5 l", "Kábel 3x1,5 mm2", "Beüzemelés",
    "Szállítási díj"};

// The year 2008 of a busy shop: invoices (a few corrective, cancelled and proforma), cash
// sales and delivery notes, ten lines each.
void makeFolder(const std::string& folder, int headers) {
    createDataFolder(folder);
    dbase::Table h(folder, catalogue::table(TableId::Szamla).fileName);
    dbase::Table l(folder, catalogue::table(TableId::Szamla2).fileName);
    h.open();
    l.open();
    h.beginBulkAppend();
    l.beginBulkAppend();
    std::mt19937 random(20080315);
    const auto f = [](dbase::Table& t, const Field& field) { return t.fieldNumber(field.name); };
    for (int i = 0; i < headers; ++i) {
        const int kind = int(random() % 20);
        const char* type = kind < 13   ? "B"
                           : kind < 14 ? "J"
                           : kind < 15 ? "S"
                           : kind < 17 ? "1"
                           : kind < 19 ? "F"
                                       : "P";
        char number[48];
        std::snprintf(number, sizeof number, "SZA2008/%05d", i + 1);
        char issued[48];
        std::snprintf(issued, sizeof issued, "2008.%02d.%02d", 1 + (i * 12) / headers, 1 + int(random() % 28));
        const std::string name = kNames[random() % 12];
        const std::string street = kStreets[random() % 4];
        double net = 0;
        for (int k = 0; k < kLinesPerDocument; ++k) {
            const double price = 100 + random() % 20000;
            net += price;
            l.append();
            l.setString(f(l, L::SZAMLASZAM), number);
            l.setString(f(l, L::MEGNEVEZES), kItems[random() % 6]);
            l.setFloat(f(l, L::MENNYISEG), 1);
            l.setString(f(l, L::EGYSEG), "db");
            l.setFloat(f(l, L::EGYSEGAR), price);
            l.setFloat(f(l, L::NETTOAR), price);
            l.setFloat(f(l, L::AFA), 27);
            l.setFloat(f(l, L::AFAFT), price * 0.27);
            l.setFloat(f(l, L::OSSZESEN), price * 1.27);
            l.post();
        }
        h.append();
        h.setString(f(h, H::SZAMLASZAM), number);
        h.setString(f(h, H::SZAMLATIP), type);
        h.setString(f(h, H::NEV), name);
        h.setString(f(h, H::IRSZAM), "1117");
        h.setString(f(h, H::VAROS), "Budapest");
        h.setString(f(h, H::CIM), street);
        h.setString(f(h, H::TELJESCIM), "1117 Budapest, " + street);
        h.setString(f(h, H::FIZMOD), "Átutalás");
        h.setString(f(h, H::KIALLIT), issued);
        h.setString(f(h, H::TELJESIT), issued);
        h.setString(f(h, H::FIZHAT), issued);
        h.setFloat(f(h, H::AFAALAP), net);
        h.setFloat(f(h, H::AFAFT), net * 0.27);
        h.setFloat(f(h, H::FIZETENDO), net * 1.27);
        h.setLogical(f(h, H::FIZETVE), random() % 3 != 0);
        h.setInteger(f(h, H::PRINT), 2);
        h.setString(f(h, H::UGYINTEZO), "Kovács Anna");
        h.post();
    }
    h.endBulkAppend();
    l.endBulkAppend();
}

void paint(QWidget& w) {
    QApplication::processEvents();
    if (auto* grid = w.findChild<QTableView*>(QStringLiteral("documentGrid"))) grid->viewport()->repaint();
    if (auto* lines = w.findChild<QTableView*>(QStringLiteral("lineGrid"))) lines->viewport()->repaint();
}

// Questions would mean the bench went wrong: every one is answered no and counted.
class CountingPrompt final : public Prompt {
public:
    int messages = 0;
    void message(const QString&, const QString& text, Icon) override {
        ++messages;
        std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
    }
    bool askYesNo(const QString&, const QString&, Icon) override { return ++messages, false; }
    std::optional<QString> askText(const QString&, const QString&, const QString&) override { return std::nullopt; }
    std::optional<int> askCopies(int) override { return std::nullopt; }
    std::optional<QString> chooseFile(const FileChoice&) override { return std::nullopt; }
    std::optional<QString> chooseFolder(const FolderChoice&) override { return std::nullopt; }
};

class NoWindows final : public DocumentWindows {
public:
    bool showRegister(const RegisterRequest&) override { return false; }
    std::optional<AgentData> editAgent(const AgentData&) override { return std::nullopt; }
    void preview(const report::PreparedReport&, const QString&) override {}
    bool print(const report::PreparedReport&, const QString&) override { return false; }
    void printingDone() override {}
    bool cancelCurrent(bool) override { return false; }
    bool payCurrent() override { return false; }
};

class Bench {
public:
    Bench(TDataModule1& data, Prompt& prompt) : m_data(data), m_prompt(prompt) {
        m_options.today = [] { return QDate(2008, 12, 31); };
        m_options.currentUser = QStringLiteral("Kovács Anna");
    }

    std::unique_ptr<TSzamlak> openWindow() {
        filter::restrictExactly(m_data.SzamlaTable(), listFilter(ListKind::Invoices, false, m_options.today(), {}));
        auto window =
            std::make_unique<TSzamlak>(nullptr, m_data, m_prompt, m_windows, RegisterRequest{}, m_options, m_settings);
        window->resize(1200, 720);
        window->show();
        paint(*window);
        return window;
    }

    // Opening as a main-window command does: the filter, the window, the lists painted.
    double open(int& rows) {
        std::vector<double> runs;
        for (int i = 0; i < 5; ++i) {
            filter::removeRestriction(m_data.SzamlaTable());
            const auto start = Clock::now();
            const auto window = openWindow();
            runs.push_back(ms(start));
            rows = window->findChild<QTableView*>(QStringLiteral("documentGrid"))->model()->rowCount();
        }
        return median(runs);
    }

    // The slowest letter of the words typed into the search box, each the median of three
    // typings; with byName the list is first sorted by the name title.
    double typeLetters(bool byName) {
        const auto window = openWindow();
        if (byName) {
            window->findChild<QTableView*>(QStringLiteral("documentGrid"))->horizontalHeader()->sectionClicked(2);
            paint(*window);
        }
        auto* search = window->findChild<QLineEdit*>(QStringLiteral("searchLineEdit"));
        const QStringList words =
            byName ? QStringList{QStringLiteral("tisza szerviz"), QStringLiteral("őrség"), QStringLiteral("xylofon")}
                   : QStringList{QStringLiteral("sza2008/04321"), QStringLiteral("sza2008/49999"), QStringLiteral("x")};
        double slowest = 0;
        for (const QString& word : words) {
            std::vector<std::vector<double>> letters(size_t(word.size()));
            for (int round = 0; round < 3; ++round) {
                search->clear();
                paint(*window);
                for (int i = 0; i < word.size(); ++i) {
                    const auto start = Clock::now();
                    QTest::sendKeyEvent(QTest::Press, search, Qt::Key_unknown, QString(word[i]), Qt::NoModifier);
                    QTest::sendKeyEvent(QTest::Release, search, Qt::Key_unknown, QString(word[i]), Qt::NoModifier);
                    paint(*window);
                    letters[size_t(i)].push_back(ms(start));
                }
            }
            for (const auto& l : letters) slowest = std::max(slowest, median(l));
        }
        return slowest;
    }

private:
    TDataModule1& m_data;
    Prompt& m_prompt;
    NoWindows m_windows;
    IniSettings m_settings;
    RegisterOptions m_options;
};

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    int count = 50000;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--headers") count = std::atoi(argv[++i]);
    const std::string dir =
        (std::filesystem::temp_directory_path() / ("kavina-register-bench-" + std::to_string(getpid()))).string();
    bool ok = true;
    auto goal = [&](bool pass, const char* text, double value, const char* unit) {
        std::printf("  %s  %-58s %8.1f %s\n", pass ? "PASS" : "FAIL", text, value, unit);
        ok = ok && pass;
    };
    try {
        auto start = Clock::now();
        makeFolder(dir, count);
        std::printf("Document register over %d headers and %d lines (folder made in %.1f s)\n", count,
                    count * kLinesPerDocument, ms(start) / 1000);
        TDataModule1 data;
        data.open(dir);
        CountingPrompt prompt;
        Bench bench(data, prompt);
        int rows = 0;
        const double open = bench.open(rows);
        const double byNumber = bench.typeLetters(false);
        const double byName = bench.typeLetters(true);
        std::printf("  the invoices of the year: %d rows\n", rows);
        std::printf("Goals\n");
        goal(open <= 300, "opening the register (goal <= 300 ms)", open, "ms");
        goal(byNumber <= 30, "a letter of the search by number, the slowest (goal <= 30 ms)", byNumber, "ms");
        goal(byName <= 30, "a letter of the search by name, the slowest (goal <= 30 ms)", byName, "ms");
        goal(prompt.messages == 0, "no message was shown (goal 0)", prompt.messages, "messages");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "register_bench: %s\n", e.what());
        std::filesystem::remove_all(dir);
        return 2;
    }
    std::filesystem::remove_all(dir);
    return ok ? 0 : 1;
}
