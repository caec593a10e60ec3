#pragma once
// Tfelhasznalokform, the user list "Felhasználók": the users of Jogok.dbf with their roles,
// and "Hozzáadás", "Módosítá&s", "&Törlés", "&Kilépés". The list is a grid over the shared
// handle of Jogok.dbf: the highlighted row is its current record, and the user dialog and the
// deletion act on it. The logic is UserAdmin; this window only shows and forwards.

#include <QDialog>
#include <functional>
#include <memory>

class QTableView;

namespace kavina {
class TableHandle;
}
namespace kavina::widgets {
class RecordGrid;
}

namespace kavina::shell {

class UserAdmin;

class Tfelhasznalokform : public QDialog {
    Q_OBJECT

public:
    // Runs a dialog modally; tests replace it so that no real modal dialog opens.
    using DialogRunner = std::function<int(QDialog&)>;

    Tfelhasznalokform(UserAdmin& admin, TableHandle& users, QWidget* parent = nullptr);
    ~Tfelhasznalokform() override;

    void setDialogRunner(DialogRunner runner) { m_run = std::move(runner); }

    void addUser();
    void modifyUser();
    void removeUser();

private:
    UserAdmin& m_admin;
    TableHandle& m_users;
    QTableView* m_grid;
    std::unique_ptr<widgets::RecordGrid> m_list;
    DialogRunner m_run = [](QDialog& dialog) { return dialog.exec(); };
};

}  // namespace kavina::shell
