#pragma once
// TUserSzerk, the user dialog "Felhasználó adatai": name, role, the password twice and the
// rights check list. "Elf&ogad" runs every check of UserAdmin in one click; differing
// passwords turn both boxes red and put the focus in the first. "&Mégsem" stores nothing.

#include <QDialog>

#include "shell/users/Users.h"

class QComboBox;
class QLineEdit;
class QListWidget;

namespace kavina::shell {

class TUserSzerk : public QDialog {
    Q_OBJECT

public:
    TUserSzerk(UserAdmin& admin, const UserValues& values, bool isNew, QWidget* parent = nullptr);

    // What the boxes hold now.
    UserValues values() const;
    void accept() override;

private:
    void markPasswords(bool differ);

    UserAdmin& m_admin;
    bool m_isNew;
    QLineEdit* m_name;
    QComboBox* m_role;
    QLineEdit* m_password;
    QLineEdit* m_again;
    QListWidget* m_rights;
};

}  // namespace kavina::shell
