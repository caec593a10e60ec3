#pragma once
// Tfelhasznalokform, the user list "Felhasználók": the users of Jogok.dbf with their roles,
// and "Hozzáadás", "Módosítá&s", "&Törlés", "&Kilépés". The selected row is the current
// record of Jogok.dbf; the user dialog opens on it.

#include <QDialog>
#include <functional>

class QTableWidget;

namespace kavina {
class TableHandle;
}

namespace kavina::shell {

class UserAdmin;

class Tfelhasznalokform : public QDialog {
    Q_OBJECT

public:
    // Runs a dialog modally; tests replace it so that no real modal dialog opens.
    using DialogRunner = std::function<int(QDialog&)>;

    Tfelhasznalokform(UserAdmin& admin, TableHandle& users, QWidget* parent = nullptr);

    void setDialogRunner(DialogRunner runner) { m_run = std::move(runner); }

    void addUser();
    void modifyUser();
    void removeUser();

private:
    void reload();
    bool selectCurrent();

    UserAdmin& m_admin;
    TableHandle& m_users;
    QTableWidget* m_grid;
    DialogRunner m_run = [](QDialog& dialog) { return dialog.exec(); };
};

}  // namespace kavina::shell
