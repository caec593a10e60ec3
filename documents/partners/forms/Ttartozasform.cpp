#include "documents/partners/forms/Ttartozasform.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "foundation/forms/DialogButtons.h"
#include "widgets/RecordGridModel.h"

namespace kavina::documents {

Ttartozasform::Ttartozasform(QWidget* parent, TableHandle& unpaidInvoices) : QDialog(parent) {
    setObjectName(QStringLiteral("Ttartozasform"));
    setWindowTitle(QStringLiteral("Figyelem!"));
    auto* layout = new QVBoxLayout(this);
    auto* header = new QLabel(QStringLiteral("A partner fizetetlen számlái:"));
    QFont bold = header->font();
    bold.setBold(true);
    header->setFont(bold);
    layout->addWidget(header);
    m_model = std::make_unique<widgets::RecordGridModel>(
        unpaidInvoices, std::vector<widgets::GridColumn>{{QStringLiteral("Számlaszám"), "SZAMLASZAM"},
                                                         {QStringLiteral("Fizetési mód"), "FIZMOD"},
                                                         {QStringLiteral("Készült"), "KIALLIT"},
                                                         {QStringLiteral("Teljesítve"), "TELJESIT"},
                                                         {QStringLiteral("Határidő"), "FIZHAT"},
                                                         {QStringLiteral("ÁFA alap"), "AFAALAP"},
                                                         {QStringLiteral("ÁFA (Ft)"), "AFAFT"},
                                                         {QStringLiteral("Fizetendő"), "FIZETENDO"},
                                                         {QStringLiteral("Készítette"), "UGYINTEZO"},
                                                         {QStringLiteral("Partnerünk neve"), "PNEV"},
                                                         {QStringLiteral("Partner járadéka"), "POSSZEG"},
                                                         {QStringLiteral("Megjegyzés"), "MEGJEGYZES"}});
    auto* grid = new QTableView;
    grid->setObjectName(QStringLiteral("unpaidInvoicesGrid"));
    grid->setModel(m_model.get());
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
