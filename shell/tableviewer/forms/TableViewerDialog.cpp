#include "shell/tableviewer/forms/TableViewerDialog.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "foundation/CommandBoundary.h"
#include "foundation/DbErrorText.h"
#include "shell/tableviewer/TableViewerExport.h"
#include "shell/tableviewer/TableViewerModel.h"
#include "shell/tableviewer/forms/TableViewerGrid.h"

namespace kavina::shell {

namespace {

const QString kCaption = QStringLiteral("Figyelem!");

// A navigator button shows its picture only, a tool button its text.
QAction* addTool(QToolBar* bar, const QString& name, const QString& text,
                 QStyle::StandardPixmap icon = QStyle::SP_CustomBase, bool iconOnly = true) {
    QAction* action = bar->addAction(text);
    action->setObjectName(name);
    action->setToolTip(text);
    if (icon != QStyle::SP_CustomBase) {
        action->setIcon(bar->style()->standardIcon(icon));
        if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action)); button && iconOnly)
            button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
    return action;
}

}  // namespace

TableViewerDialog::TableViewerDialog(TDataModule1& data, Prompt& prompt, Desktop& desktop, const IniSettings& ini,
                                     QWidget* parent)
    : QDialog(parent),
      m_data(data),
      m_prompt(prompt),
      m_desktop(desktop),
      m_chooseFont([](const QFont& current, QWidget* owner) -> std::optional<QFont> {
          bool ok = false;
          const QFont font = QFontDialog::getFont(&ok, current, owner, QStringLiteral("Betütípus"));
          return ok ? std::optional<QFont>(font) : std::nullopt;
      }),
      m_spreadsheetFolder(QDir::tempPath()) {
    setObjectName("tableViewer");
    setWindowTitle(QStringLiteral("Táblák megtekintése"));
    resize(1100, 680);
    buildLayout();
    QFont font = m_grid->font();
    font.setPointSize(std::max(1, ini.gridfontsize));
    m_grid->setFont(font);
    if (ini.zebragrid == 1) {
        m_grid->setAlternatingRowColors(true);
        QPalette palette = m_grid->palette();
        palette.setColor(QPalette::AlternateBase, ini.zebracolor);
        m_grid->setPalette(palette);
    }
    m_rowSelect->setChecked(ini.dbrowselect == 1);
    switchRowSelection(ini.dbrowselect == 1);
    for (const TableDef& def : catalogue::tables())
        if (!def.handleName.empty() && m_data.handle(def.id).isOpen())
            m_list->addItem(QString::fromStdString(def.handleName));
}

TableViewerDialog::~TableViewerDialog() {
    leaveTable();
}

void TableViewerDialog::buildLayout() {
    m_list = new QListWidget(this);
    m_list->setObjectName("tableList");
    m_list->setFixedWidth(190);
    connect(m_list, &QListWidget::currentTextChanged, this, &TableViewerDialog::tableChosen);

    m_grid = new QTableView(this);
    m_grid->setObjectName("tableGrid");
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->verticalHeader()->setDefaultSectionSize(22);
    m_grid->horizontalHeader()->setSectionsClickable(true);
    m_grid->horizontalHeader()->setHighlightSections(false);  // bold titles mark the indexed columns
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this, &TableViewerDialog::headerClicked);

    m_search = new QLineEdit(this);
    m_search->setObjectName("quickSearchEdit");
    m_search->setPlaceholderText(QStringLiteral("szöveg, vagy % és a szűrendő kezdet"));
    connect(m_search, &QLineEdit::textChanged, this, &TableViewerDialog::searchChanged);
    m_note = new QLabel(this);
    m_note->setObjectName("searchNote");
    m_note->setStyleSheet(QStringLiteral("color: #a51d2d;"));
    m_count = new QLabel(this);
    m_count->setObjectName("recordCountLabel");

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(QStringLiteral("Gyorskereső:"), this));
    searchRow->addWidget(m_search, 1);
    searchRow->addWidget(m_note, 2);

    auto* close = new QPushButton(QStringLiteral("&Bezárás"), this);
    close->setObjectName("closePushButton");
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_count, 1);
    bottom->addWidget(close);

    auto* right = new QVBoxLayout;
    right->addWidget(buildToolbar());
    right->addLayout(searchRow);
    right->addWidget(m_grid, 1);
    right->addLayout(bottom);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Táblák:"), this));
    left->addWidget(m_list, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(right, 1);
}

