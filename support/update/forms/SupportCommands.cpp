#include "support/update/forms/SupportCommands.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMainWindow>
#include <QProcess>
#include <QProgressBar>
#include <QStatusBar>
#include <QSysInfo>
#include <QTimer>
#include <climits>
#include <stdexcept>

#include "foundation/TextFormat.h"
#include "mail/SmtpSender.h"
#include "support/errorreport/ErrorMail.h"
#include "support/errorreport/Workstation.h"
#include "support/errorreport/forms/Thibajel.h"
#include "support/update/Feedback.h"
#include "support/update/UpdateCheck.h"
#include "support/update/forms/TeszrevetelForm.h"

namespace kavina::support {

namespace {

// The main window's first status panel and a progress bar beside it.
class StatusBarUpdateStatus : public UpdateStatus {
public:
    explicit StatusBarUpdateStatus(QMainWindow* window) : m_window(window) {}
    ~StatusBarUpdateStatus() override { delete m_progress; }

    // The status timer would write the clerk's name over the check's texts.
    void begin() override {
        m_timer = m_window ? m_window->findChild<QTimer*>(QStringLiteral("statusTimer")) : nullptr;
        if (m_timer) m_timer->stop();
    }
    void setStatusText(const QString& text) override {
        if (auto* panel = m_window ? m_window->findChild<QLabel*>(QStringLiteral("statusPanel0")) : nullptr)
            panel->setText(text);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    void showProgress(qint64 range) override {
        if (!m_window) return;
        m_progress = new QProgressBar;
        m_progress->setObjectName(QStringLiteral("updateProgressBar"));
        m_progress->setRange(0, static_cast<int>(std::min<qint64>(range, INT_MAX)));
        m_window->statusBar()->addWidget(m_progress, 1);
    }
    void advanceProgress(qint64 bytes) override {
        if (!m_progress) return;
        m_progress->setValue(static_cast<int>(std::min<qint64>(m_progress->value() + bytes, m_progress->maximum())));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    void end() override {
        delete m_progress;
        m_progress = nullptr;
        if (m_timer) m_timer->start();
    }

private:
    QMainWindow* m_window;
    QProgressBar* m_progress = nullptr;
    QTimer* m_timer = nullptr;
};

}  // namespace

bool mailErrorReportNow(const IniFile& ini, TDataModule1* data, Prompt& prompt, const QString& reportPath,
                        const QString& screenshotPath) {
    const SupportSettings settings = loadSupportSettings(ini);
    return mailErrorReport(
        settings,
        errorReportMail(settings, readCompanyHeader(data), QDateTime::currentDateTime(), reportPath, screenshotPath),
        prompt, [](const mail::SmtpAccount& account, const mail::MailMessage& m) { mail::sendMail(account, m); });
}

void addSupportCommands(const std::function<void(const QString&, std::function<void()>)>& add,
                        const SupportCommandContext& c) {
    add(QStringLiteral("mHibajelentesekClick"), [c] {
        ErrorReportList list(c.programFolder, c.prompt, c.desktop);
        Thibajel window(list, c.prompt, c.mainWindow());
        window.exec();
    });
    add(QStringLiteral("mEszrevetelClick"), [c] {
        const CompanyHeader header = readCompanyHeader(&c.data);
        const SupportSettings settings = loadSupportSettings(c.ini());
        TeszrevetelForm window(
            initialFeedback(header),
            [&](const FeedbackInput& input) {
                sendFeedback(settings, feedbackMail(settings, header, input, QDateTime::currentDateTime()),
                             [](const mail::SmtpAccount& a, const mail::MailMessage& m) { mail::sendMail(a, m); });
            },
            c.prompt, c.mainWindow());
        window.exec();
    });
    add(QStringLiteral("InternetFriss"), [c] {
        StatusBarUpdateStatus status(c.mainWindow());
        const QDate buildDate = c.buildDate();
        UpdateCheck({.settings = loadSupportSettings(c.ini()),
                     .programFolder = c.programFolder,
                     .buildDate = buildDate,
                     .query = {.computerName = QSysInfo::machineHostName(),
                               .userName = gatherWorkstationFacts(c.programFolder).userName,
                               .ip = localIpAddress(),
                               .buildDate = dateText(buildDate),
                               .header = readCompanyHeader(&c.data)},
                     .prompt = c.prompt,
                     .status = status,
                     .start = [](const QString& program,
                                 const QString& folder) { return QProcess::startDetached(program, {}, folder); },
                     .endProgram = c.endProgram})
            .run();
    });
    // For support to try the error report: an error the program does not expect, as when a
    // window is made a second time under a name already taken.
    add(QStringLiteral("TBItem1Click"), [] { throw std::logic_error("A component named TSzamlar already exists."); });
}

}  // namespace kavina::support
