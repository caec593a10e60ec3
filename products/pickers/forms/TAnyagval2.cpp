#include "products/pickers/forms/TAnyagval2.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "foundation/CommandBoundary.h"
#include "foundation/NumberBox.h"

namespace kavina::products {

namespace {

QLineEdit* numberBox(const QString& objectName) {
    auto* box = new QLineEdit;
    box->setObjectName(objectName);
    box->setAlignment(Qt::AlignRight);
    box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[-0-9,.]*")), box));
    return box;
}

QLabel* figure(const QString& objectName) {
    auto* label = new QLabel;
    label->setObjectName(objectName);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(100);
    label->setFrameShape(QFrame::StyledPanel);
    return label;
}

}  // namespace

TAnyagval2::TAnyagval2(QWidget* parent, WarrantyPick& logic, Prompt& prompt, RecordCursor& warrantyLines,
                       const QString& warrantyNumber)
    : QDialog(parent), m_logic(logic), m_prompt(prompt) {
    setObjectName(QStringLiteral("TAnyagval2"));
    setWindowTitle(logic.caption());
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    m_net = numberBox(QStringLiteral("netLineEdit"));
    m_gross = numberBox(QStringLiteral("grossLineEdit"));
    m_quantity = numberBox(QStringLiteral("quantityLineEdit"));
    m_vatPerUnit = figure(QStringLiteral("vatPerUnitLabel"));
    m_netTotal = figure(QStringLiteral("netTotalLabel"));
    m_vatTotal = figure(QStringLiteral("vatTotalLabel"));
    m_grossTotal = figure(QStringLiteral("grossTotalLabel"));
    grid->addWidget(new QLabel(QStringLiteral("ÁFA nélkül")), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("ÁFA (ft)")), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("ÁFA-val")), 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("Egységár :")), 1, 0);
    grid->addWidget(m_net, 1, 1);
    grid->addWidget(m_vatPerUnit, 1, 2);
    grid->addWidget(m_gross, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Mennyiség :")), 2, 0);
    grid->addWidget(m_quantity, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Összesen :")), 3, 0);
    grid->addWidget(m_netTotal, 3, 1);
    grid->addWidget(m_vatTotal, 3, 2);
    grid->addWidget(m_grossTotal, 3, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* accept = new QPushButton(QStringLiteral("&Elfogad"));
    accept->setObjectName(QStringLiteral("acceptPushButton"));
    auto* cancel = new QPushButton(QStringLiteral("&Mégse"));
    cancel->setObjectName(QStringLiteral("rejectPushButton"));
    buttons->addWidget(accept);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    m_net->setText(logic.netText());
    m_gross->setText(logic.grossText());
    m_quantity->setText(logic.quantityText());
    showFigures();
    connect(m_net, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_logic.typeNet(text);
        m_gross->setText(m_logic.grossText());
        showFigures();
    });
    connect(m_gross, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_logic.typeGross(text);
        m_net->setText(m_logic.netText());
        showFigures();
    });
    connect(m_quantity, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_logic.typeQuantity(text);
        showFigures();
    });
    connect(accept, &QPushButton::clicked, this, [this, &warrantyLines, warrantyNumber] {
        runCommand(m_prompt, [&] {
            if (m_logic.accept(warrantyLines, warrantyNumber))
                QDialog::accept();
            else
                m_quantity->setFocus();
        });
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_quantity->setFocus();
    m_quantity->selectAll();
}

void TAnyagval2::showFigures() {
    m_vatPerUnit->setText(numberBoxText(m_logic.vatPerUnit()));
    m_netTotal->setText(numberBoxText(m_logic.netTotal()));
    m_vatTotal->setText(numberBoxText(m_logic.vatTotal()));
    m_grossTotal->setText(numberBoxText(m_logic.grossTotal()));
}

}  // namespace kavina::products
