#include "documents/worksheets/forms/TMunkalapok.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "documents/worksheets/WorksheetList.h"
#include "foundation/CatalogueFields.h"
#include "foundation/CommandBoundary.h"
#include "foundation/FieldFilter.h"
#include "widgets/FormParts.h"
#include "widgets/RecordGrid.h"

namespace kavina::documents {

namespace {

namespace M = fields::Munkalap;
using widgets::ColumnKind;
using widgets::GridColumn;

std::vector<GridColumn> listColumns() {
    return {{"Sorszám", M::SORSZAM},
            {"Név", M::NEV},
            {"Irszám.", M::IRSZAM},
            {"Település", M::VAROS},
            {"Cím", M::CIM},
            {"Telefon", M::TEL},
            {"Kapcsolattartó", M::KAPCST},
            {"Készült", M::DATUM, false, ColumnKind::Day},
            {"Érkezett", M::ERKEZETT, false, ColumnKind::Day},
            {"Távozott", M::TAVOZOTT, false, ColumnKind::Day},
            {"Munkaóra", M::MUNKAORA, false, ColumnKind::Number},
            {"Ügyintéző", M::UGYINT},
            {"Utazási idő", M::UTIDO, false, ColumnKind::Number},
            {"Km", M::KILOMETER, false, ColumnKind::Number},
            {"Forg.rsz", M::RENDSZAM},
            {"Út költség", M::UTKOLTSEG, false, ColumnKind::Money},
            {"Szálláshely", M::SZALLHELY},
            {"Szállás költs.", M::SZALLASKTS, false, ColumnKind::Money},
            {"Egyéb", M::EGYEB},
            {"Egyéb költs.", M::EGYEBKTS, false, ColumnKind::Money}};
}

std::vector<GridColumn> choiceColumns() {
    return {{"Sorszám", M::SORSZAM},
            {"Név", M::NEV},
            {"Irsz.", M::IRSZAM},
            {"Település", M::VAROS},
            {"Cím", M::CIM},
            {"Érkezett", M::ERKEZETT, false, ColumnKind::Day},
            {"Távozott", M::TAVOZOTT, false, ColumnKind::Day},
            {"Nyomtatás", M::DATUM, false, ColumnKind::Day}};
}

}  // namespace

TMunkalapok::TMunkalapok(QWidget* parent, const WorksheetCommandContext& context, Mode mode)
    : QDialog(parent), m_context(context), m_mode(mode) {
    setObjectName(mode == Mode::List ? QStringLiteral("TMunkalapok") : QStringLiteral("worksheetChoice"));
    setWindowTitle(mode == Mode::List ? QStringLiteral("Munkalapok") : QStringLiteral("Kérem válasszon..."));
    setArchive(false);
    buildList();
    if (mode == Mode::List) {
        // Other workstations' worksheets appear without reopening the list.
        m_refresh.setInterval(10000);
        connect(&m_refresh, &QTimer::timeout, this, [this] { refresh(); });
        m_refresh.start();
    }
    resize(mode == Mode::List ? 1000 : 800, mode == Mode::List ? 620 : 420);
}

TMunkalapok::~TMunkalapok() {
    m_grid.reset();
    // The restriction goes; the handle stays on the worksheet it showed.
    filter::removeRestriction(m_context.data.Munkalaptable());
}

void TMunkalapok::buildList() {
    auto* layout = new QVBoxLayout(this);
    if (m_mode == Mode::Choose) {
        auto* heading = new QLabel(QStringLiteral("munkalapot"));
        QFont font = heading->font();
        font.setBold(true);
        font.setPointSizeF(font.pointSizeF() * 1.3);
        heading->setFont(font);
        layout->addWidget(heading);
    }
    m_view = widgets::listView(QStringLiteral("worksheetGrid"));
    m_grid =
        std::make_unique<widgets::RecordGrid>(m_view, m_context.data.Munkalaptable(),
                                              m_mode == Mode::List ? listColumns() : choiceColumns(), m_context.prompt);
    m_view->resizeColumnsToContents();
    layout->addWidget(m_view, 1);
    auto* buttons = new QHBoxLayout;
    if (m_mode == Mode::List) {
        auto* memos = new QHBoxLayout;
        for (auto [box, title, name] : {std::tuple{&m_fault, "Hiba:", "faultTextEdit"},
                                        std::tuple{&m_work, "Elvégzett munka:", "workTextEdit"}}) {
            auto* column = new QVBoxLayout;
            column->addWidget(new QLabel(QString::fromUtf8(title)));
            *box = new QPlainTextEdit;
            (*box)->setObjectName(QString::fromLatin1(name));
            (*box)->setReadOnly(true);
            (*box)->setMaximumHeight(110);
            column->addWidget(*box);
            memos->addLayout(column);
        }
        layout->addLayout(memos);
        QPushButton* archive =
            widgets::addPushButton(buttons, QStringLiteral("Arhívum"), QStringLiteral("archivePushButton"));
        archive->setCheckable(true);
        connect(archive, &QPushButton::toggled, this, [this](bool on) { setArchive(on); });
        connect(widgets::addPushButton(buttons, QStringLiteral("&Másolat"), QStringLiteral("copyPushButton")),
                &QPushButton::clicked, this, [this] { printCopy(); });
        connect(widgets::addPushButton(buttons, QStringLiteral("Módosítás"), QStringLiteral("modifyPushButton")),
                &QPushButton::clicked, this, [this] { modifyCurrent(); });
        connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { showMemos(); });
        showMemos();
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

void TMunkalapok::setArchive(bool archive) {
    runCommand(m_context.prompt, [&] {
        TableHandle& worksheets = m_context.data.Munkalaptable();
        restrictWorksheetsToYear(worksheets, archive, m_context.today());
        worksheets.first();
        if (m_grid) m_grid->reload();
        showMemos();
    });
}

void TMunkalapok::showMemos() {
    if (!m_fault) return;
    const TableHandle& worksheets = m_context.data.Munkalaptable();
    const bool any = !worksheets.isEmpty() && !worksheets.eof();
    m_fault->setPlainText(any ? worksheets.asString(M::HIBA) : QString());
    m_work->setPlainText(any ? worksheets.asString(M::MUNKA) : QString());
}

void TMunkalapok::refresh() {
    TableHandle& worksheets = m_context.data.Munkalaptable();
    if (worksheets.state() != dbase::TableState::Browse) return;
    runCommand(m_context.prompt, [&] {
        worksheets.refresh();
        m_grid->reload();
        showMemos();
    });
}

void TMunkalapok::printCopy() {
    runCommand(m_context.prompt, [&] {
        TableHandle& worksheets = m_context.data.Munkalaptable();
        if (worksheets.isEmpty() || !confirmWorksheetCopy(m_context.prompt)) return;
        printWorksheets(m_context, readWorksheet(worksheets), 1);
    });
}

void TMunkalapok::modifyCurrent() {
    runCommand(m_context.prompt, [&] {
        if (m_context.data.Munkalaptable().isEmpty()) return;
        runWorksheetEditor(m_context, this, true);
        refresh();
    });
}

void TMunkalapok::choose() {
    if (!m_context.data.Munkalaptable().isEmpty()) accept();
}

}  // namespace kavina::documents
