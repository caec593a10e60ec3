#pragma once
// "Részletes terméklista excelbe": the small window the export of the product list runs from,
// with "Adatok feldolgozása:" and a progress bar. It starts the export shortly after it
// appears and closes itself when the export is done or failed.

#include <QDateTime>
#include <QDialog>
#include <string>

#include "foundation/Desktop.h"
#include "foundation/Prompt.h"

class QProgressBar;

namespace kavina::reports {

class ProductWorkbookWindow : public QDialog {
    Q_OBJECT

public:
    ProductWorkbookWindow(std::string dataFolder, QString path, QDateTime now, Prompt& prompt, Desktop& desktop,
                          QWidget* parent = nullptr);
    ~ProductWorkbookWindow() override;

    // The export, as the window runs it; errors are shown through the prompt.
    void runExport();

private:
    std::string m_dataFolder;
    QString m_path;
    QDateTime m_now;
    Prompt& m_prompt;
    Desktop& m_desktop;
    QProgressBar* m_progress = nullptr;
};

// Asks for the file and, unless cancelled, runs the export in its window.
void exportProductList(const std::string& dataFolder, const QString& folder, const QDateTime& now, Prompt& prompt,
                       Desktop& desktop, QWidget* parent);

}  // namespace kavina::reports
