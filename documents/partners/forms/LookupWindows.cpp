#include "documents/partners/forms/LookupWindows.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "documents/partners/forms/QtPartnerWindows.h"
#include "foundation/CatalogueFields.h"
#include "foundation/CommandBoundary.h"
#include "foundation/forms/DialogButtons.h"
#include "widgets/RecordGrid.h"

namespace kavina::documents {

namespace {

QTableView* listView(const QString& objectName) {
    auto* grid = new QTableView;
    grid->setObjectName(objectName);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

QPushButton* addButton(QBoxLayout* layout, const QString& text, const QString& objectName) {
    auto* b = new QPushButton(text);
    b->setObjectName(objectName);
    layout->addWidget(b);
    return b;
}

}  // namespace

Tpcsopform::Tpcsopform(QWidget* parent, TDataModule1& data, Prompt& prompt)
    : QDialog(parent), m_prompt(prompt), m_groups(data, prompt) {
    setObjectName(QStringLiteral("Tpcsopform"));
    setWindowTitle(QStringLiteral("Partner csoportok"));
    auto* layout = new QHBoxLayout(this);
    m_grid = listView(QStringLiteral("groupGrid"));
    m_list = std::make_unique<widgets::RecordGrid>(
        m_grid, data.PcsopTable(),
        std::vector<widgets::GridColumn>{{QStringLiteral("Partner csoportok"), fields::PCsoport::PCSOPORT}}, prompt);
    layout->addWidget(m_grid, 1);
    auto* buttons = new QVBoxLayout;
    connect(addButton(buttons, QStringLiteral("Új csoport"), QStringLiteral("newPushButton")), &QPushButton::clicked,
            this, [this] { run(&PartnerGroups::add); });
    connect(addButton(buttons, QStringLiteral("Módosítá&s"), QStringLiteral("modifyPushButton")), &QPushButton::clicked,
            this, [this] { run(&PartnerGroups::modifyCurrent); });
    connect(addButton(buttons, QStringLiteral("&Törlés"), QStringLiteral("deletePushButton")), &QPushButton::clicked,
            this, [this] { run(&PartnerGroups::deleteCurrent); });
    buttons->addStretch(1);
    connect(addButton(buttons, QStringLiteral("&Kilépés"), QStringLiteral("closePushButton")), &QPushButton::clicked,
            this, &QDialog::reject);
    layout->addLayout(buttons);
    resize(420, 360);
}

Tpcsopform::~Tpcsopform() = default;

void Tpcsopform::run(bool (PartnerGroups::*action)()) {
    runCommand(m_prompt, [&] { (m_groups.*action)(); });
}

TTelepSzerk::TTelepSzerk(QWidget* parent, const QString& postcode, const QString& town) : QDialog(parent) {
    setObjectName(QStringLiteral("TTelepSzerk"));
    setWindowTitle(QStringLiteral("Szerkesztés"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_postcode = new QLineEdit(postcode);
    m_postcode->setObjectName(QStringLiteral("postcodeLineEdit"));
    m_postcode->setMaxLength(4);
    m_town = new QLineEdit(town);
    m_town->setObjectName(QStringLiteral("townLineEdit"));
    m_town->setMaxLength(30);
    form->addRow(QStringLiteral("Irányítószám :"), m_postcode);
    form->addRow(QStringLiteral("Település :"), m_town);
    layout->addLayout(form);
    addDialogButtons(this, layout, QStringLiteral("&Elfogad"), QStringLiteral("&Mégsem"));
}

QString TTelepSzerk::postcode() const {
    return m_postcode->text();
}
QString TTelepSzerk::town() const {
    return m_town->text();
}

Ttelepulesform::Ttelepulesform(QWidget* parent, TDataModule1& data, Prompt& prompt, PartnerWindows* windows)
    : QDialog(parent),
      m_prompt(prompt),
      m_ownWindows(windows ? nullptr : std::make_unique<QtPartnerWindows>(this, data, prompt, PartnerFormOptions{})),
      m_settlements(data, prompt, windows ? *windows : *m_ownWindows) {
    setObjectName(QStringLiteral("Ttelepulesform"));
    setWindowTitle(QStringLiteral("Települések"));
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* searches = new QHBoxLayout;
    auto* byPostcode = new QLineEdit;
    byPostcode->setObjectName(QStringLiteral("postcodeSearchLineEdit"));
    byPostcode->setMaximumWidth(80);
    auto* byName = new QLineEdit;
    byName->setObjectName(QStringLiteral("nameSearchLineEdit"));
    searches->addWidget(byPostcode);
    searches->addWidget(byName, 1);
    left->addLayout(searches);
    m_grid = listView(QStringLiteral("settlementGrid"));
    m_list = std::make_unique<widgets::RecordGrid>(
        m_grid, data.TelepTable(),
        std::vector<widgets::GridColumn>{{QStringLiteral("Irsz."), fields::Telep::IRSZAM},
                                         {QStringLiteral("Település"), fields::Telep::TELEPULES}},
        prompt);
    left->addWidget(m_grid, 1);
    layout->addLayout(left, 1);
    auto* buttons = new QVBoxLayout;
    connect(addButton(buttons, QStringLiteral("Hozzáadás"), QStringLiteral("newPushButton")), &QPushButton::clicked,
            this, [this] { edit(true); });
    connect(addButton(buttons, QStringLiteral("Módosítá&s"), QStringLiteral("modifyPushButton")), &QPushButton::clicked,
            this, [this] { edit(false); });
    connect(addButton(buttons, QStringLiteral("&Törlés"), QStringLiteral("deletePushButton")), &QPushButton::clicked,
            this, [this] { runCommand(m_prompt, [&] { m_settlements.deleteCurrent(); }); });
    buttons->addStretch(1);
    connect(addButton(buttons, QStringLiteral("&Kilépés"), QStringLiteral("closePushButton")), &QPushButton::clicked,
            this, &QDialog::reject);
    layout->addLayout(buttons);
    connect(byPostcode, &QLineEdit::textChanged, this,
            [this](const QString& text) { runCommand(m_prompt, [&] { m_settlements.searchPostcode(text); }); });
    connect(byName, &QLineEdit::textChanged, this,
            [this](const QString& text) { runCommand(m_prompt, [&] { m_settlements.searchName(text); }); });
    resize(460, 420);
}

Ttelepulesform::~Ttelepulesform() = default;

void Ttelepulesform::edit(bool isNew) {
    runCommand(m_prompt, [&] { isNew ? m_settlements.add() : m_settlements.modifyCurrent(); });
}

}  // namespace kavina::documents
