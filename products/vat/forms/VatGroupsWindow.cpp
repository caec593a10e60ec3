#include "products/vat/forms/VatGroupsWindow.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "foundation/CatalogueFields.h"
#include "foundation/CommandBoundary.h"
#include "foundation/NumberBox.h"
#include "foundation/forms/DialogButtons.h"
#include "products/pricing/Repricing.h"
#include "widgets/ListWindow.h"
#include "widgets/RecordGrid.h"

namespace kavina::products {

namespace V = fields::AFA;

VatGroupDialog::VatGroupDialog(QWidget* parent, Prompt& prompt, const VatGroup& start)
    : QDialog(parent), m_prompt(prompt) {
    setObjectName(QStringLiteral("VatGroupDialog"));
    setWindowTitle(QStringLiteral("Szerkesztés"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_name = new QLineEdit(start.name);
    m_name->setObjectName(QStringLiteral("nameLineEdit"));
    m_name->setMaxLength(30);  // AFA.dbf MEGNEVEZES
    m_rate = new QLineEdit(numberBoxText(start.rate));
    m_rate->setObjectName(QStringLiteral("rateLineEdit"));
    m_rate->setAlignment(Qt::AlignRight);
    m_rate->setMaximumWidth(80);
    m_rate->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9,\\-]*")), m_rate));
    auto* rate = new QWidget;
    auto* row = new QHBoxLayout(rate);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_rate);
    row->addWidget(new QLabel(QStringLiteral("%")));
    row->addStretch(1);
    form->addRow(QStringLiteral("Megnevezés :"), m_name);
    form->addRow(QStringLiteral("Százalék :"), rate);
    layout->addLayout(form);
    addDialogButtons(this, layout, QStringLiteral("&Elfogad"), QStringLiteral("&Mégsem"));
    resize(320, sizeHint().height());
}

void VatGroupDialog::accept() {
    runCommand(m_prompt, [&] {
        const std::optional<double> rate = readPriceText(m_prompt, m_rate->text());
        if (!rate) {
            m_rate->setFocus();
            return;
        }
        m_group = VatGroup{m_name->text().trimmed(), *rate};
        QDialog::accept();
    });
}

VatGroupsWindow::VatGroupsWindow(QWidget* parent, TDataModule1& data, Prompt& prompt, VatGroupWindows* windows)
    : QDialog(parent), m_prompt(prompt) {
    setObjectName(QStringLiteral("VatGroupsWindow"));
    setWindowTitle(QStringLiteral("ÁFA csoportok"));
    m_groups = std::make_unique<VatGroups>(data, prompt, windows ? *windows : *this);
    widgets::ListWindow frame(this, QStringLiteral("vatGroupGrid"));
    m_list = std::make_unique<widgets::RecordGrid>(
        frame.grid(), data.AFATable(),
        std::vector<widgets::GridColumn>{{QStringLiteral("Megnevezés"), V::MEGNEVEZES},
                                         {QStringLiteral("Százalék"), V::AFA, false, widgets::ColumnKind::Number}},
        prompt);
    frame.stretchColumn(0);
    connect(frame.addButton(QStringLiteral("Új csoport"), QStringLiteral("newPushButton")), &QPushButton::clicked, this,
            [this] { run(&VatGroups::add); });
    connect(frame.addButton(QStringLiteral("Módosítá&s"), QStringLiteral("modifyPushButton")), &QPushButton::clicked,
            this, [this] { run(&VatGroups::modifyCurrent); });
    connect(frame.addButton(QStringLiteral("&Törlés"), QStringLiteral("deletePushButton")), &QPushButton::clicked, this,
            [this] { run(&VatGroups::deleteCurrent); });
    frame.addCloseButton();
    resize(420, 320);
}

VatGroupsWindow::~VatGroupsWindow() = default;

std::optional<VatGroup> VatGroupsWindow::editVatGroup(const VatGroup& start) {
    VatGroupDialog dialog(this, m_prompt, start);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.group();
}

void VatGroupsWindow::run(bool (VatGroups::*action)()) {
    runCommand(m_prompt, [&] { ((*m_groups).*action)(); });
}

}  // namespace kavina::products
