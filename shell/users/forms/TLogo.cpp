#include "shell/users/forms/TLogo.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QThread>
#include <QTimer>

#include "foundation/CommandBoundary.h"
#include "foundation/Desktop.h"
#include "shell/startup/SessionState.h"
#include "shell/users/Login.h"
#include "shell/users/Users.h"
#include "ui_TLogo.h"

namespace kavina::shell {

QPixmap logoPicture() {
    QPixmap picture(420, 120);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, 420, 120);
    background.setColorAt(0, QColor(22, 78, 142));
    background.setColorAt(1, QColor(64, 148, 196));
    painter.fillRect(picture.rect(), background);
    painter.setPen(QColor(255, 255, 255, 60));
    for (int x = -120; x < 420; x += 24) painter.drawLine(x, 120, x + 120, 0);
    painter.setPen(Qt::white);
    QFont title(QStringLiteral("DejaVu Sans"), 34, QFont::Bold);
    painter.setFont(title);
    painter.drawText(QRect(24, 14, 380, 60), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Kavina"));
    QFont subtitle(QStringLiteral("DejaVu Sans"), 10);
    painter.setFont(subtitle);
    painter.drawText(QRect(26, 72, 380, 30), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Számlázás és készletnyilvántartás"));
    return picture;
}

TLogo::TLogo(SessionState& state, Desktop& desktop, QUrl webSite, QWidget* parent)
    : QDialog(parent),
      m_ui(std::make_unique<Ui::TLogo>()),
      m_state(state),
      m_desktop(desktop),
      m_webSite(std::move(webSite)) {
    m_ui->setupUi(this);
    m_ui->pictureLabel->setPixmap(logoPicture());
    m_ui->pictureLabel->installEventFilter(this);
    m_ui->buildLabel->setText(QStringLiteral("build: ") + state.session.buildDate);
    m_ui->splashProgressBar->hide();
    // "&Belépés" is the default button: Enter in the password box presses it.
    connect(m_ui->loginPushButton, &QPushButton::clicked, this, &TLogo::signIn);
    connect(m_ui->leavePushButton, &QPushButton::clicked, this, &QDialog::reject);
    fillUsers();
    QTimer::singleShot(kFirstUserDelayMs, this, &TLogo::createFirstUser);
}

TLogo::~TLogo() = default;

void TLogo::fillUsers() {
    m_ui->userComboBox->clear();
    m_ui->userComboBox->addItems(userNames(m_state.data.JogTable()));
}

void TLogo::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_state.data.JogTable().first();
    if (m_ui->userComboBox->count() > 0 && m_ui->loginPushButton->isVisible()) m_ui->userComboBox->setCurrentIndex(0);
    m_ui->passwordLineEdit->setFocus();
}

void TLogo::signIn() {
    runCommand(m_state.prompt, [this] {
        Login login(m_state.data.JogTable(), *m_state.log, m_state.session, m_state.prompt, m_state.clock);
        switch (login.signIn(m_ui->userComboBox->currentText(), m_ui->passwordLineEdit->text())) {
            case LoginOutcome::SignedIn:
                m_signedIn = true;
                accept();
                break;
            case LoginOutcome::Refused: reject(); break;
            case LoginOutcome::TryAgain:
                m_ui->passwordLineEdit->selectAll();
                m_ui->passwordLineEdit->setFocus();
                break;
        }
    });
}

void TLogo::createFirstUser() {
    if (m_signedIn) return;
    runCommand(m_state.prompt, [this] {
        Login login(m_state.data.JogTable(), *m_state.log, m_state.session, m_state.prompt, m_state.clock);
        const std::optional<QString> name = login.createFirstUser();
        if (!name) return;
        fillUsers();
        m_ui->userComboBox->setEditText(*name);
        signIn();
    });
}

void TLogo::runSplash() {
    m_ui->loginPushButton->hide();
    m_ui->leavePushButton->hide();
    m_ui->userComboBox->setEditText(m_state.session.currentUser);
    m_ui->userComboBox->setEnabled(false);
    m_ui->passwordLabel->hide();
    m_ui->passwordLineEdit->hide();
    m_ui->splashProgressBar->show();
    show();
    activateWindow();
    for (int step = 1; step <= 100; ++step) {
        m_ui->splashProgressBar->setValue(step);
        repaint();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(kSplashStepMs);
    }
}

bool TLogo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_ui->pictureLabel && event->type() == QEvent::MouseButtonRelease)
        m_desktop.openFile(m_webSite.toString());
    return QDialog::eventFilter(watched, event);
}

}  // namespace kavina::shell
