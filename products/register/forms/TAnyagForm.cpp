#include "products/register/forms/TAnyagForm.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "foundation/CatalogueFields.h"
#include "foundation/CommandBoundary.h"
#include "products/register/forms/ProductGrid.h"
#include "products/register/forms/ProductSearchDialog.h"
#include "products/register/forms/QtProductWindows.h"
#include "widgets/ListSettings.h"
#include "widgets/RecordGrid.h"
#include "widgets/RowColourDelegate.h"

namespace kavina::products {

namespace {

namespace A = fields::Anyag;

// Typed in the list, these characters start the search.
const QString kSearchStarters = QStringLiteral(" AÁBCDEÉFGHIÍJKLMNOÓÖŐPQRSTUÚÜŰVWXYZ0123456789-+.");

QPushButton* button(const QString& text, const QString& objectName, const QKeySequence& key = {}) {
    auto* b = new QPushButton(text);
    b->setObjectName(objectName);
    b->setAutoDefault(false);
    if (!key.isEmpty()) b->setShortcut(key);
    return b;
}

QComboBox* comboBox(const QString& objectName) {
    auto* box = new QComboBox;
    box->setObjectName(objectName);
    box->setMinimumContentsLength(14);
    return box;
}

}  // namespace

TAnyagForm::TAnyagForm(QWidget* parent, TDataModule1& data, Prompt& prompt, const AnyagFormOptions& options)
    : QDialog(parent), m_data(data), m_prompt(prompt), m_options(options) {
    setObjectName(QStringLiteral("TAnyagForm"));
    setWindowTitle(QStringLiteral("Terméktörzs"));
    ProductWindows* windows = options.windows;
    if (!windows) {
        m_ownWindows = std::make_unique<QtProductWindows>(this, data, prompt, *options.window.settings);
        windows = m_ownWindows.get();
    }
    m_logic = std::make_unique<ProductWindow>(data, prompt, *windows, *options.desktop, options.window);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(boxesRow());
    m_tabs = new QTabBar;
    m_tabs->setObjectName(QStringLiteral("productTabBar"));
    for (int t = 0; t < kProductTabCount; ++t) m_tabs->addTab(tabCaption(ProductTab(t)));
    layout->addWidget(m_tabs);
    auto* middle = new QHBoxLayout;
    m_grid = new QTableView;
    m_grid->setObjectName(QStringLiteral("productGrid"));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    m_grid->installEventFilter(this);
    widgets::applyListSettings(m_grid, *options.window.settings);
    const IniSettings& settings = *options.window.settings;
    m_grid->setItemDelegate(new widgets::RowColourDelegate(
        [&settings](int tag) { return stockColour(RowTint(tag), settings); }, settings.extgridcolor == 1, m_grid));
    middle->addWidget(m_grid, 1);
    middle->addWidget(buttonColumn());
    layout->addLayout(middle, 1);
    buildContextMenu();

    m_refresh = new QTimer(this);
    m_refresh->setInterval(10000);
    connect(m_refresh, &QTimer::timeout, this, [this] {
        command([&] {
            if (m_logic->refreshTick()) m_list->reload();
        });
    });
    connect(m_tabs, &QTabBar::currentChanged, this, [this](int index) {
        command([&] {
            // The categories of the tab are gathered while the list is read.
            m_logic->selectTab(index, true);
            m_seenCategories.clear();
            m_gatherCategories = true;
            m_list->reload();
            m_gatherCategories = false;
            m_logic->setListCategories(m_seenCategories);
            fillBoxes();
            arrangeColumns();
            syncSelection();
        });
    });
    connect(m_grid, &QTableView::doubleClicked, this, &TAnyagForm::acceptCurrent);
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        if (column == Name) searchKeyChosen(SearchKey::Name);
        if (column == Code)
            searchKeyChosen(m_logic->searchKey() == SearchKey::Barcode ? SearchKey::Barcode : SearchKey::ArticleNumber);
        choosePriceGroup(column);
    });
    command([&] {
        m_search->clear();
        m_logic->open();
        buildModel();
        fillBoxes();
        arrangeColumns();
        syncSelection();
    });
    if (m_options.window.settings->norefresh == 0) m_refresh->start();
    m_grid->setFocus();
    resize(1180, 680);
}