QWidget* TableViewerDialog::buildToolbar() {
    auto* bar = new QToolBar(this);
    bar->setObjectName("viewerToolbar");
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->setIconSize(QSize(18, 18));
    connect(addTool(bar, "firstAction", "Első", QStyle::SP_MediaSkipBackward), &QAction::triggered, this,
            [this] { stepRows(-m_model->rowCount()); });
    connect(addTool(bar, "priorAction", "Előző", QStyle::SP_MediaSeekBackward), &QAction::triggered, this,
            [this] { stepRows(-1); });
    connect(addTool(bar, "nextAction", "Következő", QStyle::SP_MediaSeekForward), &QAction::triggered, this,
            [this] { stepRows(1); });
    connect(addTool(bar, "lastAction", "Utolsó", QStyle::SP_MediaSkipForward), &QAction::triggered, this,
            [this] { stepRows(m_model->rowCount()); });
    bar->addSeparator();
    connect(addTool(bar, "appendAction", "Új", QStyle::SP_FileDialogNewFolder), &QAction::triggered, this,
            &TableViewerDialog::appendRecord);
    connect(addTool(bar, "deleteAction", "Törlés", QStyle::SP_TrashIcon), &QAction::triggered, this,
            &TableViewerDialog::deleteRecord);
    connect(addTool(bar, "refreshAction", "Frissítés", QStyle::SP_BrowserReload), &QAction::triggered, this,
            &TableViewerDialog::refreshTable);
    bar->addSeparator();
    connect(addTool(bar, "fontAction", "Betütípus"), &QAction::triggered, this, &TableViewerDialog::chooseFont);
    m_rowSelect = addTool(bar, "rowSelectAction", "Sorkijelölés");
    m_rowSelect->setCheckable(true);
    connect(m_rowSelect, &QAction::toggled, this, &TableViewerDialog::switchRowSelection);
    connect(addTool(bar, "excelAction", "Mentés Excelbe", QStyle::SP_DialogSaveButton, false), &QAction::triggered,
            this, &TableViewerDialog::saveToSpreadsheet);
    for (QAction* a : bar->actions()) a->setEnabled(a == m_rowSelect || a->objectName() == "fontAction");
    return bar;
}

bool TableViewerDialog::showTable(const QString& handleName) {
    const auto found = m_list->findItems(handleName, Qt::MatchExactly);
    if (found.isEmpty()) return false;
    m_list->setCurrentItem(found.first());
    return true;
}

void TableViewerDialog::tableChosen() {
    runCommand(m_prompt, [&] {
        leaveTable();
        if (!m_list->currentItem()) return;
        const TableDef* def = catalogue::findByHandleName(m_list->currentItem()->text().toStdString());
        if (!def) return;
        m_handleName = QString::fromStdString(def->handleName);
        m_model = std::make_unique<TableViewerModel>(m_data.handle(def->id),
                                                     [this](const QString& text) { m_prompt.warning(kCaption, text); });
        m_headers = std::make_unique<TableViewerHeaders>(*m_model);
        m_grid->setModel(m_headers.get());
        sizeColumns(*m_grid, m_model->handle());
        connect(m_model.get(), &QAbstractItemModel::modelReset, this, &TableViewerDialog::selectCurrentRow);
        connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                [this](const QModelIndex& now) { runCommand(m_prompt, [&] { m_model->moveTo(now.row()); }); });
        for (QAction* a : findChild<QToolBar*>("viewerToolbar")->actions()) a->setEnabled(true);
        m_search->clear();
        m_note->clear();
        selectCurrentRow();
    });
}

