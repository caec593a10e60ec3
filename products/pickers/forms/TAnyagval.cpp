#include "products/pickers/forms/TAnyagval.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

#include "foundation/CommandBoundary.h"
#include "foundation/NumberBox.h"

namespace kavina::products {

namespace {

QLineEdit* numberBox(const QString& objectName, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(objectName);
    box->setAlignment(Qt::AlignRight);
    box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[-0-9,.]*")), box));
    box->setMinimumWidth(110);
    return box;
}

QLabel* figure(const QString& objectName) {
    auto* label = new QLabel;
    label->setObjectName(objectName);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(110);
    label->setFrameShape(QFrame::StyledPanel);
    return label;
}

QLabel* heading(const QString& text) {
    auto* label = new QLabel(text);
    label->setAlignment(Qt::AlignCenter);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

}  // namespace

TAnyagval::TAnyagval(QWidget* parent, LineDialog& logic, Prompt& prompt)
    : QDialog(parent), m_logic(logic), m_prompt(prompt) {
    setObjectName(QStringLiteral("TAnyagval"));
    setWindowTitle(logic.caption());
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    m_net = numberBox(QStringLiteral("netLineEdit"), this);
    m_gross = numberBox(QStringLiteral("grossLineEdit"), this);
    m_quantity = numberBox(QStringLiteral("quantityLineEdit"), this);
    m_vatPerUnit = figure(QStringLiteral("vatPerUnitLabel"));
    m_netTotal = figure(QStringLiteral("netTotalLabel"));
    m_vatTotal = figure(QStringLiteral("vatTotalLabel"));
    m_grossTotal = figure(QStringLiteral("grossTotalLabel"));
    const QList<QWidget*> priced{heading(QStringLiteral("ÁFA nélkül")), heading(QStringLiteral("ÁFA (ft)")),
                                 heading(QStringLiteral("ÁFA-val"))};
    for (int c = 0; c < 3; ++c) grid->addWidget(priced[c], 0, c + 1);
    auto* priceLabel = new QLabel(QStringLiteral("Egységár :"));
    grid->addWidget(priceLabel, 1, 0);
    grid->addWidget(m_net, 1, 1);
    grid->addWidget(m_vatPerUnit, 1, 2);
    grid->addWidget(m_gross, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Mennyiség :")), 2, 0);
    auto* quantityRow = new QHBoxLayout;
    quantityRow->addWidget(m_quantity);
    auto* unit = new QLabel(logic.unit());
    unit->setObjectName(QStringLiteral("unitLabel"));
    quantityRow->addWidget(unit);
    grid->addLayout(quantityRow, 2, 1);
    auto* totalsLabel = new QLabel(QStringLiteral("Összesen :"));
    grid->addWidget(totalsLabel, 3, 0);
    grid->addWidget(m_netTotal, 3, 1);
    grid->addWidget(m_vatTotal, 3, 2);
    grid->addWidget(m_grossTotal, 3, 3);
    auto* remarkLabel = new QLabel(QStringLiteral("Megjegyzés:"));
    m_remark = new QLineEdit;
    m_remark->setObjectName(QStringLiteral("remarkLineEdit"));
    m_remark->setMaxLength(100);
    grid->addWidget(remarkLabel, 4, 0);
    grid->addWidget(m_remark, 4, 1, 1, 3);
    remarkLabel->setVisible(logic.remarkShown());
    m_remark->setVisible(logic.remarkShown());
    QList<QWidget*> pricedWidgets = priced;
    pricedWidgets << priceLabel << m_net << m_vatPerUnit << m_gross << totalsLabel << m_netTotal << m_vatTotal
                  << m_grossTotal;
    for (QWidget* w : pricedWidgets) w->setVisible(logic.pricesShown());
    m_net->setEnabled(logic.pricesEnabled());
    m_gross->setEnabled(logic.pricesEnabled());

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_accept = new QPushButton(QStringLiteral("&Elfogad"));
    m_accept->setObjectName(QStringLiteral("acceptPushButton"));
    m_cancel = new QPushButton(QStringLiteral("&Mégse"));
    m_cancel->setObjectName(QStringLiteral("rejectPushButton"));
    for (QPushButton* b : {m_accept, m_cancel}) {
        b->setAutoDefault(false);
        // A click leaves the focus where it is: "&Elfogad" checks the quantity by itself and
        // "&Mégse" checks nothing.
        b->setFocusPolicy(Qt::TabFocus);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);

    m_net->setText(logic.netText());
    m_gross->setText(logic.grossText());
    m_quantity->setText(logic.quantityText());
    m_remark->setText(logic.remarkText());
    showFigures();
    connect(m_net, &QLineEdit::textEdited, this, [this](const QString& text) {
        runCommand(m_prompt, [&] {
            m_logic.typeNet(text);
            m_gross->setText(m_logic.grossText());
            showFigures();
        });
    });
    connect(m_gross, &QLineEdit::textEdited, this, [this](const QString& text) {
        runCommand(m_prompt, [&] {
            m_logic.typeGross(text);
            m_net->setText(m_logic.netText());
            showFigures();
        });
    });
    connect(m_quantity, &QLineEdit::textEdited, this, [this](const QString& text) {
        runCommand(m_prompt, [&] {
            m_logic.typeQuantity(text);
            showFigures();
        });
    });
    connect(m_remark, &QLineEdit::textEdited, this, [this](const QString& text) { m_logic.typeRemark(text); });
    connect(m_accept, &QPushButton::clicked, this, &TAnyagval::acceptLine);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    for (QLineEdit* box : {m_net, m_gross, m_quantity, m_remark}) box->installEventFilter(this);
    setTabOrder(m_quantity, m_net);
    setTabOrder(m_net, m_gross);
    setTabOrder(m_gross, m_remark);
    setTabOrder(m_remark, m_accept);
    setTabOrder(m_accept, m_cancel);
    m_quantity->setFocus();
    m_quantity->selectAll();
}

void TAnyagval::showFigures() {
    m_vatPerUnit->setText(numberBoxText(m_logic.vatPerUnit()));
    m_netTotal->setText(numberBoxText(m_logic.netTotal()));
    m_vatTotal->setText(numberBoxText(m_logic.vatTotal()));
    m_grossTotal->setText(numberBoxText(m_logic.grossTotal()));
}

void TAnyagval::acceptLine() {
    runCommand(m_prompt, [&] {
        if (m_logic.accept()) {
            QDialog::accept();
            return;
        }
        m_quantity->setFocus();
    });
}

bool TAnyagval::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == m_quantity) {
                runCommand(m_prompt, [&] {
                    if (m_logic.enterInQuantity())
                        acceptLine();
                    else if (m_logic.leaveQuantity())
                        focusNextChild();
                });
            } else {
                focusNextChild();
            }
            return true;
        }
    }
    // Leaving the quantity for another box checks the stock.
    if (watched == m_quantity && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::ActiveWindowFocusReason &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        bool stays = false;
        runCommand(m_prompt, [&] { stays = !m_logic.leaveQuantity(); });
        if (stays) QTimer::singleShot(0, m_quantity, [this] { m_quantity->setFocus(); });
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace kavina::products