TAnyagForm::~TAnyagForm() = default;

QWidget* TAnyagForm::boxesRow() {
    auto* row = new QWidget;
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    m_warehouse = comboBox(QStringLiteral("warehouseComboBox"));
    m_category = comboBox(QStringLiteral("categoryComboBox"));
    m_searchKey = comboBox(QStringLiteral("searchKeyComboBox"));
    for (SearchKey key : {SearchKey::Name, SearchKey::ArticleNumber, SearchKey::Barcode})
        m_searchKey->addItem(searchKeyCaption(key));
    m_search = new QLineEdit;
    m_search->setObjectName(QStringLiteral("searchLineEdit"));
    h->addWidget(new QLabel(QStringLiteral("Raktár:")));
    h->addWidget(m_warehouse);
    h->addWidget(new QLabel(QStringLiteral("Kategória: ")));
    h->addWidget(m_category);
    h->addSpacing(16);
    h->addWidget(m_searchKey);
    h->addWidget(m_search, 1);
    connect(m_warehouse, &QComboBox::activated, this, [this](int index) {
        command([&] {
            m_logic->selectWarehouse(index);
            reloadList();
        });
    });
    connect(m_category, &QComboBox::activated, this, [this](int index) {
        command([&] {
            m_logic->selectCategory(index);
            reloadList();
        });
    });
    connect(m_searchKey, &QComboBox::activated, this, [this](int index) { searchKeyChosen(SearchKey(index)); });
    connect(m_search, &QLineEdit::textChanged, this, [this](const QString& text) {
        command([&] {
            m_logic->search(text);
            syncSelection();
        });
    });
    connect(m_search, &QLineEdit::returnPressed, this, &TAnyagForm::enterInSearch);
    return row;
}

QWidget* TAnyagForm::buttonColumn() {
    auto* column = new QWidget;
    auto* v = new QVBoxLayout(column);
    v->setContentsMargins(0, 0, 0, 0);
    m_new = button(QStringLiteral("Új          [F5]"), QStringLiteral("newPushButton"), Qt::Key_F5);
    m_modify = button(QStringLiteral("Módosít [F2]"), QStringLiteral("modifyPushButton"), Qt::Key_F2);
    m_delete = button(QStringLiteral("Töröl      [F8]"), QStringLiteral("deletePushButton"), Qt::Key_F8);
    m_reprice = button(QStringLiteral("Átáraz   [F6]"), QStringLiteral("repricePushButton"), Qt::Key_F6);
    m_promotions = button(QStringLiteral("Akciók"), QStringLiteral("promotionsPushButton"));
    m_receive = button(QStringLiteral("Bevételez"), QStringLiteral("receivePushButton"), Qt::CTRL | Qt::Key_B);
    m_issue = button(QStringLiteral("Kivételez"), QStringLiteral("issuePushButton"), Qt::CTRL | Qt::Key_K);
    QPushButton* search = button(QStringLiteral("Keresés"), QStringLiteral("searchPushButton"), Qt::CTRL | Qt::Key_F);
    m_accept = button(QStringLiteral("Elfogad"), QStringLiteral("acceptPushButton"));
    m_accept->setVisible(m_options.picker != nullptr);
    QPushButton* close = button(QStringLiteral("Kilépés"), QStringLiteral("closePushButton"));
    for (QPushButton* b : {m_new, m_modify, m_delete, m_reprice, m_promotions, m_receive, m_issue, search, m_accept})
        v->addWidget(b);
    v->addSpacing(12);
    v->addWidget(new QLabel(QStringLiteral("Anyag képe:")));
    m_picture = new QLabel;
    m_picture->setObjectName(QStringLiteral("pictureLabel"));
    m_picture->setFixedSize(150, 150);
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setFrameShape(QFrame::StyledPanel);
    m_picture->setCursor(Qt::PointingHandCursor);
    m_picture->installEventFilter(this);
    v->addWidget(m_picture);
    v->addStretch(1);
    v->addWidget(close);
    connect(m_new, &QPushButton::clicked, this, [this] {
        change([&] { m_logic->onServicesTab() ? m_logic->newService() : m_logic->newProduct(m_search->text()); });
    });
    connect(m_modify, &QPushButton::clicked, this, [this] { change([&] { m_logic->modify(); }); });
    connect(m_delete, &QPushButton::clicked, this, [this] { change([&] { m_logic->remove(); }); });
    connect(m_receive, &QPushButton::clicked, this, [this] { change([&] { m_logic->receive(); }); });
    connect(m_issue, &QPushButton::clicked, this, [this] { change([&] { m_logic->issue(); }); });
    connect(m_reprice, &QPushButton::clicked, this, [this] { change([&] { m_logic->reprice(); }); });
    connect(m_promotions, &QPushButton::clicked, this, [this] { change([&] { m_logic->promotions(); }); });
    connect(search, &QPushButton::clicked, this, &TAnyagForm::openSearchDialog);
    connect(m_accept, &QPushButton::clicked, this, &TAnyagForm::acceptCurrent);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    return column;
}

