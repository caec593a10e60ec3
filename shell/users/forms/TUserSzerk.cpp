#include "shell/users/forms/TUserSzerk.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include "foundation/CommandBoundary.h"
#include "foundation/forms/DialogButtons.h"
#include "shell/users/Rights.h"
#include "shell/users/forms/SessionPasswordBox.h"

namespace kavina::shell {
namespace {

constexpr int kNameWidth = 40;

}  // namespace

TUserSzerk::TUserSzerk(UserAdmin& admin, const UserValues& values, bool isNew, QWidget* parent)
    : QDialog(parent), m_admin(admin), m_isNew(isNew) {
    setObjectName(QStringLiteral("TUserSzerk"));
    setWindowTitle(QStringLiteral("Felhasználó adatai"));
    m_name = new QLineEdit(values.name, this);
    m_name->setObjectName(QStringLiteral("nameLineEdit"));
    m_name->setMaxLength(kNameWidth);
    m_role = new QComboBox(this);
    m_role->setObjectName(QStringLiteral("roleComboBox"));
    for (const QString& role : roles()) m_role->addItem(role);
    if (!values.role.isEmpty() && m_role->findText(values.role) < 0) m_role->addItem(values.role);
    m_role->setCurrentIndex(m_role->findText(values.role));
    m_password = new QLineEdit(values.password, this);
    m_password->setObjectName(QStringLiteral("passwordLineEdit"));
    makePasswordBox(m_password);
    m_again = new QLineEdit(values.passwordAgain, this);
    m_again->setObjectName(QStringLiteral("againLineEdit"));
    makePasswordBox(m_again);
    m_rights = new QListWidget(this);
    m_rights->setObjectName(QStringLiteral("rightsListWidget"));
    const auto& letters = rightLetters();
    for (size_t i = 0; i < letters.size(); ++i) {
        auto* item = new QListWidgetItem(letters[i].caption, m_rights);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(i < values.rights.size() && values.rights[i] ? Qt::Checked : Qt::Unchecked);
    }
    m_rights->setMinimumHeight(m_rights->sizeHintForRow(0) * m_rights->count() + 2 * m_rights->frameWidth());
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Felhasználó :"), m_name);
    form->addRow(QStringLiteral("Jogosultság :"), m_role);
    form->addRow(QStringLiteral("Jelszó :"), m_password);
    form->addRow(QStringLiteral("Jelszó ismét:"), m_again);
    form->addRow(QStringLiteral("Jogok:"), m_rights);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    addDialogButtons(this, layout, QStringLiteral("Elf&ogad"), QStringLiteral("&Mégsem"));
}

UserValues TUserSzerk::values() const {
    UserValues values{m_name->text(), m_role->currentText(), m_password->text(), m_again->text(), {}};
    for (int i = 0; i < m_rights->count(); ++i) values.rights.push_back(m_rights->item(i)->checkState() == Qt::Checked);
    return values;
}

void TUserSzerk::accept() {
    runCommand(m_admin.prompt(), [&] {
        const UserDialogResult result = m_admin.accept(values(), m_isNew);
        markPasswords(result.passwordsDiffer);
        if (result.stored) QDialog::accept();
    });
}

void TUserSzerk::markPasswords(bool differ) {
    const QString style = QStringLiteral("lineedit-password-character: 42;") +
                          (differ ? QStringLiteral(" background-color: red;") : QString());
    m_password->setStyleSheet(style);
    m_again->setStyleSheet(style);
    if (differ) m_password->setFocus();
}

}  // namespace kavina::shell
