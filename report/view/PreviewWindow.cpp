#include "report/view/PreviewWindow.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "report/view/PageView.h"
#include "report/view/PdfExportDialog.h"

namespace kavina::report {

PreviewWindow::PreviewWindow(const PreparedReport& report, Prompt& prompt, PrintService& printing,
                             PreviewOptions options, QWidget* parent)
    : QDialog(parent), m_report(report), m_prompt(prompt), m_printing(printing), m_options(std::move(options)) {
    setObjectName(QStringLiteral("PreviewWindow"));
    setWindowTitle(QStringLiteral("Nyomtatási kép"));
    m_buttons = new QWidget(this);
    auto* row = new QHBoxLayout(m_buttons);
    row->setContentsMargins(0, 0, 0, 0);
    addButton("zoomInButton", QStringLiteral("Nagyítás"), [this] { zoomIn(); });
    addButton("zoomOutButton", QStringLiteral("Kicsinyítés"), [this] { zoomOut(); });
    addButton("zoom100Button", QStringLiteral("100 %"), [this] { zoomTo(100); });
    addButton("fitWidthButton", QStringLiteral("Oldalszélesség"), [this] { fitWidth(); });
    addButton("fitPageButton", QStringLiteral("Teljes oldal"), [this] { fitPage(); });
    row->addSpacing(12);
    addButton("firstPageButton", QStringLiteral("Első oldal"), [this] { goToPage(0); });
    addButton("previousPageButton", QStringLiteral("Előző oldal"), [this] { goToPage(m_page - 1); });
    addButton("nextPageButton", QStringLiteral("Következő oldal"), [this] { goToPage(m_page + 1); });
    addButton("lastPageButton", QStringLiteral("Utolsó oldal"), [this] { goToPage(m_report.pageCount() - 1); });
    row->addSpacing(12);
    addButton("saveButton", QStringLiteral("Mentés"), [this] { saveAsPdf(); });
    if (m_options.sheet) addButton("sheetButton", QStringLiteral("Mentés Excelbe"), [this] { saveAsSpreadsheet(); });
    addButton("printButton", QStringLiteral("Nyomtatás"), [this] {
        printReport();
    })->setEnabled(m_options.printEnabled);
    row->addStretch();
    addButton("closeButton", QStringLiteral("Kilépés"), [this] { reject(); });

    m_view = new PageView(m_report, this);
    auto* mail = new QAction(QStringLiteral("Csatolás email-hez"), m_view);
    mail->setObjectName(QStringLiteral("mailAction"));
    mail->setEnabled(false);  // there is nothing that attaches a printout to a mail
    m_view->addAction(mail);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("pageScrollArea"));
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scroll->setWidget(m_view);

    auto* status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    m_pageStatus = new QLabel(status);
    m_pageStatus->setObjectName(QStringLiteral("pageStatus"));
    m_zoomStatus = new QLabel(status);
    m_zoomStatus->setObjectName(QStringLiteral("zoomStatus"));
    status->addWidget(m_pageStatus);
    status->addWidget(m_zoomStatus);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_buttons);
    if (m_options.beside) {
        auto* row = new QHBoxLayout;
        row->addWidget(m_scroll, 3);
        m_options.beside->setParent(this);
        row->addWidget(m_options.beside, 2);
        layout->addLayout(row, 1);
        resize(1250, 850);
    } else {
        layout->addWidget(m_scroll, 1);
        resize(1000, 800);
    }
    layout->addWidget(status);
    refresh();
}

// A control of the window that still holds the keyboard focus lets go of it while every
// control stands: whatever follows the focus of the program (the main window's colouring of
// the focused field) may walk the window's children, which deleting them leaves half gone.
PreviewWindow::~PreviewWindow() {
    if (QWidget* focused = QApplication::focusWidget(); focused && isAncestorOf(focused)) focused->clearFocus();
}

QPushButton* PreviewWindow::addButton(const char* objectName, const QString& text, std::function<void()> action) {
    auto* button = new QPushButton(text, m_buttons);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, std::move(action));
    m_buttons->layout()->addWidget(button);
    return button;
}

