#include "documents/partners/forms/Ttartozasform.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "foundation/CatalogueFields.h"
#include "foundation/forms/DialogButtons.h"
#include "widgets/RecordGrid.h"

namespace kavina::documents {

namespace D = fields::Szamla;

Ttartozasform::Ttartozasform(QWidget* parent, TableHandle& unpaidInvoices, Prompt& prompt) : QDialog(parent) {
    setObjectName(QStringLiteral("Ttartozasform"));
    setWindowTitle(QStringLiteral("Figyelem!"));
    auto* layout = new QVBoxLayout(this);
    auto* header = new QLabel(QStringLiteral("A partner fizetetlen számlái:"));
    QFont bold = header->font();
    bold.setBold(true);
    header->setFont(bold);
    layout->addWidget(header);
    auto* grid = new QTableView;
    grid->setObjectName(QStringLiteral("unpaidInvoicesGrid"));
    m_list = std::make_unique<widgets::RecordGrid>(
        grid, unpaidInvoices,
        std::vector<widgets::GridColumn>{
            {QStringLiteral("Számlaszám"), D::SZAMLASZAM},
            {QStringLiteral("Fizetési mód"), D::FIZMOD},
            {QStringLiteral("Készült"), D::KIALLIT, false, widgets::ColumnKind::Day},
            {QStringLiteral("Teljesítve"), D::TELJESIT, false, widgets::ColumnKind::Day},
            {QStringLiteral("Határidő"), D::FIZHAT, false, widgets::ColumnKind::Day},
            {QStringLiteral("ÁFA alap"), D::AFAALAP, false, widgets::ColumnKind::Money},
            {QStringLiteral("ÁFA (Ft)"), D::AFAFT, false, widgets::ColumnKind::Money},
            {QStringLiteral("Fizetendő"), D::FIZETENDO, false, widgets::ColumnKind::Money},
            {QStringLiteral("Készítette"), D::UGYINTEZO},
            {QStringLiteral("Partnerünk neve"), D::PNEV},
            {QStringLiteral("Partner járadéka"), D::POSSZEG, false, widgets::ColumnKind::Money},
            {QStringLiteral("Megjegyzés"), D::MEGJEGYZES}},
        prompt);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->hide();
    grid->resizeColumnsToContents();
    layout->addWidget(grid, 1);
    const DialogButtons buttons = addDialogButtons(this, layout, QStringLiteral("&Tovább"), QStringLiteral("&Mégsem"));
    buttons.accept->setObjectName(QStringLiteral("continuePushButton"));
    buttons.reject->setObjectName(QStringLiteral("cancelPushButton"));
    resize(900, 320);
}

Ttartozasform::~Ttartozasform() = default;

}  // namespace kavina::documents
