#include "support/nav/forms/NavSetupDialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "foundation/forms/DialogButtons.h"

namespace kavina::nav {

namespace {

QLineEdit* box(const QString& name, int maxLength) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setMaxLength(maxLength);
    edit->setMinimumWidth(320);
    return edit;
}

}  // namespace

NavSetupDialog::NavSetupDialog(QWidget* parent, NavSetup& logic) : QDialog(parent), m_logic(logic) {
    setWindowTitle(QStringLiteral("Online számla beállítások"));
    setObjectName(QStringLiteral("NavSetupDialog"));
    auto* layout = new QVBoxLayout(this);
    auto* intro =
        new QLabel(QStringLiteral("A NAV Online Számla rendszerében létrehozott technikai felhasználó adatai. "
                                  "A számlák ezek nélkül is elkészülnek, és beküldésre várnak."));
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto* form = new QFormLayout;
    m_login = box(QStringLiteral("loginLineEdit"), 15);
    m_password = box(QStringLiteral("passwordLineEdit"), 64);
    m_password->setEchoMode(QLineEdit::Password);
    m_signingKey = box(QStringLiteral("signingKeyLineEdit"), 64);
    m_exchangeKey = box(QStringLiteral("exchangeKeyLineEdit"), 16);
    // The keys are secrets too, but the administrator must be able to check what was pasted.
    m_signingKey->setEchoMode(QLineEdit::PasswordEchoOnEdit);
    m_exchangeKey->setEchoMode(QLineEdit::PasswordEchoOnEdit);
    m_taxNumber = box(QStringLiteral("taxNumberLineEdit"), 13);
    m_softwareId = box(QStringLiteral("softwareIdLineEdit"), 18);
    m_environment = new QComboBox;
    m_environment->setObjectName(QStringLiteral("environmentComboBox"));
    m_environment->addItems({QStringLiteral("Teszt rendszer"), QStringLiteral("Éles rendszer")});
    form->addRow(QStringLiteral("Technikai felhasználó:"), m_login);
    form->addRow(QStringLiteral("Jelszó:"), m_password);
    form->addRow(QStringLiteral("Aláírókulcs:"), m_signingKey);
    form->addRow(QStringLiteral("Cserekulcs:"), m_exchangeKey);
    form->addRow(QStringLiteral("Adószám:"), m_taxNumber);
    form->addRow(QStringLiteral("Szoftverazonosító:"), m_softwareId);
    form->addRow(QStringLiteral("Környezet:"), m_environment);
    layout->addLayout(form);
    addDialogButtons(this, layout, QStringLiteral("Elf&ogad"), QStringLiteral("&Mégsem"));

    const NavSetupFields f = m_logic.load();
    m_login->setText(f.login);
    m_password->setPlaceholderText(f.passwordStored ? QStringLiteral("(tárolva; üresen hagyva nem változik)")
                                                    : QStringLiteral("(nincs megadva)"));
    m_signingKey->setText(f.signingKey);
    m_exchangeKey->setText(f.exchangeKey);
    m_taxNumber->setText(f.taxNumber);
    m_softwareId->setText(f.softwareId);
    m_environment->setCurrentIndex(f.production ? 1 : 0);
}

void NavSetupDialog::accept() {
    NavSetupFields f;
    f.login = m_login->text();
    f.password = m_password->text();
    f.signingKey = m_signingKey->text();
    f.exchangeKey = m_exchangeKey->text();
    f.taxNumber = m_taxNumber->text();
    f.softwareId = m_softwareId->text();
    f.production = m_environment->currentIndex() == 1;
    if (m_logic.save(f)) QDialog::accept();
}

}  // namespace kavina::nav