void TableViewerDialog::leaveTable() {
    if (!m_model) return;
    m_grid->setModel(nullptr);
    m_model->restoreHandle();
    m_headers.reset();
    m_model.reset();
}

void TableViewerDialog::done(int result) {
    leaveTable();
    QDialog::done(result);
}

void TableViewerDialog::selectCurrentRow() {
    const int order = m_model->orderColumn();
    m_grid->horizontalHeader()->setSortIndicatorShown(order >= 0);
    if (order >= 0) m_grid->horizontalHeader()->setSortIndicator(order, Qt::AscendingOrder);
    const int row = m_model->currentRow();
    if (row >= 0) {
        const int column = std::max(0, m_grid->currentIndex().column());
        m_grid->setCurrentIndex(m_headers->index(row, column));
        m_grid->scrollTo(m_grid->currentIndex());
    }
    showCount();
}

void TableViewerDialog::showCount() {
    m_count->setText(QStringLiteral("%1: %2 rekord").arg(m_handleName).arg(m_model->rowCount()));
}

void TableViewerDialog::headerClicked(int column) {
    runCommand(m_prompt, [&] {
        if (m_model && !m_model->orderBy(column)) selectCurrentRow();  // the title keeps showing the order in force
    });
}

void TableViewerDialog::searchChanged(const QString& text) {
    runCommand(m_prompt, [&] {
        if (!m_model) return;
        m_note->setText(m_model->quickSearch(text));
        selectCurrentRow();
    });
}

void TableViewerDialog::chooseFont() {
    if (const std::optional<QFont> font = m_chooseFont(m_grid->font(), this)) m_grid->setFont(*font);
}

void TableViewerDialog::switchRowSelection(bool rows) {
    m_grid->setSelectionBehavior(rows ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    if (m_grid->currentIndex().isValid())
        m_grid->selectionModel()->select(
            m_grid->currentIndex(),
            QItemSelectionModel::ClearAndSelect | (rows ? QItemSelectionModel::Rows : QItemSelectionModel::NoUpdate));
}

void TableViewerDialog::stepRows(int step) {
    const int rows = m_model->rowCount();
    if (rows == 0) return;
    const int row = std::clamp(m_grid->currentIndex().row() + step, 0, rows - 1);
    m_grid->setCurrentIndex(m_headers->index(row, std::max(0, m_grid->currentIndex().column())));
}

void TableViewerDialog::appendRecord() {
    runCommand(m_prompt, [&] { m_model->appendRecord(); });
}

void TableViewerDialog::deleteRecord() {
    runCommand(m_prompt, [&] {
        if (m_model->rowCount() == 0) return;
        if (m_prompt.askYesNo(kCaption, QStringLiteral("Biztos, hogy törölni szeretné a kiválasztott tételt?")))
            m_model->deleteCurrent();
    });
}

void TableViewerDialog::refreshTable() {
    runCommand(m_prompt, [&] {
        try {
            m_model->handle().refresh();
        } catch (const std::exception& e) {
            m_prompt.warning(kCaption, errorText(e));
        }
        m_model->reload();
    });
}

void TableViewerDialog::saveToSpreadsheet() {
    runCommand(m_prompt, [&] {
        const QString path = spreadsheetPath(m_spreadsheetFolder, m_handleName, QDateTime::currentDateTime());
        try {
            writeSpreadsheet(m_model->handle(), path, m_handleName);
        } catch (const SpreadsheetError& e) {
            m_prompt.error(QStringLiteral("Hiba"), e.text());
            return;
        } catch (const std::exception& e) {
            m_prompt.error(QStringLiteral("Hiba"), errorText(e));
            return;
        }
        if (!m_desktop.openFile(path))
            m_prompt.warning(kCaption,
                             QStringLiteral("Az excel megnyitása sikertelen. Talán nincs telepítve erre a gépre?"));
    });
}

}  // namespace kavina::shell
