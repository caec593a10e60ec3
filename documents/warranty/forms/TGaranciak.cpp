#include "documents/warranty/forms/TGaranciak.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "foundation/CatalogueFields.h"
#include "foundation/CommandBoundary.h"
#include "foundation/FieldFilter.h"
#include "foundation/TextFormat.h"
#include "widgets/FormParts.h"
#include "widgets/RecordGrid.h"

namespace kavina::documents {

namespace {

namespace G = fields::Garancia;
namespace L = fields::Garancia2;
using widgets::ColumnKind;
using widgets::GridColumn;

void restrictToYear(TableHandle& certificates, bool archive, const QDate& today) {
    using namespace filter;
    const int year = today.year();
    restrictExactly(certificates, archive ? G::GARKEZD.text() + " < " + constant(dateText(QDate(year, 1, 1)))
                                          : G::GARKEZD.text() + " > " + constant(dateText(QDate(year - 1, 12, 31))));
}

}  // namespace

TGaranciak::TGaranciak(QWidget* parent, const WarrantyCommandContext& context, Mode mode)
    : QDialog(parent), m_context(context), m_mode(mode) {
    setObjectName(mode == Mode::List ? QStringLiteral("TGaranciak") : QStringLiteral("warrantyChoice"));
    setWindowTitle(mode == Mode::List ? QStringLiteral("Garancialevelek") : QStringLiteral("Kérem válasszon..."));
    TableHandle& certificates = m_context.data.GaranciaTable();
    certificates.refresh();
    if (mode == Mode::Choose) restrictToYear(certificates, false, m_context.today());
    certificates.first();
    build();
    if (mode == Mode::List) {
        m_refresh.setInterval(10000);
        connect(&m_refresh, &QTimer::timeout, this, [this] { refresh(); });
        m_refresh.start();
    }
    resize(1000, 620);
}

TGaranciak::~TGaranciak() {
    m_grid.reset();
    m_lineGrid.reset();
    filter::removeRestriction(m_context.data.GaranciaTable());
}

void TGaranciak::build() {
    auto* layout = new QVBoxLayout(this);
    if (m_mode == Mode::Choose) {
        auto* heading = new QLabel(QStringLiteral("garancialevelet"));
        QFont font = heading->font();
        font.setBold(true);
        heading->setFont(font);
        layout->addWidget(heading);
    }
    m_view = widgets::listView(QStringLiteral("warrantyGrid"));
    std::vector<GridColumn> columns;
    if (m_mode == Mode::List)
        columns = {{"Sorszám", G::SORSZAM},
                   {"Név", G::NEV},
                   {"Irsz.", G::IRSZ},
                   {"Település", G::VAROS},
                   {"Cím", G::CIM},
                   {"Ügyintéző", G::UGYINTEZO},
                   {"Vásárlás", G::VASARLAS, false, ColumnKind::Day},
                   {"Gar. kezdet", G::GARKEZD, false, ColumnKind::Day},
                   {"Gar. lejár", G::GARLEJAR, false, ColumnKind::Day},
                   {"Garancián túli jav.", G::TULJAV, false, ColumnKind::Day}};
    else
        columns = {{"Gar.lev. sz.", G::SORSZAM},
                   {"Számlaszám", G::SZAMLASZAM},
                   {"Fizető neve", G::NEV},
                   {"Település", G::VAROS},
                   {"Cím", G::CIM}};
    m_grid = std::make_unique<widgets::RecordGrid>(m_view, m_context.data.GaranciaTable(), columns, m_context.prompt);
    m_view->resizeColumnsToContents();
    layout->addWidget(m_view, 2);
    auto* buttons = new QHBoxLayout;
    if (m_mode == Mode::List) {
        QTableView* lines = widgets::listView(QStringLiteral("warrantyLinesGrid"));
        m_lineGrid = std::make_unique<widgets::RecordGrid>(
            lines, m_current.gari2,
            std::vector<GridColumn>{{"Megnevezés", L::MEGNEVEZES},
                                    {"Gyáriszám", L::GYARISZAM},
                                    {"Mennyiség", L::MENNYISEG, false, ColumnKind::Number},
                                    {"Egység", L::EGYSEG},
                                    {"Nettó ár", L::NETTO_AR, false, ColumnKind::Money}},
            m_context.prompt);
        lines->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
        layout->addWidget(lines, 1);
        QPushButton* archive =
            widgets::addPushButton(buttons, QStringLiteral("Arhívum"), QStringLiteral("archivePushButton"));
        archive->setCheckable(true);
        connect(archive, &QPushButton::toggled, this, [this](bool on) { setArchive(on); });
        connect(widgets::addPushButton(buttons, QStringLiteral("&Másolat"), QStringLiteral("copyPushButton")),
                &QPushButton::clicked, this, [this] { printCopy(); });
        connect(widgets::addPushButton(buttons, QStringLiteral("Módosítás"), QStringLiteral("modifyPushButton")),
                &QPushButton::clicked, this, [this] { modifyCurrent(); });
        connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { showLines(); });
        showLines();
    } else {
        connect(widgets::addPushButton(buttons, QStringLiteral("&Választ"), QStringLiteral("choosePushButton")),
                &QPushButton::clicked, this, [this] { choose(); });
        connect(m_view, &QTableView::doubleClicked, this, [this] { choose(); });
    }
    buttons->addStretch(1);
    connect(widgets::addPushButton(buttons, QStringLiteral("Bezár"), QStringLiteral("closePushButton")),
            &QPushButton::clicked, this, &QDialog::reject);
    layout->addLayout(buttons);
}

QString TGaranciak::currentNumber() const {
    const TableHandle& certificates = m_context.data.GaranciaTable();
    if (certificates.isEmpty() || certificates.eof()) return {};
    return certificates.asString(G::SORSZAM).trimmed();
}

void TGaranciak::setArchive(bool archive) {
    runCommand(m_context.prompt, [&] {
        TableHandle& certificates = m_context.data.GaranciaTable();
        restrictToYear(certificates, archive, m_context.today());
        certificates.first();
        m_grid->reload();
        showLines();
    });
}

void TGaranciak::showLines() {
    if (!m_lineGrid) return;
    runCommand(m_context.prompt, [&] {
        const QString number = currentNumber();
        if (number.isEmpty() || !loadWarranty(m_context.data, number, m_current)) m_current.gari2.emptyTable();
        m_lineGrid->reload();
    });
}

void TGaranciak::refresh() {
    TableHandle& certificates = m_context.data.GaranciaTable();
    if (certificates.state() != dbase::TableState::Browse) return;
    runCommand(m_context.prompt, [&] {
        certificates.refresh();
        m_grid->reload();
        showLines();
    });
}

void TGaranciak::printCopy() {
    runCommand(m_context.prompt, [&] {
        const QString number = currentNumber();
        if (number.isEmpty()) return;
        if (!m_context.prompt.askYesNo(QStringLiteral("Figyelem!"),
                                       QStringLiteral("Biztos, hogy újra szeretné nyomtatni a garancialevelet?")))
            return;
        printWarranty(m_context, number, 1);
    });
}

void TGaranciak::modifyCurrent() {
    runCommand(m_context.prompt, [&] {
        const QString number = currentNumber();
        if (number.isEmpty()) return;
        runWarrantyEditor(m_context, this, number);
        refresh();
    });
}

void TGaranciak::choose() {
    if (!currentNumber().isEmpty()) accept();
}

}  // namespace kavina::documents
