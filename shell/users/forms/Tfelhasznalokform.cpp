#include "shell/users/forms/Tfelhasznalokform.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "foundation/CatalogueFields.h"
#include "foundation/CommandBoundary.h"
#include "foundation/TableHandle.h"
#include "shell/users/Users.h"
#include "shell/users/forms/TUserSzerk.h"
#include "widgets/RecordGrid.h"

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
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("usersGrid"));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->verticalHeader()->hide();
    m_grid->setMinimumSize(420, 260);
    runCommand(m_admin.prompt(), [&] { m_users.refresh(); });
    m_list = std::make_unique<widgets::RecordGrid>(
        m_grid, m_users,
        std::vector<widgets::GridColumn>{{QStringLiteral("Felhasználó"), fields::Jogok::FELHASZNAL},
                                         {QStringLiteral("Jogosultság"), fields::Jogok::JOGOSULT}},
        m_admin.prompt());
    m_grid->setColumnWidth(0, 200);
    auto* add = button(this, QStringLiteral("Hozzáadás"), "addPushButton");
    auto* modify = button(this, QStringLiteral("Módosítá&s"), "modifyPushButton");
    auto* remove = button(this, QStringLiteral("&Törlés"), "deletePushButton");
    auto* leave = button(this, QStringLiteral("&Kilépés"), "leavePushButton");
    connect(add, &QPushButton::clicked, this, &Tfelhasznalokform::addUser);
    connect(modify, &QPushButton::clicked, this, &Tfelhasznalokform::modifyUser);
    connect(remove, &QPushButton::clicked, this, &Tfelhasznalokform::removeUser);
    connect(leave, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_grid, &QTableView::doubleClicked, this, &Tfelhasznalokform::modifyUser);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {add, modify, remove}) buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(leave);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid);
    layout->addLayout(buttons);
}

Tfelhasznalokform::~Tfelhasznalokform() = default;

void Tfelhasznalokform::addUser() {
    runCommand(m_admin.prompt(), [&] {
        TUserSzerk dialog(m_admin, m_admin.newUser(), true, this);
        m_run(dialog);
        m_users.refresh();
    });
}

void Tfelhasznalokform::modifyUser() {
    runCommand(m_admin.prompt(), [&] {
        if (m_users.isEmpty()) return;
        TUserSzerk dialog(m_admin, m_admin.currentUser(), false, this);
        m_run(dialog);
        m_users.refresh();
    });
}

void Tfelhasznalokform::removeUser() {
    runCommand(m_admin.prompt(), [&] { m_admin.removeCurrent(); });
}

}  // namespace kavina::shell
