#include "products/pricing/forms/TArazas.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "foundation/CommandBoundary.h"
#include "foundation/NumberBox.h"
#include "foundation/forms/DialogButtons.h"

namespace kavina::products {

namespace {

const char* const kBoxNames[kPriceBoxCount] = {
    "purchaseNetLineEdit", "purchaseGrossLineEdit", "level1NetLineEdit",   "level1GrossLineEdit", "level2NetLineEdit",
    "level2GrossLineEdit", "level3NetLineEdit",     "level3GrossLineEdit", "fixedNetLineEdit",    "fixedGrossLineEdit"};

QLineEdit* readOnlyBox(const QString& objectName, const QString& text) {
    auto* box = new QLineEdit(text);
    box->setObjectName(objectName);
    box->setReadOnly(true);
    return box;
}

}  // namespace

TArazas::TArazas(QWidget* parent, const RecordCursor& product, const RepricingSettings& settings,
                 TableHandle& userTable, Prompt& prompt)
    : QDialog(parent), m_userTable(userTable), m_prompt(prompt) {
    setObjectName(QStringLiteral("TArazas"));
    setWindowTitle(QStringLiteral("Átárazás"));
    m_logic = std::make_unique<Repricing>(product, settings, prompt);
    layOut(settings);
    for (int i = 0; i < kPriceBoxCount; ++i) {
        const PriceBox which = PriceBox(i);
        QLineEdit* box = m_boxes[size_t(i)];
        box->installEventFilter(this);
        connect(box, &QLineEdit::textEdited, this, [this, which](const QString& text) { m_logic->typed(which, text); });
        connect(box, &QLineEdit::editingFinished, this, [this, which] {
            runCommand(m_prompt, [&] {
                m_logic->left(which);
                showTexts();
            });
        });
    }
    showTexts();
    box(PriceBox::PurchaseNet)->setFocus();
    box(PriceBox::PurchaseNet)->selectAll();
    layout()->activate();
    resize(sizeHint().width() + 40, sizeHint().height());
}

TArazas::~TArazas() = default;

// The product above, then one row per price: the caption, the net box and "Ft.", the gross
// box and "Ft.", and for the levels their multiplier. With one price level only the purchase
// price and the fixed price, called the sale price, are shown.
void TArazas::layOut(const RepricingSettings& settings) {
    auto* grid = new QGridLayout;
    const RepricedProduct& p = m_logic->product();
    grid->addWidget(new QLabel(QStringLiteral("Megnevezés:")), 0, 0);
    grid->addWidget(readOnlyBox(QStringLiteral("nameLineEdit"), p.name), 0, 1, 1, 5);
    grid->addWidget(new QLabel(QStringLiteral("Jelenlegi készlet:")), 1, 0);
    QLineEdit* stock = readOnlyBox(QStringLiteral("stockLineEdit"), numberBoxText(p.stock));
    stock->setAlignment(Qt::AlignRight);
    stock->setMaximumWidth(110);
    grid->addWidget(stock, 1, 1);
    grid->addWidget(new QLabel(p.unit), 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Nettó ár")), 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Bruttó ár")), 2, 3);
    const auto row = [&](int at, const QString& caption, PriceBox net) {
        QList<QWidget*> widgets{new QLabel(caption)};
        for (PriceBox which : {net, PriceBox(int(net) + 1)}) {
            auto* box = new QLineEdit;
            box->setObjectName(QString::fromLatin1(kBoxNames[int(which)]));
            box->setAlignment(Qt::AlignRight);
            box->setMaximumWidth(110);
            box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9,\\-]*")), box));
            m_boxes[size_t(which)] = box;
            widgets << box << new QLabel(QStringLiteral("Ft."));
        }
        for (int column = 0; column < widgets.size(); ++column) grid->addWidget(widgets[column], at, column);
        return widgets;
    };
    row(3, QStringLiteral("Beszerzési ár:"), PriceBox::PurchaseNet);
    for (int level = 0; level < 3; ++level) {
        QList<QWidget*> widgets = row(4 + level, QStringLiteral("Eladási ár %1:").arg(level + 1), levelNetBox(level));
        auto* multiplier =
            new QLabel(QStringLiteral("( Szorzó: %1%)").arg(numberBoxText(settings.rule.markups[size_t(level)])));
        grid->addWidget(multiplier, 4 + level, 5);
        widgets << multiplier;
        for (QWidget* w : widgets) w->setVisible(settings.severalLevels);
    }
    const QList<QWidget*> fixed = row(7, QStringLiteral("Fix eladási ár:"), PriceBox::FixedNet);
    if (!settings.severalLevels) static_cast<QLabel*>(fixed.first())->setText(QStringLiteral("Eladási ár:"));
    grid->setColumnStretch(5, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    // "&Mégse" takes no focus, so that leaving a box to cancel computes nothing.
    addDialogButtons(this, layout, QStringLiteral("&Elfogad"), QStringLiteral("&Mégse"))
        .reject->setFocusPolicy(Qt::NoFocus);
}

void TArazas::showTexts() {
    for (int i = 0; i < kPriceBoxCount; ++i)
        if (m_boxes[size_t(i)]->text() != m_logic->text(PriceBox(i)))
            m_boxes[size_t(i)]->setText(m_logic->text(PriceBox(i)));
}

// Every key pressed in a price box marks it as the last one typed in, also a key that
// changes no text; the keys that only move the focus on or close the window do not.
bool TArazas::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool moves = key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Return ||
                           key == Qt::Key_Enter || key == Qt::Key_Escape;
        for (int i = 0; i < kPriceBoxCount && !moves; ++i)
            if (watched == m_boxes[size_t(i)]) m_logic->keyPressed(PriceBox(i));
    }
    return QDialog::eventFilter(watched, event);
}

void TArazas::accept() {
    runCommand(m_prompt, [&] {
        m_values = m_logic->accept(currentMultipliers(m_userTable));
        if (m_values) {
            QDialog::accept();
            return;
        }
        if (const std::optional<PriceBox> refused = m_logic->firstRefused()) box(*refused)->setFocus();
    });
}

}  // namespace kavina::products
