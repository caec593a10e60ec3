#include "documents/partners/forms/TPartnerForm.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>

#include "documents/partners/PartnerRegister.h"
#include "documents/partners/PartnerReport.h"
#include "documents/partners/forms/QtPartnerWindows.h"
#include "foundation/CommandBoundary.h"
#include "report/view/PreviewWindow.h"
#include "widgets/RecordGrid.h"

namespace kavina::documents {

namespace {

// Typed in the list, these characters start a quick search.
const QString kSearchStarters = QStringLiteral(" AÁBCDEÉFGHIÍJKLMNOÓÖŐPQRSTUÚÜŰVWXYZ0123456789-+");

QPushButton* button(const QString& text, const QString& objectName) {
    auto* b = new QPushButton(text);
    b->setObjectName(objectName);
    return b;
}

}  // namespace

TPartnerForm::TPartnerForm(QWidget* parent, TDataModule1& data, Prompt& prompt, const PartnerFormOptions& options)
    : QDialog(parent),
      m_data(data),
      m_prompt(prompt),
      m_options(options),
      m_ownWindows(options.windows ? nullptr
                                   : std::make_unique<QtPartnerWindows>(this, data, prompt, options, &m_logic)),
      m_logic(data, prompt, options.windows ? *options.windows : *m_ownWindows, options.caller,
              options.statisticsPage) {
    m_logic.setShowPriceGroups(options.showPriceGroups);
    setObjectName(QStringLiteral("TPartnerForm"));
    setWindowTitle(QStringLiteral("Partnertörzs"));
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    m_tabBar = new QTabBar;
    m_tabBar->setObjectName(QStringLiteral("groupTabBar"));
    left->addWidget(m_tabBar);
    m_grid = new QTableView;
    m_grid->setObjectName(QStringLiteral("partnerGrid"));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    m_grid->installEventFilter(this);
    left->addWidget(m_grid, 1);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(QStringLiteral("Gyorskereső:")));
    m_search = new QLineEdit;
    m_search->setObjectName(QStringLiteral("quickSearchLineEdit"));
    searchRow->addWidget(m_search, 1);
    left->addLayout(searchRow);
    layout->addLayout(left, 1);
    layout->addWidget(buttonColumn());
    m_list = std::make_unique<widgets::RecordGrid>(
        m_grid, m_data.PartnerTable(),
        std::vector<widgets::GridColumn>{{QStringLiteral("Név"), fields::Partner::NEV, true},
                                         {QStringLiteral("Név 2"), fields::Partner::NEV2, false},
                                         {QStringLiteral("Cím"), fields::Partner::TELJESCIM, true}},
        m_prompt);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setColumnWidth(0, 260);
    m_grid->setColumnWidth(1, 160);
    buildContextMenu();
    connect(m_tabBar, &QTabBar::currentChanged, this,
            [this](int index) { runCommand(m_prompt, [&] { m_logic.selectTab(index); }); });
    connect(m_search, &QLineEdit::textChanged, this,
            [this](const QString& text) { runCommand(m_prompt, [&] { m_logic.quickSearch(text); }); });
    connect(m_search, &QLineEdit::returnPressed, this, [this] { acceptPartner(true); });
    connect(m_grid, &QTableView::doubleClicked, this, [this] { acceptPartner(true); });
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this, &TPartnerForm::sortByColumn);
    runCommand(m_prompt, [&] {
        m_search->clear();
        m_logic.open();
        showTabs();
    });
    m_list->model().setSortColumn(0);
    m_list->reload();
    m_grid->setFocus();
    resize(860, 560);
}

TPartnerForm::~TPartnerForm() = default;

