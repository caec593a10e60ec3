#pragma once
// The preview window "Nyomtatási kép" over a prepared printout. It opens on page 1 at 100 %;
// zooms in by 10 % and out by 10 % of the current size (rounded), to 100 %, to the width or
// the whole page; goes to the first, previous, next and last page; saves the printout as a
// PDF ("Mentés": a file chosen through the Prompt, then the export window); prints through
// the print service ("Nyomtatás", disabled when the caller says so); saves the printout's
// table as a workbook ("Mentés Excelbe", when the caller gives the table); closes with "Kilépés"
// and Esc. The status line shows "Oldal: n/m" and "Méret: z%".
#include <QDialog>
#include <exception>
#include <functional>
#include <optional>

#include "foundation/Prompt.h"
#include "report/PreparedReport.h"
#include "report/Spreadsheet.h"
#include "report/view/ReportPrinter.h"

class QLabel;
class QPushButton;
class QScrollArea;

namespace kavina::report {

class PageView;

struct PreviewOptions {
    // False while an editor previews a document it has not saved.
    bool printEnabled = true;
    // Proposed in the file choice of "Mentés".
    QString pdfFileName;
    // Where a failed export or print goes; the default shows the error through the Prompt.
    std::function<void(const QString& error)> onError;
    // The printout's table as a worksheet; when set, "Mentés Excelbe" saves it as a workbook.
    std::function<SheetTable()> sheet;
    QString sheetFileName;  // proposed in the file choice of "Mentés Excelbe"
    // Shown at the right of the pages (a statistic's chart); the window takes it over.
    QWidget* beside = nullptr;
};

class PreviewWindow : public QDialog {
    Q_OBJECT

public:
    static constexpr int kMinZoom = 5;
    static constexpr int kMaxZoom = 1000;

    PreviewWindow(const PreparedReport& report, Prompt& prompt, PrintService& printing, PreviewOptions options = {},
                  QWidget* parent = nullptr);
    ~PreviewWindow() override;

    int page() const { return m_page; }  // 0-based
    int zoom() const { return m_zoom; }

    void zoomIn();
    void zoomOut();
    void zoomTo(int percent);
    void fitWidth();
    void fitPage();
    void goToPage(int index);
    void saveAsPdf();
    void saveAsSpreadsheet();
    void printReport();

private:
    QPushButton* addButton(const char* objectName, const QString& text, std::function<void()> action);
    void refresh();
    // A file to save the printout in, with the suffix added when the clerk typed none.
    std::optional<QString> chooseTarget(const QString& caption, const QString& filter, const QString& proposed,
                                        const QString& suffix);
    void reportError(const QString& error);

    const PreparedReport& m_report;
    Prompt& m_prompt;
    PrintService& m_printing;
    PreviewOptions m_options;
    int m_page = 0;
    int m_zoom = 100;
    QScrollArea* m_scroll = nullptr;
    PageView* m_view = nullptr;
    QLabel* m_pageStatus = nullptr;
    QLabel* m_zoomStatus = nullptr;
    QWidget* m_buttons = nullptr;
};

}  // namespace kavina::report
