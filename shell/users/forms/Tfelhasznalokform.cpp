#include "shell/users/forms/Tfelhasznalokform.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "foundation/TableHandle.h"
#include "shell/users/Users.h"
#include "shell/users/forms/TUserSzerk.h"

namespace kavina::shell {
namespace {

QPushButton* button(QWidget* parent, const QString& text, const char* name) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

}  // namespace

Tfelhasznalokform::Tfelhasznalokform(UserAdmin& admin, TableHandle& users, QWidget* parent)
    : QDialog(parent), m_admin(admin), m_users(users) {
    setObjectName(QStringLiteral("Tfelhasznalokform"));
    setWindowTitle(QStringLiteral("Felhasználók"));
    m_grid = new QTableWidget(0, 2, this);
    m_grid->setObjectName(QStringLiteral("usersTableWidget"));
    m_grid->setHorizontalHeaderLabels({QStringLiteral("Felhasználó"), QStringLiteral("Jogosultság")});
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setColumnWidth(0, 200);
    m_grid->verticalHeader()->hide();
    m_grid->setMinimumSize(420, 260);
    auto* add = button(this, QStringLiteral("Hozzáadás"), "addPushButton");
    auto* modify = button(this, QStringLiteral("Módosítá&s"), "modifyPushButton");
    auto* remove = button(this, QStringLiteral("&Törlés"), "deletePushButton");
    auto* leave = button(this, QStringLiteral("&Kilépés"), "leavePushButton");
    connect(add, &QPushButton::clicked, this, &Tfelhasznalokform::addUser);
    connect(modify, &QPushButton::clicked, this, &Tfelhasznalokform::modifyUser);
    connect(remove, &QPushButton::clicked, this, &Tfelhasznalokform::removeUser);
    connect(leave, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, &Tfelhasznalokform::modifyUser);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {add, modify, remove}) buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(leave);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid);
    layout->addLayout(buttons);
    reload();
}

void Tfelhasznalokform::reload() {
    m_users.refresh();
    const CursorMark current = m_users.bookmark();
    m_grid->setRowCount(0);
    int selected = 0;
    for (m_users.first(); !m_users.eof(); m_users.next()) {
        const int row = m_grid->rowCount();
        m_grid->insertRow(row);
        auto* name = new QTableWidgetItem(m_users.asString("FELHASZNAL"));
        name->setData(Qt::UserRole, QVariant::fromValue<qulonglong>(m_users.bookmark().id));
        m_grid->setItem(row, 0, name);
        m_grid->setItem(row, 1, new QTableWidgetItem(m_users.asString("JOGOSULT")));
        if (m_users.bookmark().id == current.id) selected = row;
    }
    if (m_grid->rowCount() > 0) m_grid->selectRow(selected);
    selectCurrent();
}

// Puts Jogok.dbf on the selected row's user.
bool Tfelhasznalokform::selectCurrent() {
    const int row = m_grid->currentRow();
    if (row < 0 || !m_grid->item(row, 0)) return false;
    return m_users.gotoBookmark({m_grid->item(row, 0)->data(Qt::UserRole).toULongLong()});
}

void Tfelhasznalokform::addUser() {
    TUserSzerk dialog(m_admin, m_admin.newUser(), true, this);
    m_run(dialog);
    reload();
}

void Tfelhasznalokform::modifyUser() {
    if (!selectCurrent()) return;
    TUserSzerk dialog(m_admin, m_admin.currentUser(), false, this);
    m_run(dialog);
    reload();
}

void Tfelhasznalokform::removeUser() {
    if (!selectCurrent()) return;
    m_admin.removeCurrent();
    reload();
}

}  // namespace kavina::shell
