#include "products/lists/forms/ListWindows.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "foundation/CatalogueFields.h"
#include "foundation/CommandBoundary.h"
#include "foundation/NumberBox.h"
#include "foundation/TextFormat.h"
#include "products/lists/ProductListReport.h"
#include "report/view/PreviewWindow.h"
#include "report/view/ReportPrinter.h"

namespace kavina::products {

namespace {

QLabel* boldLabel(const QString& text, const QString& name) {
    auto* label = new QLabel(text);
    label->setObjectName(name);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.2);
    label->setFont(font);
    return label;
}

void showPreview(QWidget* parent, const report::PreparedReport& pages, Prompt& prompt, report::PrintService& printing,
                 const QString& file) {
    report::PreviewWindow preview(pages, prompt, printing, {.pdfFileName = file}, parent);
    preview.exec();
}

}  // namespace

ProductHistoryWindow::ProductHistoryWindow(QWidget* parent, const QString& productName,
                                           const std::vector<HistoryRow>& rows)
    : QDialog(parent) {
    setObjectName(QStringLiteral("ProductHistoryWindow"));
    setWindowTitle(QStringLiteral("Termék történetiség"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(boldLabel(QStringLiteral("Termékmozgások"), QStringLiteral("headerLabel")));
    auto* name = new QLabel(productName);
    name->setObjectName(QStringLiteral("productLabel"));
    layout->addWidget(name);
    const QStringList heads{"Bizonylat", "Partner", "Cím", "Dátum", "Mennyiség", "Egység", "Ügyintéző"};
    m_table = new QTableWidget(int(rows.size()), int(heads.size()));
    m_table->setObjectName(QStringLiteral("historyTable"));
    m_table->setHorizontalHeaderLabels(heads);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    for (int r = 0; r < int(rows.size()); ++r) {
        const HistoryRow& row = rows[size_t(r)];
        const QStringList texts{
            row.document, row.partner, row.address, dateText(row.issued), numberBoxText(row.quantity),
            row.unit,     row.clerk};
        // A goods receipt brought the product in: green; every other document took it out: red.
        const QColor colour = row.received ? QColor(0, 128, 0) : QColor(Qt::red);
        for (int c = 0; c < texts.size(); ++c) {
            auto* item = new QTableWidgetItem(texts[c]);
            item->setForeground(colour);
            if (c == 4) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(r, c, item);
        }
    }
    m_table->resizeColumnsToContents();
    layout->addWidget(m_table, 1);
    auto* close = new QPushButton(QStringLiteral("&Kilépés"));
    close->setObjectName(QStringLiteral("closePushButton"));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(close);
    layout->addLayout(row);
    resize(860, 420);
}

PriceListDialog::PriceListDialog(QWidget* parent, TDataModule1& data, Prompt& prompt, report::PrintService* printing,
                                 const QString& currentUser)
    : QDialog(parent), m_data(data), m_prompt(prompt), m_printing(printing), m_user(currentUser) {
    setObjectName(QStringLiteral("PriceListDialog"));
    setWindowTitle(QStringLiteral("Árlista nyomtatása"));
    openPriceList(m_data);
    auto* layout = new QVBoxLayout(this);
    auto* box = new QGroupBox(QStringLiteral("Válasszon árcsoportot:"));
    auto* radios = new QVBoxLayout(box);
    m_groups = new QButtonGroup(this);
    for (PriceListGroup g :
         {PriceListGroup::Level1, PriceListGroup::Level2, PriceListGroup::Level3, PriceListGroup::Fixed}) {
        auto* radio = new QRadioButton(priceListGroupCaption(g));
        radio->setObjectName(QStringLiteral("groupRadioButton%1").arg(int(g) + 1));
        m_groups->addButton(radio, int(g));
        radios->addWidget(radio);
    }
    m_groups->button(int(PriceListGroup::Fixed))->setChecked(true);
    layout->addWidget(box);
    auto* copiesRow = new QHBoxLayout;
    copiesRow->addWidget(new QLabel(QStringLiteral("Nyomtatási példányszám:")));
    m_copies = new QSpinBox;
    m_copies->setObjectName(QStringLiteral("copiesSpinBox"));
    m_copies->setRange(1, 99);
    m_copies->setValue(1);
    copiesRow->addWidget(m_copies);
    copiesRow->addStretch(1);
    layout->addLayout(copiesRow);
    auto* buttons = new QHBoxLayout;
    const auto button = [&](const QString& text, const QString& name) {
        auto* b = new QPushButton(text);
        b->setObjectName(name);
        buttons->addWidget(b);
        return b;
    };
    QPushButton* printButton = button(QStringLiteral("&Nyomtatás"), QStringLiteral("printPushButton"));
    QPushButton* previewButton = button(QStringLiteral("Nyomtatási ké&p"), QStringLiteral("previewPushButton"));
    QPushButton* close = button(QStringLiteral("&Kilépés"), QStringLiteral("closePushButton"));
    printButton->setEnabled(printing != nullptr);
    previewButton->setEnabled(printing != nullptr);
    connect(printButton, &QPushButton::clicked, this, &PriceListDialog::print);
    connect(previewButton, &QPushButton::clicked, this, &PriceListDialog::preview);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    layout->addLayout(buttons);
}

PriceListDialog::~PriceListDialog() {
    try {
        closePriceList(m_data);
    } catch (...) {  // a destructor never throws; the register resets its own filter when it opens
    }
}

PriceListGroup PriceListDialog::group() const {
    return PriceListGroup(m_groups->checkedId());
}

int PriceListDialog::copies() const {
    return m_copies->value();
}

report::PreparedReport PriceListDialog::prepare() {
    return priceListLayout(m_data.AnyagTable(), group(), companyHeader(m_data), listFooter(m_data, m_user))->prepare();
}

void PriceListDialog::preview() {
    runCommand(m_prompt, [&] {
        if (!m_printing) return;
        const report::PreparedReport pages = prepare();
        showPreview(this, pages, m_prompt, *m_printing, QStringLiteral("arlista.pdf"));
    });
}

void PriceListDialog::print() {
    runCommand(m_prompt, [&] {
        auto* printer = dynamic_cast<report::ReportPrinter*>(m_printing);
        if (!printer) return;
        const QStringList files = printer->print(prepare(), copies());
        if (!files.isEmpty()) m_prompt.information(QStringLiteral("Nyomtatás"), report::pdfPrintedText(files));
    });
}

void showProductHistory(QWidget* parent, TDataModule1& data) {
    TableHandle& products = data.AnyagTable();
    if (products.isEmpty()) return;
    const std::vector<HistoryRow> rows = productHistory(data, products.asFloat(fields::Anyag::ANYAGKOD));
    ProductHistoryWindow window(parent, products.asString(fields::Anyag::MEGNEVEZES), rows);
    window.exec();
}

void previewProductList(QWidget* parent, TDataModule1& data, Prompt& prompt, report::PrintService& printing,
                        const IniSettings& settings, const QString& currentUser) {
    const report::PreparedReport pages =
        prepareProductList(data.AnyagTable(), settings.szlistmode, listFooter(data, currentUser));
    showPreview(parent, pages, prompt, printing, QStringLiteral("anyagtorzs.pdf"));
}

}  // namespace kavina::products
