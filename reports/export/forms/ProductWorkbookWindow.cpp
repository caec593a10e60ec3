#include "reports/export/forms/ProductWorkbookWindow.h"

#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

#include "foundation/CommandBoundary.h"
#include "reports/export/ProductWorkbook.h"
#include "reports/products/forms/StatisticsTab.h"

namespace kavina::reports {

ProductWorkbookWindow::ProductWorkbookWindow(std::string dataFolder, QString path, QDateTime now, Prompt& prompt,
                                             Desktop& desktop, QWidget* parent)
    : QDialog(parent),
      m_dataFolder(std::move(dataFolder)),
      m_path(std::move(path)),
      m_now(std::move(now)),
      m_prompt(prompt),
      m_desktop(desktop) {
    setObjectName(QStringLiteral("TExcelForm"));
    setWindowTitle(kProductWorkbookTitle);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Adatok feldolgozása:")));
    m_progress = new QProgressBar;
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setMinimumWidth(360);
    layout->addWidget(m_progress);
    QTimer::singleShot(100, this, [this] {
        runExport();
        accept();
    });
}

ProductWorkbookWindow::~ProductWorkbookWindow() {
    dropFocus(this);
}

void ProductWorkbookWindow::runExport() {
    runCommand(m_prompt, [&] {
        exportProductWorkbook(m_dataFolder, m_path, m_now, m_prompt, m_desktop, progressOn(m_progress));
    });
}

void exportProductList(const std::string& dataFolder, const QString& folder, const QDateTime& now, Prompt& prompt,
                       Desktop& desktop, QWidget* parent) {
    const std::optional<QString> path = chooseProductWorkbook(prompt, folder);
    if (!path) return;
    ProductWorkbookWindow window(dataFolder, *path, now, prompt, desktop, parent);
    window.exec();
}

}  // namespace kavina::reports