QWidget* TPartnerForm::buttonColumn() {
    auto* column = new QWidget;
    auto* v = new QVBoxLayout(column);
    QPushButton* add = button(QStringLiteral("Új partner"), QStringLiteral("newPushButton"));
    QPushButton* modify = button(QStringLiteral("Módosítás"), QStringLiteral("modifyPushButton"));
    QPushButton* remove = button(QStringLiteral("Törlés"), QStringLiteral("deletePushButton"));
    QPushButton* print = button(QStringLiteral("Nyomtatás"), QStringLiteral("printPushButton"));
    print->setEnabled(m_options.printing != nullptr);
    QPushButton* invoices = button(QStringLiteral("Számlák"), QStringLiteral("invoicesPushButton"));
    QPushButton* debts = button(QStringLiteral("Tartozások"), QStringLiteral("debtsPushButton"));
    m_acceptButton = button(QStringLiteral("Elfogad"), QStringLiteral("acceptPushButton"));
    m_acceptButton->setVisible(m_logic.isPicker());
    QPushButton* close = button(QStringLiteral("Kilépés"), QStringLiteral("closePushButton"));
    for (QPushButton* b : {add, modify, remove, print, invoices, debts, m_acceptButton}) v->addWidget(b);
    v->addStretch(1);
    v->addWidget(close);
    connect(add, &QPushButton::clicked, this, &TPartnerForm::newPartner);
    connect(modify, &QPushButton::clicked, this, &TPartnerForm::modifyPartner);
    connect(remove, &QPushButton::clicked, this, &TPartnerForm::deletePartner);
    connect(print, &QPushButton::clicked, this, &TPartnerForm::printList);
    connect(invoices, &QPushButton::clicked, this,
            [this] { runCommand(m_prompt, [&] { m_logic.showInvoices(false); }); });
    connect(debts, &QPushButton::clicked, this, [this] { runCommand(m_prompt, [&] { m_logic.showInvoices(true); }); });
    connect(m_acceptButton, &QPushButton::clicked, this, [this] { acceptPartner(false); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    return column;
}

void TPartnerForm::buildContextMenu() {
    m_contextMenu = new QMenu(this);
    m_contextMenu->setObjectName(QStringLiteral("partnerContextMenu"));
    QAction* add = m_contextMenu->addAction(QStringLiteral("Új part&ner"), this, &TPartnerForm::newPartner);
    (void)add;
    QAction* modify = m_contextMenu->addAction(QStringLiteral("Módosítá&s"), this, &TPartnerForm::modifyPartner);
    QAction* remove = m_contextMenu->addAction(QStringLiteral("&Törlés"), this, &TPartnerForm::deletePartner);
    QAction* print = m_contextMenu->addAction(QStringLiteral("Ny&omtatás"), this, &TPartnerForm::printList);
    QAction* csv = m_contextMenu->addAction(QStringLiteral("Exportálás csv fájlba"), this,
                                            [this] { runCommand(m_prompt, [&] { m_logic.exportCsv(); }); });
    connect(m_grid, &QTableView::customContextMenuRequested, this, [=, this](const QPoint& at) {
        const bool any = !m_data.PartnerTable().isEmpty();
        for (QAction* a : {modify, remove, csv}) a->setEnabled(any);
        print->setEnabled(any && m_options.printing);
        m_contextMenu->popup(m_grid->viewport()->mapToGlobal(at));
    });
}

void TPartnerForm::showTabs() {
    const QSignalBlocker quiet(m_tabBar);
    while (m_tabBar->count() > 0) m_tabBar->removeTab(0);
    for (const QString& tab : m_logic.tabs()) m_tabBar->addTab(tab);
    m_tabBar->setCurrentIndex(m_logic.currentTab());
}

void TPartnerForm::newPartner() {
    runCommand(m_prompt, [&] { m_logic.newPartner(); });
}

void TPartnerForm::modifyPartner() {
    runCommand(m_prompt, [&] {
        if (m_logic.modifyCurrent()) showTabs();
    });
}

void TPartnerForm::deletePartner() {
    runCommand(m_prompt, [&] {
        if (m_logic.deleteCurrent()) showTabs();
    });
}

void TPartnerForm::acceptPartner(bool fromList) {
    runCommand(m_prompt, [&] {
        if (m_logic.accept(fromList)) accept();
    });
}

void TPartnerForm::printList() {
    runCommand(m_prompt, [&] {
        if (!m_options.printing || m_data.PartnerTable().isEmpty()) return;
        const auto layout = TPartnerReport(m_data.PartnerTable(), m_options.webAddress, m_options.currentUser);
        const report::PreparedReport pages = layout->prepare();
        report::PreviewWindow preview(pages, m_prompt, *m_options.printing,
                                      {.pdfFileName = QStringLiteral("partnerek.pdf")}, this);
        preview.exec();
    });
}

void TPartnerForm::sortByColumn(int column) {
    runCommand(m_prompt, [&] {
        if (!m_logic.sortBy(m_list->model().columns()[size_t(column)].field)) return;
        m_list->model().setSortColumn(column);
    });
}

bool TPartnerForm::eventFilter(QObject* watched, QEvent* event) {
    // A letter typed in the list moves into the search box and searches from there.
    if (watched == m_grid && event->type() == QEvent::KeyRelease) {
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        if (typed.size() == 1 && kSearchStarters.contains(typed.toUpper())) {
            m_search->setText(typed);
            m_search->setCursorPosition(1);
            m_search->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace kavina::documents
