#include "report/view/PdfExportDialog.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>
#include <exception>

#include "report/PdfExport.h"

namespace kavina::report {

PdfExportDialog::PdfExportDialog(const PreparedReport& report, QString fileName, QWidget* parent)
    : QDialog(parent), m_report(report), m_fileName(std::move(fileName)) {
    setObjectName(QStringLiteral("PdfExportDialog"));
    setWindowTitle(QStringLiteral("Pdf fájl létrehozása"));
    auto* layout = new QVBoxLayout(this);
    auto* header = new QLabel(QStringLiteral("        Pdf fájl létrehozása"), this);
    header->setObjectName(QStringLiteral("headerLabel"));
    QFont bold = header->font();
    bold.setBold(true);
    header->setFont(bold);
    auto* text = new QLabel(QStringLiteral("Létrehozás folyamatban..."), this);
    text->setObjectName(QStringLiteral("progressLabel"));
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progressBar"));
    layout->addWidget(header);
    layout->addWidget(text);
    layout->addWidget(m_progress);
    setMinimumWidth(360);
}

void PdfExportDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_started) return;
    m_started = true;
    QTimer::singleShot(100, this, &PdfExportDialog::run);
}

// A slot: nothing may escape it, so the failure is kept for the caller.
void PdfExportDialog::run() {
    m_progress->setRange(0, m_report.pageCount());
    m_progress->setValue(0);
    PdfExportOptions options;
    options.progress = [this](int done, int) {
        m_progress->setValue(done);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    try {
        exportPdf(m_report, m_fileName, options);
    } catch (const std::exception& e) {
        m_error = QString::fromUtf8(e.what());
        reject();
        return;
    }
    accept();
}

}  // namespace kavina::report
