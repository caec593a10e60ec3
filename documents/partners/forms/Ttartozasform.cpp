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
        std::vector<widgets::GridColumn>{{QStringLiteral("Számlaszám"), D::SZAMLASZAM},
                                         {QStringLiteral("Fizetési mód"), D::FIZMOD},
                                         {QStringLiteral("Készült"), D::KIALLIT},
                                         {QStringLiteral("Teljesítve"), D::TELJESIT},
                                         {QStringLiteral("Határidő"), D::FIZHAT},
                                         {QStringLiteral("ÁFA alap"), D::AFAALAP},
                                         {QStringLiteral("ÁFA (Ft)"), D::AFAFT},
                                         {QStringLiteral("Fizetendő"), D::FIZETENDO},
                                         {QStringLiteral("Készítette"), D::UGYINTEZO},
                                         {QStringLiteral("Partnerünk neve"), D::PNEV},
                                         {QStringLiteral("Partner járadéka"), D::POSSZEG},
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
