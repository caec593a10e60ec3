#pragma once
// TJelszoForm, "Jelszó módosítása": the old password and the new one twice; "&Rendben"
// stores the new one through PasswordChange and closes, "&Mégse" closes.

#include <QDialog>

class QLineEdit;

namespace kavina::shell {

class PasswordChange;

class TJelszoForm : public QDialog {
    Q_OBJECT

public:
    TJelszoForm(PasswordChange& change, QWidget* parent = nullptr);

    void accept() override;

private:
    QLineEdit* passwordBox(const char* name);

    PasswordChange& m_change;
    QLineEdit* m_old;
    QLineEdit* m_new;
    QLineEdit* m_again;
};

}  // namespace kavina::shell