void TAnyagForm::buildModel() {
    const SearchKey key = m_logic->searchKey();
    // The list keeps the products handle's current record highlighted whoever moves it.
    m_list.reset();
    m_list = std::make_unique<widgets::RecordGrid>(
        m_grid, m_data.AnyagTable(), productColumns(key, m_options.window.settings->tobbar == 1), m_prompt);
    m_model = &m_list->model();
    m_model->setRowTag([this](const RecordCursor& product) { return int(m_logic->tintOf(product)); });
    const int category = m_data.AnyagTable().fieldNumber(A::KATEGORIA);
    m_model->setRowVisitor([this, category](const RecordCursor& product) {
        if (!m_gatherCategories) return;
        const QString name = product.asString(category).trimmed();
        if (!name.isEmpty()) m_seenCategories.insert(name);
    });
    m_model->setSortColumn(key == SearchKey::Name ? Name : Code);
    markPriceGroup();
    // Wide enough for the usual texts and for the title, which the header may draw bold.
    QFont titleFont = m_grid->horizontalHeader()->font();
    titleFont.setBold(true);
    const QFontMetrics title(titleFont);
    for (int c = Name; c <= Store; ++c) {
        const int titleWidth =
            title.horizontalAdvance(m_model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString()) + 24;
        m_grid->setColumnWidth(c, std::max(productColumnWidth(ProductColumn(c)), titleWidth));
    }
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& at) {
        // The grid has moved the handle to the row picked.
        if (at.isValid()) runCommand(m_prompt, [&] { showPicture(); });
    });
}

void TAnyagForm::arrangeColumns() {
    const bool levels = m_options.window.settings->tobbar == 1;
    for (int c : {Level1, Level2, Level3}) m_grid->setColumnHidden(c, !levels);
    m_grid->setColumnHidden(Gross, levels);
    m_grid->setColumnHidden(Store, m_logic->onServicesTab());
    m_grid->horizontalHeader()->setStretchLastSection(true);
}

void TAnyagForm::fillBoxes() {
    const QSignalBlocker quietWarehouse(m_warehouse), quietCategory(m_category), quietKey(m_searchKey);
    m_warehouse->clear();
    m_warehouse->addItems(m_logic->warehouses());
    m_warehouse->setCurrentIndex(m_logic->warehouse());
    m_warehouse->setEnabled(!m_logic->onServicesTab());
    m_category->clear();
    m_category->addItems(m_logic->categories());
    m_category->setCurrentIndex(m_logic->category());
    m_searchKey->setCurrentIndex(int(m_logic->searchKey()));
}

void TAnyagForm::reloadList() {
    m_list->reload();
    syncSelection();
}

// The highlighted row is the products handle's current record, scrolled into view.
void TAnyagForm::syncSelection() {
    m_list->showCurrent();
    showPicture();
    enableButtons();
}