void PreviewWindow::zoomIn() {
    zoomTo(int(std::lround(m_zoom * 1.1)));
}

void PreviewWindow::zoomOut() {
    zoomTo(int(std::lround(m_zoom * 0.9)));
}

void PreviewWindow::zoomTo(int percent) {
    m_zoom = std::clamp(percent, kMinZoom, kMaxZoom);
    refresh();
}

void PreviewWindow::fitWidth() {
    const QSize page = m_view->pageSize(100);
    zoomTo(int(std::floor(100.0 * (m_scroll->viewport()->width() - 20) / page.width())));
}

void PreviewWindow::fitPage() {
    const QSize page = m_view->pageSize(100);
    const QSize room = m_scroll->viewport()->size() - QSize(20, 20);
    zoomTo(
        int(std::floor(100.0 * std::min(double(room.width()) / page.width(), double(room.height()) / page.height()))));
}

void PreviewWindow::goToPage(int index) {
    m_page = std::clamp(index, 0, std::max(0, m_report.pageCount() - 1));
    refresh();
}

void PreviewWindow::refresh() {
    m_view->showPage(m_page, m_zoom);
    const int pages = m_report.pageCount();
    m_pageStatus->setText(QStringLiteral("Oldal: %1/%2").arg(m_page + 1).arg(pages));
    m_zoomStatus->setText(QStringLiteral("Méret: %1%").arg(m_zoom));
    for (const char* name : {"firstPageButton", "previousPageButton"})
        findChild<QPushButton*>(name)->setEnabled(m_page > 0);
    for (const char* name : {"nextPageButton", "lastPageButton"})
        findChild<QPushButton*>(name)->setEnabled(m_page < pages - 1);
}

std::optional<QString> PreviewWindow::chooseTarget(const QString& caption, const QString& filter,
                                                   const QString& proposed, const QString& suffix) {
    FileChoice choice;
    choice.caption = caption;
    choice.filter = filter;
    choice.save = true;
    choice.fileName = proposed;
    std::optional<QString> file = m_prompt.chooseFile(choice);
    if (!file || file->isEmpty()) return std::nullopt;
    if (QFileInfo(*file).suffix().isEmpty()) *file += suffix;
    return file;
}

void PreviewWindow::saveAsPdf() {
    const std::optional<QString> file = chooseTarget(QStringLiteral("Mentés"), QStringLiteral("Pdf fájlok (*.pdf)"),
                                                     m_options.pdfFileName, QStringLiteral(".pdf"));
    if (!file) return;
    PdfExportDialog exporting(m_report, *file, this);
    if (exporting.exec() != QDialog::Accepted && !exporting.error().isEmpty()) reportError(exporting.error());
}

// A slot: a failed save is reported, never thrown out of the event loop.
void PreviewWindow::saveAsSpreadsheet() {
    const std::optional<QString> file =
        chooseTarget(QStringLiteral("Mentés Excelbe"), QStringLiteral("Excel munkafüzetek (*.xlsx)"),
                     m_options.sheetFileName, QStringLiteral(".xlsx"));
    if (!file) return;
    try {
        writeSheetTable(m_options.sheet(), *file);
    } catch (const SpreadsheetError& e) {
        reportError(e.text());
    } catch (const std::exception& e) {
        reportError(QString::fromUtf8(e.what()));
    }
}

// A slot: a failed print is reported, never thrown out of the event loop.
void PreviewWindow::printReport() {
    try {
        const PrintResult result = m_printing.setUpAndPrint(m_report, this);
        if (!result.pdfFiles.isEmpty())
            m_prompt.information(QStringLiteral("Nyomtatás"), pdfPrintedText(result.pdfFiles));
    } catch (const std::exception& e) {
        reportError(QString::fromUtf8(e.what()));
    }
}

void PreviewWindow::reportError(const QString& error) {
    if (m_options.onError)
        m_options.onError(error);
    else
        m_prompt.error(QStringLiteral("Hiba"), error);
}

}  // namespace kavina::report
