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
#include "widgets/RecordGridModel.h"

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

void bindSelection(QTableView* grid, widgets::RecordGridModel* model) {
    QObject::connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, grid,
                     [model](const QModelIndex& current) { model->moveTo(current.row()); });
}

void showCurrent(QTableView* grid, widgets::RecordGridModel* model) {
    const QSignalBlocker quiet(grid->selectionModel());
    if (model->currentRow() >= 0) grid->selectRow(model->currentRow());
}

}  // namespace

Tpcsopform::Tpcsopform(QWidget* parent, TDataModule1& data, Prompt& prompt)
    : QDialog(parent), m_prompt(prompt), m_groups(data, prompt) {
    setObjectName(QStringLiteral("Tpcsopform"));
    setWindowTitle(QStringLiteral("Partner csoportok"));
    auto* layout = new QHBoxLayout(this);
    m_grid = listView(QStringLiteral("groupGrid"));
    m_model = std::make_unique<widgets::RecordGridModel>(
        data.PcsopTable(),
        std::vector<widgets::GridColumn>{{QStringLiteral("Partner csoportok"), fields::PCsoport::PCSOPORT}});
    m_grid->setModel(m_model.get());
    bindSelection(m_grid, m_model.get());
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
    showCurrent(m_grid, m_model.get());
    resize(420, 360);
}

Tpcsopform::~Tpcsopform() = default;

void Tpcsopform::run(bool (PartnerGroups::*action)()) {
    runCommand(m_prompt, [&] {
        if (!(m_groups.*action)()) return;
        m_model->reload();
        showCurrent(m_grid, m_model.get());
    });
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

Ttelepulesform::Ttelepulesform(QWidget* parent, TDataModule1& data, Prompt& prompt)
    : QDialog(parent),
      m_prompt(prompt),
      m_windows(std::make_unique<QtPartnerWindows>(this, data, prompt, PartnerFormOptions{})),
      m_settlements(data, prompt, *m_windows) {
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
    m_model = std::make_unique<widgets::RecordGridModel>(
        data.TelepTable(), std::vector<widgets::GridColumn>{{QStringLiteral("Irsz."), fields::Telep::IRSZAM},
                                                            {QStringLiteral("Település"), fields::Telep::TELEPULES}});
    m_grid->setModel(m_model.get());
    bindSelection(m_grid, m_model.get());
    left->addWidget(m_grid, 1);
    layout->addLayout(left, 1);
    auto* buttons = new QVBoxLayout;
    connect(addButton(buttons, QStringLiteral("Hozzáadás"), QStringLiteral("newPushButton")), &QPushButton::clicked,
            this, [this] { edit(true); });
    connect(addButton(buttons, QStringLiteral("Módosítá&s"), QStringLiteral("modifyPushButton")), &QPushButton::clicked,
            this, [this] { edit(false); });
    connect(addButton(buttons, QStringLiteral("&Törlés"), QStringLiteral("deletePushButton")), &QPushButton::clicked,
            this, [this] {
                runCommand(m_prompt, [&] {
                    if (m_settlements.deleteCurrent()) reload();
                });
            });
    buttons->addStretch(1);
    connect(addButton(buttons, QStringLiteral("&Kilépés"), QStringLiteral("closePushButton")), &QPushButton::clicked,
            this, &QDialog::reject);
    layout->addLayout(buttons);
    connect(byPostcode, &QLineEdit::textChanged, this, [this](const QString& text) {
        runCommand(m_prompt, [&] { m_settlements.searchPostcode(text); });
        showCurrent(m_grid, m_model.get());
    });
    connect(byName, &QLineEdit::textChanged, this, [this](const QString& text) {
        runCommand(m_prompt, [&] { m_settlements.searchName(text); });
        showCurrent(m_grid, m_model.get());
    });
    showCurrent(m_grid, m_model.get());
    resize(460, 420);
}

Ttelepulesform::~Ttelepulesform() = default;

void Ttelepulesform::edit(bool isNew) {
    runCommand(m_prompt, [&] {
        if (isNew ? m_settlements.add() : m_settlements.modifyCurrent()) reload();
    });
}

void Ttelepulesform::reload() {
    m_model->reload();
    showCurrent(m_grid, m_model.get());
}

}  // namespace kavina::documents