void TAnyagForm::showPicture() {
    const QString path = m_logic->picturePath();
    const QPixmap picture = path.isEmpty() ? QPixmap() : QPixmap(path);
    if (picture.isNull())
        m_picture->clear();
    else
        m_picture->setPixmap(picture.scaled(m_picture->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void TAnyagForm::enableButtons() {
    const bool any = !m_logic->listEmpty();
    const bool goods = !m_logic->onServicesTab();
    m_new->setText(goods ? QStringLiteral("Új          [F5]") : QStringLiteral("Új"));
    m_new->setShortcut(Qt::Key_F5);
    m_new->setEnabled(m_logic->canModify());
    m_modify->setEnabled(m_logic->canModify() && any);
    m_delete->setEnabled(m_logic->canDelete() && any);
    m_reprice->setEnabled(m_logic->canReprice() && any);
    m_promotions->setEnabled(m_logic->canReprice() && any);
    m_receive->setEnabled(goods && any);
    m_issue->setEnabled(goods && any);
}

void TAnyagForm::searchKeyChosen(SearchKey key) {
    command([&] {
        m_logic->setSearchKey(key);
        buildModel();
        fillBoxes();
        arrangeColumns();
        syncSelection();
    });
}

void TAnyagForm::enterInSearch() {
    command([&] {
        const ProductWindow::EnterOutcome outcome = m_logic->enter(m_search->text());
        if (outcome != ProductWindow::EnterOutcome::Nothing) m_grid->setFocus();
        if (outcome == ProductWindow::EnterOutcome::Accept && !m_options.picker) m_logic->accept();
        m_list->reload();
        if (outcome == ProductWindow::EnterOutcome::Accept && m_options.picker) acceptCurrent();
    });
}

void TAnyagForm::acceptCurrent() {
    if (!m_options.picker) {
        change([&] { m_logic->accept(); });
        return;
    }
    bool close = false;
    runCommand(m_prompt, [&] {
        if (m_logic->listEmpty()) return;
        close = acceptPick(*m_options.picker, m_data.AnyagTable(), m_prompt, *m_options.pickerWindows);
    });
    if (close)
        accept();
    else
        activateWindow();  // the line dialog was cancelled: the list takes the keys again
}

// A click on a price column's title chooses the price group the editor's lines are priced at.
void TAnyagForm::choosePriceGroup(int column) {
    if (!m_options.picker || column < Level1 || column > Fixed) return;
    m_options.picker->priceGroup = column - Level1 + 1;
    markPriceGroup();
}

void TAnyagForm::markPriceGroup() {
    if (!m_model) return;
    const int group = m_options.picker ? m_options.picker->priceGroup : 0;
    m_model->setMarkedColumn(group >= 1 && group <= 4 ? Level1 + group - 1 : -1);
}

void TAnyagForm::reopenForPick() {
    command([&] {
        m_logic->selectTab(m_logic->tab());
        m_list->reload();
        m_accept->setVisible(m_options.picker != nullptr);
        markPriceGroup();
    });
    if (m_options.window.settings->norefresh == 0) m_refresh->start();
}

void TAnyagForm::openSearchDialog() {
    command([&] {
        ProductSearchDialog dialog(this, m_lastSearch, m_lastWhere);
        dialog.exec();
        if (dialog.choice() == ProductSearchDialog::Choice::None) return;
        m_lastSearch = dialog.text();
        m_lastWhere = dialog.where();
        if (dialog.choice() == ProductSearchDialog::Choice::Search)
            m_logic->find(m_lastSearch, m_lastWhere);
        else
            m_logic->findNext(m_lastSearch, m_lastWhere);
    });
}

void TAnyagForm::done(int result) {
    m_refresh->stop();
    runCommand(m_prompt, [&] { m_logic->close(); });
    QDialog::done(result);
}

bool TAnyagForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_picture && event->type() == QEvent::MouseButtonRelease) {
        command([&] { m_logic->openPicture(); });
        return true;
    }
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            acceptCurrent();
            return true;
        }
        // A letter typed in the list moves into the search box and searches from there.
        const QString typed = key->text();
        // A capital letter comes with Shift: it starts the search as well.
        const bool plain = (key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == Qt::NoModifier;
        if (plain && typed.size() == 1 && kSearchStarters.contains(typed.toUpper())) {
            m_search->setText(typed);
            m_search->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace kavina::products
