#include "documents/stock/forms/TBevetelez.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "foundation/CommandBoundary.h"
#include "foundation/NumberBox.h"
#include "foundation/forms/DialogButtons.h"

namespace kavina::documents {

namespace {

const char* const kBoxNames[kStockBoxCount] = {"quantityLineEdit",    "purchaseNetLineEdit", "purchaseGrossLineEdit",
                                               "level1NetLineEdit",   "level1GrossLineEdit", "level2NetLineEdit",
                                               "level2GrossLineEdit", "level3NetLineEdit",   "level3GrossLineEdit",
                                               "fixedNetLineEdit",    "fixedGrossLineEdit"};

QLineEdit* numberBox(StockBox which, bool editable) {
    auto* box = new QLineEdit;
    box->setObjectName(QString::fromLatin1(kBoxNames[int(which)]));
    box->setAlignment(Qt::AlignRight);
    box->setMaximumWidth(110);
    box->setReadOnly(!editable);
    // Digits, the decimal comma and the minus sign only.
    box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9,\\-]*")), box));
    return box;
}

QLabel* label(const QString& text) {
    return new QLabel(text);
}

// The rows both dialogs share: the product, its stock and the quantity to move, then one row
// per price (net, and gross where the dialog edits prices). Level rows are hidden with one
// price level, and the fixed price is then the sale price.
class StockLayout {
public:
    StockLayout(QDialog* dialog, const StockProduct& product, const QString& quantityCaption,
                const std::array<double, 3>& multipliers, bool withGross, bool severalLevels,
                std::array<QLineEdit*, kStockBoxCount>& boxes)
        : m_grid(new QGridLayout) {
        auto* name = new QLineEdit(product.name);
        name->setObjectName(QStringLiteral("nameLineEdit"));
        name->setReadOnly(true);
        auto* stock = new QLineEdit(numberBoxText(product.stock));
        stock->setObjectName(QStringLiteral("stockLineEdit"));
        stock->setReadOnly(true);
        stock->setAlignment(Qt::AlignRight);
        stock->setMaximumWidth(110);
        m_grid->addWidget(label(QStringLiteral("Megnevezés:")), 0, 0);
        m_grid->addWidget(name, 0, 1, 1, 5);
        m_grid->addWidget(label(QStringLiteral("Jelenlegi készlet:")), 1, 0);
        m_grid->addWidget(stock, 1, 1);
        m_grid->addWidget(label(product.unit), 1, 2);
        boxes[size_t(StockBox::Quantity)] = numberBox(StockBox::Quantity, true);
        m_grid->addWidget(label(quantityCaption), 2, 0);
        m_grid->addWidget(boxes[size_t(StockBox::Quantity)], 2, 1);
        m_grid->addWidget(label(product.unit), 2, 2);
        m_grid->addWidget(label(QStringLiteral("Nettó ár")), 3, 1);
        if (withGross) m_grid->addWidget(label(QStringLiteral("Bruttó ár")), 3, 3);
        priceRow(4, QStringLiteral("Beszerzési ár:"), StockBox::PurchaseNet, withGross, boxes);
        for (int level = 0; level < 3; ++level) {
            const StockBox net = StockBox(int(StockBox::Level1Net) + 2 * level);
            const QList<QWidget*> row =
                priceRow(5 + level, QStringLiteral("Eladási ár %1:").arg(level + 1), net, withGross, boxes);
            auto* multiplier = label(QStringLiteral("( Szorzó: %1%)").arg(numberBoxText(multipliers[size_t(level)])));
            m_grid->addWidget(multiplier, 5 + level, 5);
            for (QWidget* w : row + QList<QWidget*>{multiplier}) w->setVisible(severalLevels);
        }
        const QList<QWidget*> fixed =
            priceRow(8, QStringLiteral("Fix eladási ár:"), StockBox::FixedNet, withGross, boxes);
        if (!severalLevels) static_cast<QLabel*>(fixed.first())->setText(QStringLiteral("Eladási ár:"));
        m_grid->setColumnStretch(5, 1);
        auto* layout = new QVBoxLayout(dialog);
        layout->addLayout(m_grid);
        layout->addStretch(1);
    }

private:
    QList<QWidget*> priceRow(int row, const QString& caption, StockBox net, bool withGross,
                             std::array<QLineEdit*, kStockBoxCount>& boxes) {
        QList<QWidget*> widgets{label(caption), numberBox(net, withGross), label(QStringLiteral("Ft."))};
        boxes[size_t(net)] = static_cast<QLineEdit*>(widgets[1]);
        if (withGross) {
            const StockBox gross = StockBox(int(net) + 1);
            boxes[size_t(gross)] = numberBox(gross, true);
            widgets << boxes[size_t(gross)] << label(QStringLiteral("Ft."));
        }
        for (int column = 0; column < widgets.size(); ++column) m_grid->addWidget(widgets[column], row, column);
        return widgets;
    }

