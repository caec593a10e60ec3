#include "shell/users/forms/TJelszoForm.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "foundation/CommandBoundary.h"
#include "foundation/forms/DialogButtons.h"
#include "shell/users/Users.h"
#include "shell/users/forms/SessionPasswordBox.h"

namespace kavina::shell {

TJelszoForm::TJelszoForm(PasswordChange& change, QWidget* parent) : QDialog(parent), m_change(change) {
    setObjectName(QStringLiteral("TJelszoForm"));
    setWindowTitle(QStringLiteral("Jelszó módosítása"));
    m_old = passwordBox("oldPasswordLineEdit");
    m_new = passwordBox("newPasswordLineEdit");
    m_again = passwordBox("againPasswordLineEdit");
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Régi jelszó:"), m_old);
    form->addRow(QStringLiteral("Új jelszó:"), m_new);
    form->addRow(QStringLiteral("Új jelszó\nismét :"), m_again);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    addDialogButtons(this, layout, QStringLiteral("&Rendben"), QStringLiteral("&Mégse"));
}

QLineEdit* TJelszoForm::passwordBox(const char* name) {
    auto* box = new QLineEdit(this);
    box->setObjectName(QLatin1String(name));
    makePasswordBox(box);
    return box;
}

void TJelszoForm::accept() {
    runCommand(m_change.prompt(), [&] {
        if (m_change.accept(m_old->text(), m_new->text(), m_again->text())) QDialog::accept();
    });
}

}  // namespace kavina::shell
