#pragma once
// The export window "Pdf fájl létrehozása": it starts the PDF export of a prepared printout
// by itself a moment after it appears, shows the pages done on its progress bar and closes
// when the file is written. exec() returns Accepted when the file was written; otherwise
// error() says why, and no file was left behind.
#include <QDialog>
#include <QString>

#include "report/PreparedReport.h"

class QProgressBar;

namespace kavina::report {

class PdfExportDialog : public QDialog {
    Q_OBJECT

public:
    PdfExportDialog(const PreparedReport& report, QString fileName, QWidget* parent = nullptr);

    const QString& error() const { return m_error; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void run();

    const PreparedReport& m_report;
    QString m_fileName;
    QString m_error;
    QProgressBar* m_progress = nullptr;
    bool m_started = false;
};

}  // namespace kavina::report
