// The product register over 50 000 products: opening the window, switching tab and category,
// each letter of the incremental search, and scrolling the list (how many rows the list reads
// and whether memory grows). Runs offscreen on a data folder made for the run; every figure is
// the median of several runs, printed with its goal.
//
//   products_bench [--products N]
//
// Exits with 1 when a goal is missed, 2 on an error.
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "dbase/Table.h"
#include "foundation/Catalogue.h"
#include "foundation/CatalogueFields.h"
#include "foundation/NewDataFolder.h"
#include "foundation/TDataModule1.h"
#include "products/register/forms/TAnyagForm.h"
#include "widgets/RecordGridModel.h"

using namespace kavina;
using namespace kavina::products;
using Clock = std::chrono::steady_clock;

namespace {

namespace A = fields::Anyag;

double ms(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

long residentKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

const char* const kNouns[] = {
    "Csavar",      "Anya",     "Alátét", "Szeg",   "Tipli",    "Kalapács", "Fogó",          "Csavarhúzó",
    "Villáskulcs", "Fúrószár", "Festék", "Ecset",  "Henger",   "Kábel",    "Kapcsoló",      "Dugalj",
    "Izzó",        "Cső",      "Könyök", "Szelep", "Ragasztó", "Szilikon", "Csiszolópapír", "Vízmérték",
    "Mérőszalag",  "Gereblye", "Ásó",    "Tömlő",  "Olló",     "Kesztyű",  "Zsanér",        "Zár",
    "Lakat",       "Lánc",     "Kötél",  "Polc",   "Konzol",   "Létra",    "Vödör",         "Seprű"};
const char* const kKinds[] = {"horganyzott", "rozsdamentes", "fekete",    "fehér", "réz",
                              "műanyag",     "acél",         "alumínium", "fa",    "ipari",
                              "kerti",       "beltéri",      "kültéri",   "profi", "hobbi"};
const char* const kCategories[] = {"Kötőelemek",      "Kéziszerszámok", "Elektromos kisgépek", "Festékek",
                                   "Villanyszerelés", "Vízszerelés",    "Kerti eszközök",      "Vasalatok",
                                   "Munkavédelem",    "Ragasztók",      "Csiszolóanyagok",     "Tárolás"};
const char* const kWarehouses[] = {"Törzsraktár", "2 Bolti raktár", "3 Kerti telep"};

// A data folder holding the products: names of a hardware shop, twelve categories, three
// warehouses, a tenth services, a few in the bin, a sixth out of stock.
void makeFolder(const std::string& folder, int count) {
    createDataFolder(folder);
    dbase::Table t(folder, catalogue::table(TableId::Anyag).fileName);
    t.open();
    t.beginBulkAppend();
    std::mt19937 random(20080315);
    for (int i = 0; i < count; ++i) {
        const std::string name = std::string(kNouns[random() % 40]) + " " + kKinds[random() % 15] + " " +
                                 std::to_string(4 + random() % 60) + " mm " + std::to_string(i);
        const bool service = i % 10 == 0;
        char article[24];
        std::snprintf(article, sizeof article, "A-%06u", unsigned(random() % 1000000));
        t.append();
        t.setFloat(t.fieldNumber(A::ANYAGKOD.name), i + 1);
        t.setString(t.fieldNumber(A::MEGNEVEZES.name), name);
        t.setString(t.fieldNumber(A::CIKKSZAM.name), article);
        t.setString(t.fieldNumber(A::VONALKOD.name), std::to_string(5991234000000LL + i));
        t.setString(t.fieldNumber(A::KATEGORIA.name), i % 50 == 1 ? "Lomtár" : kCategories[random() % 12]);
        t.setString(t.fieldNumber(A::MEGJEGYZES.name), service ? "" : kWarehouses[random() % 3]);
        t.setString(t.fieldNumber(A::EGYSEG.name), "db");
        const double stock = random() % 6 == 0 ? 0 : double(random() % 200);
        t.setFloat(t.fieldNumber(A::MENNYISEG.name), service ? 0 : stock);
        t.setLogical(t.fieldNumber(A::NINCSANYAG.name), stock == 0);
        t.setFloat(t.fieldNumber(A::MINMENNY.name), double(random() % 10));
        t.setLogical(t.fieldNumber(A::TERMEK.name), service);
        t.setFloat(t.fieldNumber(A::AFAKULCS.name), 27);
        const double price = 100 + random() % 20000;
        t.setFloat(t.fieldNumber(A::FIXAR.name), price);
        t.setFloat(t.fieldNumber(A::bfixar.name), price * 1.27);
        t.setFloat(t.fieldNumber(A::AR1.name), price);
        t.post();
    }
    t.endBulkAppend();
}

// The window shown and painted, its list included.
void paint(QWidget& w) {
    QApplication::processEvents();
    if (auto* grid = w.findChild<QTableView*>(QStringLiteral("productGrid"))) grid->viewport()->repaint();
}

class Bench {
public:
    Bench(TDataModule1& data, Prompt& prompt, Desktop& desktop) : m_data(data), m_prompt(prompt), m_desktop(desktop) {
        m_options.window = {.settings = &m_settings,
                            .rights = QStringLiteral("TUVW"),
                            .currentUser = QStringLiteral("Rendszergazda"),
                            .now = [] { return QDateTime::currentDateTime(); },
                            .rememberedWarehouse = &m_warehouse,
                            .goodsReceiptInProgress = {}};
        m_options.desktop = &desktop;
    }

    double openWindow() {
        std::vector<double> runs;
        for (int i = 0; i < 5; ++i) {
            const auto start = Clock::now();
            TAnyagForm form(nullptr, m_data, m_prompt, m_options);
            form.resize(1180, 700);
            form.show();
            paint(form);
            runs.push_back(ms(start));
        }
        return median(runs);
    }

    TAnyagForm& form() {
        if (!m_form) {
            m_form = std::make_unique<TAnyagForm>(nullptr, m_data, m_prompt, m_options);
            m_form->resize(1180, 700);
            m_form->show();
            paint(*m_form);
        }
        return *m_form;
    }
    QTableView* grid() { return form().findChild<QTableView*>(QStringLiteral("productGrid")); }
    widgets::RecordGridModel* model() { return static_cast<widgets::RecordGridModel*>(grid()->model()); }

    // The slowest tab, each tab's time the median of three switches to it.
    double switchTabs() {
        auto* tabs = form().findChild<QTabBar*>(QStringLiteral("productTabBar"));
        double slowest = 0;
        for (int tab : {1, 2, 3, 4, 0}) {
            std::vector<double> runs;
            for (int i = 0; i < 3; ++i) {
                tabs->setCurrentIndex(tab == 0 ? 1 : 0);
                paint(form());
                const auto start = Clock::now();
                tabs->setCurrentIndex(tab);
                paint(form());
                runs.push_back(ms(start));
            }
            slowest = std::max(slowest, median(runs));
        }
        return slowest;
    }

    // The slowest of three categories, each the median of three choices.
    double switchCategories() {
        auto* categories = form().findChild<QComboBox*>(QStringLiteral("categoryComboBox"));
        double slowest = 0;
        for (int item : {1, 5, 9}) {
            std::vector<double> runs;
            for (int i = 0; i < 3; ++i) {
                emit categories->activated(0);
                paint(form());
                const auto start = Clock::now();
                emit categories->activated(item);
                paint(form());
                runs.push_back(ms(start));
            }
            slowest = std::max(slowest, median(runs));
        }
        emit categories->activated(0);
        return slowest;
    }

    // The slowest letter of a few words typed into the search box, each letter the median of
    // three typings.
    double typeLetters() {
        auto* search = form().findChild<QLineEdit*>(QStringLiteral("searchLineEdit"));
        double slowest = 0;
        for (const QString& word :
             {QStringLiteral("csavarhúzó kerti"), QStringLiteral("zár réz"), QStringLiteral("xylofon")}) {
            std::vector<std::vector<double>> letters(size_t(word.size()));
            for (int round = 0; round < 3; ++round) {
                search->clear();
                paint(form());
                for (int i = 0; i < word.size(); ++i) {
                    const auto start = Clock::now();
                    QTest::sendKeyEvent(QTest::Press, search, Qt::Key_unknown, QString(word[i]), Qt::NoModifier);
                    QTest::sendKeyEvent(QTest::Release, search, Qt::Key_unknown, QString(word[i]), Qt::NoModifier);
                    paint(form());
                    letters[size_t(i)].push_back(ms(start));
                }
            }
            for (const auto& l : letters) slowest = std::max(slowest, median(l));
        }
        search->clear();
        return slowest;
    }

    struct Scrolling {
        long pages = 0;
        long rowsPerPage = 0;
        uint64_t rowsReadPerPage = 0;  // the most rows the list read for one page
        uint64_t rowsReadJump = 0;     // rows read to show the last page at once
        long rows = 0;
        long residentBeforeKb = 0, residentAfterKb = 0;
    };
    Scrolling scroll() {
        Scrolling s;
        QTableView* view = grid();
        QScrollBar* bar = view->verticalScrollBar();
        s.rows = model()->rowCount();
        s.rowsPerPage = std::max(1, view->viewport()->height() / std::max(1, view->rowHeight(0)));
        // From the top of a list just read to its last page at once: only that page is read.
        bar->setValue(0);
        model()->reload();
        paint(form());
        uint64_t before = model()->rowsRead();
        bar->setValue(bar->maximum());
        view->viewport()->repaint();
        s.rowsReadJump = model()->rowsRead() - before;
        // Then page by page through the whole list.
        bar->setValue(0);
        paint(form());
        s.residentBeforeKb = residentKb();
        for (int value = 0; value <= bar->maximum(); value += int(s.rowsPerPage)) {
            before = model()->rowsRead();
            bar->setValue(value);
            view->viewport()->repaint();
            s.rowsReadPerPage = std::max(s.rowsReadPerPage, model()->rowsRead() - before);
            ++s.pages;
        }
        s.residentAfterKb = residentKb();
        return s;
    }

private:
    TDataModule1& m_data;
    Prompt& m_prompt;
    Desktop& m_desktop;
    IniSettings m_settings;
    int m_warehouse = 0;
    AnyagFormOptions m_options;
    std::unique_ptr<TAnyagForm> m_form;
};

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

class NoDesktop final : public Desktop {
public:
    bool openFile(const QString&) override { return false; }
};

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    int count = 50000;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--products") count = std::atoi(argv[++i]);
    const std::string dir =
        (std::filesystem::temp_directory_path() / ("kavina-products-bench-" + std::to_string(getpid()))).string();
    bool ok = true;
    auto goal = [&](bool pass, const char* text, double value, const char* unit) {
        std::printf("  %s  %-58s %8.1f %s\n", pass ? "PASS" : "FAIL", text, value, unit);
        ok = ok && pass;
    };
    try {
        auto start = Clock::now();
        makeFolder(dir, count);
        std::printf("Product register over %d products (folder made in %.1f s)\n", count, ms(start) / 1000);
        TDataModule1 data;
        data.open(dir);
        CountingPrompt prompt;
        NoDesktop desktop;
        Bench bench(data, prompt, desktop);
        const double open = bench.openWindow();
        const double tabs = bench.switchTabs();
        const double categories = bench.switchCategories();
        const double letter = bench.typeLetters();
        const Bench::Scrolling scrolling = bench.scroll();
        std::printf("  list of %ld rows, %ld pages of %ld rows scrolled\n", scrolling.rows, scrolling.pages,
                    scrolling.rowsPerPage);
        std::printf("Goals\n");
        goal(open <= 150, "opening the window (goal <= 150 ms)", open, "ms");
        goal(tabs <= 100, "switching to a tab, the slowest (goal <= 100 ms)", tabs, "ms");
        goal(categories <= 100, "choosing a category, the slowest (goal <= 100 ms)", categories, "ms");
        goal(letter <= 30, "a letter of the search, the slowest (goal <= 30 ms)", letter, "ms");
        goal(scrolling.rowsReadPerPage <= uint64_t(3 * scrolling.rowsPerPage),
             "rows read to scroll one page (goal <= 3 pages of rows)", double(scrolling.rowsReadPerPage), "rows");
        goal(scrolling.rowsReadJump <= uint64_t(3 * scrolling.rowsPerPage),
             "rows read to jump to the last page (goal <= 3 pages of rows)", double(scrolling.rowsReadJump), "rows");
        goal(scrolling.residentAfterKb - scrolling.residentBeforeKb <= 4096,
             "memory grown by scrolling the whole list (goal <= 4 MB)",
             (scrolling.residentAfterKb - scrolling.residentBeforeKb) / 1024.0, "MB");
        goal(prompt.messages == 0, "no message was shown (goal 0)", prompt.messages, "messages");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "products_bench: %s\n", e.what());
        std::filesystem::remove_all(dir);
        return 2;
    }
    std::filesystem::remove_all(dir);
    return ok ? 0 : 1;
}
