// The report engine at scale: an invoice layout of 1 000 pages prepared (time per page and
// the memory the prepared pages take), then 100 of its pages exported to PDF (time per page,
// and memory after the 10th and the 100th page, which must stay flat: each page goes to disk
// when done). Runs offscreen.
#include <sys/resource.h>
#include <unistd.h>
#include <QGuiApplication>
#include <QImage>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "foundation/Catalogue.h"
#include "foundation/MemTable.h"
#include "foundation/SzamSzov.h"
#include "invoicing/document/MemoryDocument.h"
#include "invoicing/print/TSzamlar.h"
#include "report/PdfExport.h"

using namespace kavina;
using Clock = std::chrono::steady_clock;

namespace {

long residentKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

long peakKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

void fillSettings(MemTable& settings) {
    settings.setFields(catalogue::table(TableId::User).fields);
    settings.append();
    settings.setString("USER1", "Bükki Szerszám és Vasáru Bt.");
    settings.setString("CIM", "3300 Eger, Széchenyi út 12.");
    settings.setString("ADOSZAM", "Adószám: 12345678-2-10");
    settings.setString("LAPLABLEC", "Köszönjük, hogy nálunk vásárolt!");
    settings.post();
}

// A document of that many lines, every tenth with a name that wraps, two VAT rates.
void fillDocument(MemoryDocument& doc, int lines) {
    doc.mszamla.append();
    doc.mszamla.setString("SZAMLASZAM", "SZA2008/00007");
    doc.mszamla.setString("SZAMLATIP", "B");
    doc.mszamla.setString("NEV", "Példa Kereskedelmi Kft.");
    doc.mszamla.setString("FIZMOD", "Átutalás");
    doc.mszamla.setInteger("PRINT", 1);
    double payable = 0;
    for (int i = 0; i < lines; ++i) {
        const double rate = i % 3 ? 27 : 5, price = 100 + i % 997;
        const double net = price * (1 + i % 4), gross = double(Kerekit(-1, net * (100 + rate) / 100));
        doc.mszamla2.append();
        doc.mszamla2.setString("MEGNEVEZES",
                               i % 10 ? "Facsavar 4x40" : "Csavarhúzókészlet 12 részes, krómvanádium, tokkal");
        doc.mszamla2.setFloat("MENNYISEG", 1 + i % 4);
        doc.mszamla2.setString("EGYSEG", "db");
        doc.mszamla2.setFloat("EGYSEGAR", price);
        doc.mszamla2.setFloat("NETTOAR", net);
        doc.mszamla2.setFloat("OSSZESEN", gross);
        doc.mszamla2.setFloat("AFAFT", gross - net);
        doc.mszamla2.setFloat("AFA", rate);
        doc.mszamla2.post();
        payable += gross;
    }
    doc.mszamla.edit();
    doc.mszamla.setFloat("FIZETENDO", double(KerekitRound(payable)));
    doc.mszamla.post();
}

struct Prepared {
    int pages = 0;
    double seconds = 0;
    double megabytes = 0;  // resident memory the prepared pages added
};

Prepared prepareInvoice(const MemTable& settings, int lines) {
    MemoryDocument doc;
    fillDocument(doc, lines);
    TSzamlar layout({&settings, QString(), "Kovács Anna", 0, 7});
    layout.setUp(SalesMode::Invoice);
    layout.useMemoryDocument(doc);
    const long before = residentKb();
    const auto start = Clock::now();
    const report::PreparedReport prepared = layout.prepare();
    return {prepared.pageCount(), seconds(start), (residentKb() - before) / 1024.0};
}

struct Exported {
    int pages = 0;
    double seconds = 0;
    long residentAt10 = 0;
    long residentAtEnd = 0;
    double fileMegabytes = 0;
};

Exported exportInvoice(const MemTable& settings, int lines, const std::string& file) {
    MemoryDocument doc;
    fillDocument(doc, lines);
    TSzamlar layout({&settings, QString(), "Kovács Anna", 0, 7});
    layout.setUp(SalesMode::Invoice);
    layout.useMemoryDocument(doc);
    const report::PreparedReport prepared = layout.prepare();
    Exported out;
    out.pages = prepared.pageCount();
    report::PdfExportOptions options;
    options.progress = [&](int done, int total) {
        if (done == 10) out.residentAt10 = residentKb();
        if (done == total) out.residentAtEnd = residentKb();
    };
    const auto start = Clock::now();
    report::exportPdf(prepared, QString::fromStdString(file), options);
    out.seconds = seconds(start);
    out.fileMegabytes = std::filesystem::file_size(file) / 1048576.0;
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    bool ok = true;
    auto goal = [&](bool pass, const char* text) {
        std::printf("  %s  %s\n", pass ? "PASS" : "FAIL", text);
        ok = ok && pass;
    };

    MemTable settings{"settings"};
    fillSettings(settings);
    const Prepared big = prepareInvoice(settings, 45500);
    std::printf("Invoice layout of 45 500 lines prepared: %d pages\n", big.pages);
    std::printf("  %.1f s, %.2f ms per page, the prepared pages take %.1f MB\n", big.seconds,
                1000 * big.seconds / big.pages, big.megabytes);

    const std::string dir = std::filesystem::temp_directory_path() / ("kavina-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const Exported pdf = exportInvoice(settings, 4420, dir + "/export.pdf");
    std::filesystem::remove_all(dir);
    const QSize picture = report::exportPictureSize(report::PageSetup{});
    std::printf("PDF export of %d pages (pictures of %dx%d px as JPEG): %.1f MB file\n", pdf.pages, picture.width(),
                picture.height(), pdf.fileMegabytes);
    std::printf("  %.1f s, %.0f ms per page\n", pdf.seconds, 1000 * pdf.seconds / pdf.pages);
    std::printf("  resident after page 10: %.1f MB, after the last page: %.1f MB; peak of the run %.1f MB\n",
                pdf.residentAt10 / 1024.0, pdf.residentAtEnd / 1024.0, peakKb() / 1024.0);

    std::printf("Goals\n");
    goal(big.pages >= 1000, "the large layout has at least 1 000 pages");
    goal(1000 * big.seconds / big.pages <= 5, "preparing takes at most 5 ms per page");
    goal(big.megabytes / big.pages * 1024 <= 200, "a prepared page takes at most 200 KB");
    goal(pdf.pages == 100, "the exported layout has 100 pages");
    goal(1000 * pdf.seconds / pdf.pages <= 400, "exporting takes at most 400 ms per page");
    goal(pdf.residentAtEnd - pdf.residentAt10 <= 8 * 1024,
         "memory grows by at most 8 MB from page 10 to the last page");
    return ok ? 0 : 1;
}
