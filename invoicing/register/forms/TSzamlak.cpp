#include "invoicing/register/forms/TSzamlak.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "foundation/CatalogueFields.h"
#include "foundation/CommandBoundary.h"
#include "widgets/RecordGrid.h"
#include "widgets/RowColourDelegate.h"

namespace kavina::invoicing {

namespace {

namespace H = fields::Szamla;
namespace L = fields::Szamla2;
using widgets::ColumnKind;

// The document columns, in the grid's order.
enum DocumentColumn {
    Type,
    Number,
    Name,
    Address,
    Method,
    Issued,
    Performed,
    Due,
    Net,
    Vat,
    Payable,
    PaidOn,
    Clerk,
    Agent,
    Fee,
    Remark
};

const QColor kCorrectiveGreen(0, 128, 0);

// Typed in the list, these characters start the search.
const QString kSearchStarters = QStringLiteral(" AÁBCDEÉFGHIÍJKLMNOÓÖŐPQRSTUÚÜŰVWXYZ0123456789-+./");

std::vector<widgets::GridColumn> documentColumns(bool payouts, bool sourceNumber) {
    const ColumnKind money = ColumnKind::Money;
    return {{QStringLiteral("T."), H::SZAMLATIP},
            {QStringLiteral("Számlaszám"), sourceNumber ? H::AJANLSZAM : H::SZAMLASZAM, !sourceNumber},
            {QStringLiteral("Fizető neve"), H::NEV, true},
            {QStringLiteral("Cím"), H::TELJESCIM, true},
            {QStringLiteral("Fizetési mód"), H::FIZMOD},
            {QStringLiteral("Készült"), H::KIALLIT},
            payouts ? widgets::GridColumn{QStringLiteral("Kifizetés"), H::szlnetto, false, money}
                    : widgets::GridColumn{QStringLiteral("Teljesítve"), H::TELJESIT},
            {QStringLiteral("Határidő"), H::FIZHAT, true},
            {QStringLiteral("ÁFA alap"), H::AFAALAP, false, money},
            {QStringLiteral("ÁFA (Ft)"), H::AFAFT, false, money},
            {QStringLiteral("Fizetendő"), H::FIZETENDO, false, money},
            {QStringLiteral("Fizetve"), H::FIZDATUM},
            {QStringLiteral("Készítette"), H::UGYINTEZO},
            {QStringLiteral("Partnerünk neve"), H::PNEV},
            {QStringLiteral("Partner járadéka"), H::POSSZEG, false, money},
            {QStringLiteral("Megjegyzés"), H::TARGY}};
}

std::vector<widgets::GridColumn> lineColumns() {
    const ColumnKind number = ColumnKind::Number;
    const ColumnKind money = ColumnKind::Money;
    return {{QStringLiteral("Cikkszám"), L::cikkszam},
            {QStringLiteral("Megnevezés"), L::MEGNEVEZES},
            {QStringLiteral("Mennyiség"), L::MENNYISEG, false, number},
            {QStringLiteral("Mértékegys."), L::EGYSEG},
            {QStringLiteral("Egységár"), L::EGYSEGAR, false, money},
            {QStringLiteral("Nettó ár"), L::NETTOAR, false, money},
            {QStringLiteral("ÁFA"), L::AFA, false, number},
            {QStringLiteral("ÁFA Ft"), L::AFAFT, false, money},
            {QStringLiteral("Összesen"), L::OSSZESEN, false, money},
            {QStringLiteral("Árcsop."), L::ARCSOPORT, false, number}};
}

QColor tintColour(DocumentTint tint, const IniSettings& settings) {
    switch (tint) {
        case DocumentTint::Grey: return settings.graycolor;
        case DocumentTint::Red: return settings.redcolor;
        case DocumentTint::Green: return kCorrectiveGreen;
        case DocumentTint::None: break;
    }
    return {};
}

QPushButton* button(const QString& text, const QString& objectName) {
    auto* b = new QPushButton(text);
    b->setObjectName(objectName);
    b->setAutoDefault(false);
    return b;
}

QTableView* gridView(const QString& objectName) {
    auto* grid = new QTableView;
    grid->setObjectName(objectName);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    return grid;
}

QLabel* legendLabel(const QString& text, const QColor& colour) {
    auto* label = new QLabel(text);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

}  // namespace

TSzamlak::TSzamlak(QWidget* parent, TDataModule1& data, Prompt& prompt, DocumentWindows& windows,
                   const RegisterRequest& request, const RegisterOptions& options, const IniSettings& settings)
    : QDialog(parent), m_data(data), m_prompt(prompt), m_logic(data, prompt, windows, request, options) {
    setObjectName(QStringLiteral("TSzamlak"));
    setWindowTitle(m_logic.caption());
    auto* layout = new QVBoxLayout(this);
    m_header = new QLabel(m_logic.header());
    m_header->setObjectName(QStringLiteral("headerLabel"));
    QFont headerFont = m_header->font();
    headerFont.setPointSize(headerFont.pointSize() + 5);
    headerFont.setBold(true);
    m_header->setFont(headerFont);
    layout->addWidget(m_header);
    auto* middle = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    m_grid = gridView(QStringLiteral("documentGrid"));
    const auto colour = [&settings](int tag) { return tintColour(DocumentTint(tag), settings); };
    m_grid->setItemDelegate(new widgets::RowColourDelegate(colour, settings.extgridcolor == 1, m_grid));
    m_grid->installEventFilter(this);
    left->addWidget(m_grid, 3);
    auto* panel = new QGroupBox(QStringLiteral("Kiszámlázott tételek"));
    panel->setObjectName(QStringLiteral("linesGroupBox"));
    m_linePanel = panel;
    auto* panelLayout = new QVBoxLayout(panel);
    m_lineGrid = gridView(QStringLiteral("lineGrid"));
    panelLayout->addWidget(m_lineGrid);
    left->addWidget(panel, 1);
    left->addWidget(bottomRow());
    middle->addLayout(left, 1);
    middle->addWidget(buttonColumn());
    layout->addLayout(middle, 1);

    command([&] {
        m_logic.open();
        buildGrids(settings);
        arrangeColumns();
    });
    m_grid->setFocus();
    resize(1250, 740);
}

TSzamlak::~TSzamlak() = default;

QWidget* TSzamlak::bottomRow() {
    auto* row = new QWidget;
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(new QLabel(QStringLiteral("Keresés: ")));
    m_search = new QLineEdit;
    m_search->setObjectName(QStringLiteral("searchLineEdit"));
    h->addWidget(m_search, 1);
    h->addSpacing(24);
    const RegisterLook look = m_logic.look();
    if (look.legend) {
        h->addWidget(new QLabel(QStringLiteral("Jelmagyarázat:")));
        QLabel* spoiled = legendLabel(QStringLiteral("Rontott"), QColor(128, 128, 128));
        spoiled->setObjectName(QStringLiteral("spoiledLegendLabel"));
        h->addWidget(spoiled);
        if (look.unpaidLegend) {
            QLabel* unpaid = legendLabel(QStringLiteral("Fizetetlen"), QColor(255, 0, 0));
            unpaid->setObjectName(QStringLiteral("unpaidLegendLabel"));
            h->addWidget(unpaid);
        }
    }
    connect(m_search, &QLineEdit::textChanged, this,
            [this](const QString& text) { command([&] { m_logic.search(text); }); });
    return row;
}

QWidget* TSzamlak::buttonColumn() {
    auto* column = new QWidget;
    auto* v = new QVBoxLayout(column);
    v->setContentsMargins(0, 0, 0, 0);
    m_archive = button(QStringLiteral("Arhívum"), QStringLiteral("archivePushButton"));
    m_archive->setCheckable(true);
    m_storno = button(QStringLiteral("Stornó"), QStringLiteral("stornoPushButton"));
    m_spoil = button(QStringLiteral("Rontott"), QStringLiteral("spoilPushButton"));
    m_payment = button(QStringLiteral("Befizetve"), QStringLiteral("paymentPushButton"));
    m_agent = button(QStringLiteral("Üzletkötő"), QStringLiteral("agentPushButton"));
    m_copy = button(QStringLiteral("&Másolat"), QStringLiteral("copyPushButton"));
    m_preview = button(QStringLiteral("&Nyomt.kép"), QStringLiteral("previewPushButton"));
    m_listing = button(QStringLiteral("Listázás"), QStringLiteral("listPushButton"));
    m_choose = button(QStringLiteral("&Választ"), QStringLiteral("choosePushButton"));
    QPushButton* close = button(QStringLiteral("Bezár"), QStringLiteral("closePushButton"));
    for (QPushButton* b : {m_archive, m_storno, m_spoil, m_payment, m_agent, m_copy, m_preview, m_listing})
        v->addWidget(b);
    v->addStretch(1);
    v->addWidget(m_choose);
    v->addWidget(close);
    const RegisterLook look = m_logic.look();
    m_storno->setVisible(look.storno);
    m_spoil->setVisible(look.spoil);
    m_payment->setVisible(look.payment);
    m_agent->setVisible(look.agent);
    m_copy->setVisible(look.copy);
    m_preview->setVisible(look.preview);
    m_choose->setVisible(look.choose);
    const auto changing = [this](auto change) {
        return [this, change] {
            command([&] {
                if (change()) m_list->reload();
            });
        };
    };
    connect(m_storno, &QPushButton::clicked, this, changing([this] { return m_logic.cancelCurrent(false); }));
    connect(m_spoil, &QPushButton::clicked, this, changing([this] { return m_logic.cancelCurrent(true); }));
    connect(m_payment, &QPushButton::clicked, this, changing([this] { return m_logic.payCurrent(); }));
    connect(m_archive, &QPushButton::toggled, this, [this](bool down) {
        command([&] {
            m_logic.setArchive(down);
            m_list->reload();
        });
    });
    connect(m_agent, &QPushButton::clicked, this, [this] { command([&] { m_logic.editAgent(); }); });
    connect(m_copy, &QPushButton::clicked, this, [this] { command([&] { m_logic.copy(); }); });
    connect(m_preview, &QPushButton::clicked, this, [this] { command([&] { m_logic.preview(); }); });
    connect(m_listing, &QPushButton::clicked, this, [this] { command([&] { m_logic.printList(); }); });
    connect(m_choose, &QPushButton::clicked, this, [this] { chooseAndClose(false); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    return column;
}

void TSzamlak::buildGrids(const IniSettings& settings) {
    const RegisterLook look = m_logic.look();
    m_list = std::make_unique<widgets::RecordGrid>(m_grid, m_data.SzamlaTable(),
                                                   documentColumns(look.payoutColumns, look.sourceNumber), m_prompt);
    m_list->model().setRowTag([this](const RecordCursor& row) { return int(m_logic.tintOf(row)); });
    m_list->model().setSortColumn(look.sourceNumber ? -1 : Number);
    m_list->reload();
    m_lines = std::make_unique<widgets::RecordGrid>(m_lineGrid, m_data.Szamla2Table(), lineColumns(), m_prompt);
    m_lineGrid->horizontalHeader()->setStretchLastSection(true);
    QFont font = m_grid->font();
    if (settings.gridfontsize > 0) font.setPointSize(settings.gridfontsize + 1);
    m_grid->setFont(font);
    m_lineGrid->setFont(font);
    connect(m_grid, &QTableView::doubleClicked, this, [this] { chooseAndClose(true); });
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this, &TSzamlak::sortByColumn);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& at) {
        // The grid has moved the documents to the row picked; their lines follow.
        if (at.isValid()) runCommand(m_prompt, [&] { showLines(); });
    });
}

void TSzamlak::arrangeColumns() {
    const RegisterLook look = m_logic.look();
    const int widths[] = {28, 122, 180, 200, 88, 78, 78, 78, 92, 82, 95, 78, 110, 120, 110, 200};
    for (int c = Type; c <= Remark; ++c) m_grid->setColumnWidth(c, widths[c]);
    for (int c : {Name, Address, Method, Performed, Due}) m_grid->setColumnHidden(c, !look.buyerColumns);
    if (look.payoutColumns) {
        for (int c : {Method, Due, Net, Vat, Payable, PaidOn}) m_grid->setColumnHidden(c, true);
        m_grid->setColumnHidden(Performed, false);
    }
    m_linePanel->setVisible(look.lines);
    const int lineWidths[] = {90, 280, 80, 95, 95, 95, 50, 90, 100, 60};
    for (int c = 0; c < 10; ++c) m_lineGrid->setColumnWidth(c, lineWidths[c]);
}

void TSzamlak::sortByColumn(int column) {
    command([&] {
        const Field& field = m_list->model().columns()[size_t(column)].field;
        if (column == Number && m_logic.look().sourceNumber) return;
        if (!m_logic.sortBy(field)) return;
        // The title of the active index is marked for the number, name and address.
        m_list->model().setSortColumn(column == Due ? -1 : column);
        m_list->reload();
    });
}

// The highlighted row is the documents handle's current record, scrolled into view; the line
// panel shows its lines.
void TSzamlak::syncSelection() {
    if (!m_list) return;
    m_list->showCurrent();
    showLines();
    enableButtons();
}

// The lines are read again only when another document became current: a search letter that
// stays on the document reads nothing.
void TSzamlak::showLines() {
    if (!m_lines) return;
    TableHandle& documents = m_data.SzamlaTable();
    const uint64_t shown = documents.isEmpty() ? 0 : documents.bookmark().id;
    if (shown == m_linesOf && shown != 0) return;
    m_linesOf = shown;
    m_lines->reload();
}

void TSzamlak::enableButtons() {
    const bool any = !m_logic.listEmpty();
    for (QPushButton* b : {m_storno, m_spoil, m_payment, m_agent, m_copy, m_preview}) b->setEnabled(any);
}

bool TSzamlak::eventFilter(QObject* watched, QEvent* event) {
    // A letter typed in the list moves into the search box and searches from there.
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString typed = key->text();
        if ((key->modifiers() & ~Qt::ShiftModifier) == Qt::NoModifier && typed.size() == 1 &&
            kSearchStarters.contains(typed.toUpper())) {
            m_search->setFocus();
            m_search->setText(typed);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TSzamlak::done(int result) {
    runCommand(m_prompt, [&] { m_logic.close(); });
    QDialog::done(result);
}

void TSzamlak::chooseAndClose(bool doubleClick) {
    bool close = false;
    runCommand(m_prompt, [&] { close = doubleClick ? m_logic.doubleClick() : m_logic.choose(); });
    if (!close) return;
    m_chosen = true;
    accept();
}

}  // namespace kavina::invoicing
