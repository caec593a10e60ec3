#include "products/pricing/forms/Takciok.h"

#include <QDateEdit>
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
#include "widgets/ListWindow.h"
#include "widgets/RecordGrid.h"

namespace kavina::products {

namespace {

namespace K = fields::Akcio;

QDateEdit* dateBox(const QString& objectName, const QDate& date) {
    auto* box = new QDateEdit(date);
    box->setObjectName(objectName);
    box->setDisplayFormat(QStringLiteral("yyyy.MM.dd"));
    box->setCalendarPopup(true);
    return box;
}

}  // namespace

TAkcioszerk::TAkcioszerk(QWidget* parent, Prompt& prompt, const PromotionValues& start)
    : QDialog(parent), m_prompt(prompt) {
    setObjectName(QStringLiteral("TAkcioszerk"));
    setWindowTitle(QStringLiteral("Akció"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_from = dateBox(QStringLiteral("fromDateEdit"), start.from);
    m_to = dateBox(QStringLiteral("toDateEdit"), start.to);
    m_gross = new QLineEdit(numberBoxText(start.gross));
    m_gross->setObjectName(QStringLiteral("grossLineEdit"));
    m_gross->setAlignment(Qt::AlignRight);
    m_gross->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9,\\-]*")), m_gross));
    auto* price = new QWidget;
    auto* row = new QHBoxLayout(price);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_gross);
    row->addWidget(new QLabel(QStringLiteral("Ft.")));
    form->addRow(QStringLiteral("Mettől:"), m_from);
    form->addRow(QStringLiteral("Meddig:"), m_to);
    form->addRow(QStringLiteral("Bruttó ár:"), price);
    layout->addLayout(form);
    addDialogButtons(this, layout, QStringLiteral("&Ok"), QStringLiteral("&Mégse"));
}

void TAkcioszerk::accept() {
    runCommand(m_prompt, [&] {
        const std::optional<double> gross = readPriceText(m_prompt, m_gross->text());
        if (!gross) {
            m_gross->setFocus();
            return;
        }
        m_values = PromotionValues{m_from->date(), m_to->date(), *gross};
        QDialog::accept();
    });
}

Takciok::Takciok(QWidget* parent, TDataModule1& data, Prompt& prompt, const RecordCursor& product, const QDate& today,
                 PromotionWindows* windows)
    : QDialog(parent), m_prompt(prompt) {
    setObjectName(QStringLiteral("Takciok"));
    setWindowTitle(QStringLiteral("Akciók"));
    m_promotions =
        std::make_unique<Promotions>(data, prompt, windows ? *windows : *this, product.asFloat(fields::Anyag::ANYAGKOD),
                                     product.asFloat(fields::Anyag::bfixar), [today] { return today; });
    runCommand(prompt, [&] { m_promotions->open(); });
    widgets::ListWindow frame(this, QStringLiteral("promotionGrid"));
    m_grid = frame.grid();
    m_list = std::make_unique<widgets::RecordGrid>(
        m_grid, data.akcio(),
        std::vector<widgets::GridColumn>{
            {QStringLiteral("Mettől"), K::mettol, false, widgets::ColumnKind::Day},
            {QStringLiteral("Meddig"), K::meddig, false, widgets::ColumnKind::Day},
            {QStringLiteral("Bruttó ár"), K::bruttoar, false, widgets::ColumnKind::Number}},
        prompt);
    connect(frame.addButton(QStringLiteral("Új akció"), QStringLiteral("newPushButton")), &QPushButton::clicked, this,
            [this] { run(&Promotions::add); });
    connect(frame.addButton(QStringLiteral("Módosítá&s"), QStringLiteral("modifyPushButton")), &QPushButton::clicked,
            this, [this] { run(&Promotions::modifyCurrent); });
    connect(frame.addButton(QStringLiteral("&Törlés"), QStringLiteral("deletePushButton")), &QPushButton::clicked, this,
            [this] { run(&Promotions::deleteCurrent); });
    frame.addCloseButton();
    resize(460, 320);
}

Takciok::~Takciok() = default;

std::optional<PromotionValues> Takciok::editPromotion(const PromotionValues& start) {
    TAkcioszerk dialog(this, m_prompt, start);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.values();
}

void Takciok::run(bool (Promotions::*action)()) {
    runCommand(m_prompt, [&] { ((*m_promotions).*action)(); });
}

}  // namespace kavina::products
