#include "invoicing/register/forms/InvoiceReprintWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "foundation/CatalogueFields.h"
#include "foundation/CommandBoundary.h"
#include "widgets/RecordGrid.h"

namespace kavina::invoicing {

namespace {

namespace H = fields::Szamla;

std::vector<widgets::GridColumn> invoiceColumns() {
    const widgets::ColumnKind number = widgets::ColumnKind::Number;
    const widgets::ColumnKind money = widgets::ColumnKind::Money;
    return {{QStringLiteral("T."), H::SZAMLATIP},
            {QStringLiteral("Számlaszám"), H::SZAMLASZAM, true},
            {QStringLiteral("Fizető neve"), H::NEV},
            {QStringLiteral("Ir. szám."), H::IRSZAM},
            {QStringLiteral("Település"), H::VAROS},
            {QStringLiteral("Cím"), H::CIM},
            {QStringLiteral("Fizetési mód"), H::FIZMOD},
            {QStringLiteral("Készült"), H::KIALLIT},
            {QStringLiteral("Teljesítve"), H::TELJESIT},
            {QStringLiteral("Határidő"), H::FIZHAT},
            {QStringLiteral("ÁFA alap"), H::AFAALAP, false, money},
            {QStringLiteral("ÁFA (%)"), H::AFA, false, number},
            {QStringLiteral("ÁFA (Ft)"), H::AFAFT, false, money},
            {QStringLiteral("Fizetendő"), H::FIZETENDO, false, money},
            {QStringLiteral("Fizetve"), H::FIZDATUM}};
}

QPushButton* button(const QString& text, const QString& objectName) {
    auto* b = new QPushButton(text);
    b->setObjectName(objectName);
    b->setAutoDefault(false);
    return b;
}

}  // namespace

InvoiceReprintWindow::InvoiceReprintWindow(QWidget* parent, TDataModule1& data, Prompt& prompt, InvoiceReprint& logic)
    : QDialog(parent), m_prompt(prompt), m_logic(logic) {
    setObjectName(QStringLiteral("InvoiceReprintWindow"));
    setWindowTitle(QStringLiteral("Kérem válasszon..."));
    auto* layout = new QVBoxLayout(this);
    m_grid = new QTableView;
    m_grid->setObjectName(QStringLiteral("invoiceGrid"));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    layout->addWidget(m_grid, 1);
    auto* row = new QHBoxLayout;
    m_start = new QLabel;
    m_start->setObjectName(QStringLiteral("startLabel"));
    row->addWidget(m_start, 1);
    QPushButton* from = button(QStringLiteral("Ettől"), QStringLiteral("fromPushButton"));
    QPushButton* to = button(QStringLiteral("Eddig"), QStringLiteral("toPushButton"));
    QPushButton* choose = button(QStringLiteral("&Választ"), QStringLiteral("choosePushButton"));
    QPushButton* close = button(QStringLiteral("Bezár"), QStringLiteral("closePushButton"));
    for (QPushButton* b : {from, to, choose, close}) row->addWidget(b);
    layout->addLayout(row);
    runCommand(m_prompt, [&] {
        m_logic.open();
        m_list = std::make_unique<widgets::RecordGrid>(m_grid, data.SzamlaTable(), invoiceColumns(), m_prompt);
        m_list->model().setSortColumn(1);
    });
    const int widths[] = {28, 120, 200, 60, 120, 180, 90, 80, 80, 80, 90, 55, 80, 95, 80};
    for (int c = 0; c < 15; ++c) m_grid->setColumnWidth(c, widths[c]);
    connect(from, &QPushButton::clicked, this, [this] {
        runCommand(m_prompt, [&] { m_logic.markStart(); });
        m_start->setText(m_logic.start() ? QStringLiteral("Ettől: ") + *m_logic.start() : QString());
    });
    connect(to, &QPushButton::clicked, this, [this] {
        runCommand(m_prompt, [&] { m_logic.printRange(); });
        if (m_list) m_list->showCurrent();
    });
    connect(choose, &QPushButton::clicked, this, &InvoiceReprintWindow::choose);
    connect(m_grid, &QTableView::doubleClicked, this, &InvoiceReprintWindow::choose);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    resize(1200, 640);
}

InvoiceReprintWindow::~InvoiceReprintWindow() = default;

void InvoiceReprintWindow::choose() {
    bool close = false;
    runCommand(m_prompt, [&] { close = m_logic.choose(); });
    if (!close) return;
    m_chosen = true;
    accept();
}

void InvoiceReprintWindow::done(int result) {
    m_list.reset();
    runCommand(m_prompt, [&] { m_logic.close(); });
    QDialog::done(result);
}

}  // namespace kavina::invoicing
