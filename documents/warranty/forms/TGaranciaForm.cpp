#include "documents/warranty/forms/TGaranciaForm.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "foundation/CatalogueFields.h"
#include "foundation/CommandBoundary.h"
#include "foundation/Prompt.h"
#include "widgets/FormParts.h"
#include "widgets/RecordGrid.h"

namespace kavina::documents {

namespace {

namespace G = fields::Garancia;
namespace L = fields::Garancia2;
using widgets::ColumnKind;

QLineEdit* readOnlyBox(const QString& name) {
    auto* box = new QLineEdit;
    box->setObjectName(name);
    box->setReadOnly(true);
    return box;
}

}  // namespace

TGaranciaForm::TGaranciaForm(QWidget* parent, WarrantyEditor& editor, Prompt& prompt)
    : QDialog(parent), m_editor(editor), m_prompt(prompt) {
    setObjectName(QStringLiteral("TGaranciaForm"));
    setWindowTitle(QStringLiteral("Garancialevél készítése"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(headerBox());
    layout->addWidget(linesBox(), 1);
    layout->addWidget(buttonRow());
    showHeader();
    m_partner->setFocus();
    resize(820, 600);
}

TGaranciaForm::~TGaranciaForm() {
    m_grid.reset();
}

QWidget* TGaranciaForm::headerBox() {
    auto* box = new QGroupBox(QStringLiteral("Garancialevél"));
    auto* grid = new QGridLayout(box);
    m_partner = readOnlyBox(QStringLiteral("partnerLineEdit"));
    m_partner->installEventFilter(this);
    m_address = readOnlyBox(QStringLiteral("addressLineEdit"));
    m_address->setFocusPolicy(Qt::NoFocus);
    m_invoice = readOnlyBox(QStringLiteral("invoiceLineEdit"));
    m_invoice->setToolTip(QStringLiteral("Dupla kattintásra kiválaszthatja a számlát."));
    m_invoice->installEventFilter(this);
    m_invoice->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_invoice, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        menu.addAction(QStringLiteral("Számla kiválasztása"), this, [this] { pickInvoice(); });
        menu.exec(m_invoice->mapToGlobal(at));
    });
    m_bought = widgets::dateBox(QStringLiteral("boughtDateEdit"));
    m_start = widgets::dateBox(QStringLiteral("startDateEdit"));
    m_end = widgets::dateBox(QStringLiteral("endDateEdit"));
    m_repair = widgets::dateBox(QStringLiteral("repairDateEdit"));
    const std::pair<QDateEdit*, Field> dates[] = {
        {m_bought, G::VASARLAS}, {m_start, G::GARKEZD}, {m_end, G::GARLEJAR}, {m_repair, G::TULJAV}};
    for (const auto& [box, field] : dates)
        connect(box, &QDateEdit::dateChanged, this, [this, f = field](const QDate& d) { dateEdited(f, d); });
    grid->addWidget(new QLabel(QStringLiteral("Partner neve:")), 0, 0);
    grid->addWidget(m_partner, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Partner címe:")), 1, 0);
    grid->addWidget(m_address, 1, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Számlaszám:")), 2, 0);
    grid->addWidget(m_invoice, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Vásárlás ideje:")), 3, 0);
    grid->addWidget(m_bought, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("Garancia kezdete:")), 3, 2);
    grid->addWidget(m_start, 3, 3);
    grid->addWidget(new QLabel(QStringLiteral("Garancia lejár:")), 4, 0);
    grid->addWidget(m_end, 4, 1);
    grid->addWidget(new QLabel(QStringLiteral("Garanciaidőn túli jav.:")), 4, 2);
    grid->addWidget(m_repair, 4, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return box;
}

QWidget* TGaranciaForm::linesBox() {
    auto* box = new QWidget;
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    m_lines = widgets::listView(QStringLiteral("linesGrid"));
    m_grid = std::make_unique<widgets::RecordGrid>(
        m_lines, m_editor.document().gari2,
        std::vector<widgets::GridColumn>{{QStringLiteral("Megnevezés"), L::MEGNEVEZES},
                                         {QStringLiteral("Gyáriszám"), L::GYARISZAM},
                                         {QStringLiteral("Mennyiség"), L::MENNYISEG, false, ColumnKind::Number},
                                         {QStringLiteral("Egység"), L::EGYSEG},
                                         {QStringLiteral("Nettó ár"), L::NETTO_AR, false, ColumnKind::Money}},
        m_prompt);
    m_lines->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    connect(m_lines, &QTableView::doubleClicked, this, [this] { editSerial(); });
    layout->addWidget(m_lines, 1);
    auto* column = new QVBoxLayout;
    connect(widgets::addPushButton(column, QStringLiteral("Új tétel"), QStringLiteral("newLinePushButton")),
            &QPushButton::clicked, this, [this] { newLine(); });
    connect(widgets::addPushButton(column, QStringLiteral("Gyáriszám"), QStringLiteral("serialPushButton")),
            &QPushButton::clicked, this, [this] { editSerial(); });
    connect(widgets::addPushButton(column, QStringLiteral("Törlés"), QStringLiteral("deleteLinePushButton")),
            &QPushButton::clicked, this, [this] { deleteLine(); });
    column->addStretch(1);
    layout->addLayout(column);
    m_lines->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_lines, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        menu.addAction(QStringLiteral("Új tétel"), this, [this] { newLine(); });
        menu.addAction(QStringLiteral("Gyáriszám"), this, [this] { editSerial(); });
        menu.addAction(QStringLiteral("Töröl"), this, [this] { deleteLine(); });
        menu.addAction(QStringLiteral("Mégsem"));
        menu.exec(m_lines->viewport()->mapToGlobal(at));
    });
    return box;
}

QWidget* TGaranciaForm::buttonRow() {
    auto* w = new QWidget;
    auto* layout = new QHBoxLayout(w);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch(1);
    connect(widgets::addPushButton(layout, QStringLiteral("&Nyomtatás"), QStringLiteral("printPushButton")),
            &QPushButton::clicked, this, [this] { print(); });
    QPushButton* previewButton =
        widgets::addPushButton(layout, QStringLiteral("&Előnézet"), QStringLiteral("previewPushButton"));
    connect(previewButton, &QPushButton::clicked, this, [this, previewButton] {
        previewButton->setEnabled(false);
        preview();
        previewButton->setEnabled(true);
    });
    connect(widgets::addPushButton(layout, QStringLiteral("&Kilépés"), QStringLiteral("closePushButton")),
            &QPushButton::clicked, this, [this] { reject(); });
    return w;
}

void TGaranciaForm::showHeader() {
    const MemTable& h = m_editor.document().gari;
    m_showing = true;
    m_partner->setText((h.asString(G::NEV).trimmed() + QLatin1Char(' ') + h.asString(G::NEV1).trimmed()).trimmed());
    const QString address =
        QStringLiteral("%1 %2, %3")
            .arg(h.asString(G::IRSZ).trimmed(), h.asString(G::VAROS).trimmed(), h.asString(G::CIM).trimmed());
    m_address->setText(address.trimmed() == QLatin1String(",") ? QString() : address.trimmed());
    m_invoice->setText(h.asString(G::SZAMLASZAM).trimmed());
    m_bought->setDate(h.asDate(G::VASARLAS));
    m_start->setDate(h.asDate(G::GARKEZD));
    m_end->setDate(h.asDate(G::GARLEJAR));
    m_repair->setDate(h.asDate(G::TULJAV));
    m_showing = false;
    setWindowTitle(QStringLiteral("Garancialevél készítése - ") + h.asString(G::SORSZAM).trimmed());
}

void TGaranciaForm::dateEdited(const Field& field, const QDate& date) {
    if (m_showing) return;
    run([&] {
        MemTable& h = m_editor.document().gari;
        h.edit();
        h.setDate(field, date);
        h.post();
        if (field.name == G::GARLEJAR.name) m_editor.endDateTyped();
    });
}

void TGaranciaForm::run(const std::function<void()>& work) {
    runCommand(m_prompt, work);
}

void TGaranciaForm::pickPartner() {
    run([this] {
        if (m_editor.pickPartner()) showHeader();
    });
}

void TGaranciaForm::pickInvoice() {
    run([this] {
        if (m_editor.pickInvoice()) showHeader();
    });
}

void TGaranciaForm::newLine() {
    run([this] {
        if (m_editor.pickLines()) showHeader();
    });
}

void TGaranciaForm::editSerial() {
    run([this] { m_editor.editSerial(); });
}

void TGaranciaForm::deleteLine() {
    run([this] { m_editor.deleteLine(); });
}

void TGaranciaForm::print() {
    run([this] {
        if (m_editor.save()) accept();
    });
}

void TGaranciaForm::preview() {
    run([this] { m_editor.preview(); });
}

void TGaranciaForm::reject() {
    bool leave = false;
    run([&] { leave = m_editor.leave(); });
    if (leave) QDialog::reject();
}

bool TGaranciaForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_invoice && event->type() == QEvent::MouseButtonDblClick) {
        pickInvoice();
        return true;
    }
    if (watched != m_partner) return QDialog::eventFilter(watched, event);
    if (widgets::opensPicker(event)) {
        pickPartner();
        return true;
    }
    return false;
}

}  // namespace kavina::documents