    QGridLayout* m_grid;
};

// The cancel button takes no focus, so that leaving a box to cancel checks nothing.
void addButtons(QDialog* dialog) {
    const DialogButtons buttons = addDialogButtons(dialog, static_cast<QBoxLayout*>(dialog->layout()),
                                                   QStringLiteral("&Elfogad"), QStringLiteral("&Mégse"));
    buttons.reject->setFocusPolicy(Qt::NoFocus);
}

// Fits the dialog to what it shows, so the hidden level rows take no room.
void shrinkToFit(QDialog* dialog) {
    dialog->layout()->activate();
    dialog->resize(dialog->sizeHint().width() + 40, dialog->sizeHint().height());
}

}  // namespace

TBevetelez::TBevetelez(QWidget* parent, const RecordCursor& product, TableHandle& settings, bool severalLevels,
                       bool quantityEnabled, Prompt& prompt)
    : QDialog(parent), m_settings(settings), m_prompt(prompt) {
    setObjectName(QStringLiteral("TBevetelez"));
    setWindowTitle(QStringLiteral("Bevételezés"));
    const StockDialogSettings s = readStockDialogSettings(settings, severalLevels);
    m_logic = std::make_unique<Receiving>(product, s, prompt);
    StockLayout(this, m_logic->product(), QStringLiteral("Bevételezett m.:"), s.multipliers, true, severalLevels,
                m_boxes);
    addButtons(this);
    for (int i = 0; i < kStockBoxCount; ++i) {
        const StockBox which = StockBox(i);
        QLineEdit* box = m_boxes[size_t(i)];
        connect(box, &QLineEdit::textEdited, this, [this, which](const QString& text) { m_logic->typed(which, text); });
        connect(box, &QLineEdit::editingFinished, this, [this, which] {
            runCommand(m_prompt, [&] {
                m_logic->left(which);
                showTexts();
            });
        });
    }
    showTexts();
    box(StockBox::Quantity)->setEnabled(quantityEnabled);
    QLineEdit* first = quantityEnabled ? box(StockBox::Quantity) : box(StockBox::PurchaseNet);
    first->setFocus();
    first->selectAll();
    shrinkToFit(this);
}

TBevetelez::~TBevetelez() = default;

void TBevetelez::showTexts() {
    for (int i = 0; i < kStockBoxCount; ++i)
        if (m_boxes[size_t(i)]->text() != m_logic->text(StockBox(i)))
            m_boxes[size_t(i)]->setText(m_logic->text(StockBox(i)));
}

void TBevetelez::accept() {
    runCommand(m_prompt, [&] {
        m_values = m_logic->accept(readStockDialogSettings(m_settings, m_logic->settings().severalLevels).multipliers);
        if (m_values) QDialog::accept();
    });
}

TKivetelez::TKivetelez(QWidget* parent, const RecordCursor& product, TableHandle& settings, bool severalLevels,
                       Prompt& prompt)
    : QDialog(parent), m_prompt(prompt) {
    setObjectName(QStringLiteral("TKivetelez"));
    setWindowTitle(QStringLiteral("Kivételezés"));
    m_logic = std::make_unique<Issue>(product, prompt);
    const StockDialogSettings s = readStockDialogSettings(settings, severalLevels);
    StockLayout(this, m_logic->product(), QStringLiteral("Kivételezett m.:"), s.multipliers, false, severalLevels,
                m_boxes);
    addButtons(this);
    for (int i = 0; i < kStockBoxCount; ++i)
        if (m_boxes[size_t(i)]) m_boxes[size_t(i)]->setText(m_logic->text(StockBox(i)));
    QLineEdit* quantity = box(StockBox::Quantity);
    connect(quantity, &QLineEdit::textEdited, this, [this](const QString& text) { m_logic->typed(text); });
    connect(quantity, &QLineEdit::editingFinished, this, [this, quantity] {
        runCommand(m_prompt, [&] {
            if (!m_logic->leftQuantity()) quantity->setFocus();
        });
    });
    quantity->setFocus();
    quantity->selectAll();
    shrinkToFit(this);
}

TKivetelez::~TKivetelez() = default;

void TKivetelez::accept() {
    runCommand(m_prompt, [&] {
        m_quantity = m_logic->accept();
        if (m_quantity)
            QDialog::accept();
        else
            box(StockBox::Quantity)->setFocus();
    });
}

}  // namespace kavina::documents
