#include "products/barcodes/forms/BarcodeBookWindow.h"

#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

#include "foundation/CatalogueFields.h"
#include "foundation/CommandBoundary.h"
#include "foundation/forms/DialogButtons.h"
#include "products/barcodes/BarcodeLabels.h"
#include "products/pickers/forms/ProductPicker.h"
#include "products/pickers/forms/QtPickerWindows.h"
#include "report/view/PreviewWindow.h"
#include "widgets/RecordGrid.h"

namespace kavina::products {

namespace B = fields::Vonalkod;

namespace {

const QString kHeader = QStringLiteral("Vonalkód-könyv szerkesztése");

QLabel* headerLabel() {
    auto* header = new QLabel(kHeader);
    header->setObjectName(QStringLiteral("headerLabel"));
    QFont font = header->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.3);
    header->setFont(font);
    return header;
}

}  // namespace

BarcodeLabelDialog::BarcodeLabelDialog(QWidget* parent, Prompt& prompt, const BarcodeLabel& start)
    : QDialog(parent), m_prompt(prompt) {
    setObjectName(QStringLiteral("BarcodeLabelDialog"));
    setWindowTitle(QStringLiteral("Szerkesztés"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(headerLabel());
    auto* form = new QFormLayout;
    const auto box = [&](const QString& label, const QString& name, const QString& text, int width) {
        auto* edit = new QLineEdit(text);
        edit->setObjectName(name);
        edit->setMaxLength(width);
        form->addRow(label, edit);
        return edit;
    };
    // The widths of vonalkod.dbf's fields.
    m_name = box(QStringLiteral("Megnevezés:"), QStringLiteral("nameLineEdit"), start.name, 100);
    m_unit = box(QStringLiteral("Mértékegység:"), QStringLiteral("unitLineEdit"), start.unit, 10);
    m_barcode = box(QStringLiteral("Vonalkód:"), QStringLiteral("barcodeLineEdit"), start.barcode, 20);
    m_picture = new QLineEdit(start.picture);
    m_picture->setObjectName(QStringLiteral("pictureLineEdit"));
    m_picture->setMaxLength(100);
    auto* browse = new QPushButton(QStringLiteral("Tallóz"));
    browse->setObjectName(QStringLiteral("browsePushButton"));
    connect(browse, &QPushButton::clicked, this, [this] { runCommand(m_prompt, [this] { this->browse(); }); });
    auto* pictureRow = new QHBoxLayout;
    pictureRow->addWidget(m_picture, 1);
    pictureRow->addWidget(browse);
    form->addRow(QStringLiteral("Kép:"), pictureRow);
    layout->addLayout(form);
    addDialogButtons(this, layout, QStringLiteral("&Elfogad"), QStringLiteral("&Mégse"));
    resize(480, sizeHint().height());
}

void BarcodeLabelDialog::browse() {
    const std::optional<QString> file =
        m_prompt.chooseFile({.caption = QStringLiteral("Kép"),
                             .folder = QFileInfo(m_picture->text()).absolutePath(),
                             .filter = QStringLiteral("Képek (*.bmp *.jpg *.jpeg *.png *.gif)")});
    if (file) m_picture->setText(*file);
}

BarcodeLabel BarcodeLabelDialog::label() const {
    return {m_name->text(), m_unit->text(), m_barcode->text(), m_picture->text()};
}

BarcodeBookWindow::BarcodeBookWindow(QWidget* parent, TDataModule1& data, Prompt& prompt,
                                     const BarcodeBookOptions& options)
    : QDialog(parent), m_data(data), m_prompt(prompt), m_options(options) {
    setObjectName(QStringLiteral("BarcodeBookWindow"));
    setWindowTitle(QStringLiteral("Vonalkód-könyv"));
    m_book = std::make_unique<BarcodeBook>(data, prompt, options.windows ? *options.windows : *this,
                                           *options.picker.desktop);
    m_book->open();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(headerLabel());
    auto* body = new QHBoxLayout;
    layout->addLayout(body, 1);
    m_grid = new QTableView;
    m_grid->setObjectName(QStringLiteral("labelGrid"));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setStretchLastSection(true);
    body->addWidget(m_grid, 1);
    m_list = std::make_unique<widgets::RecordGrid>(
        m_grid, data.vonalkodTable(),
        std::vector<widgets::GridColumn>{{QStringLiteral("Megnevezés"), B::megnevezes},
                                         {QStringLiteral("Mértékegység"), B::me},
                                         {QStringLiteral("Vonalkód"), B::vonalkod}},
        prompt);
    m_grid->setColumnWidth(0, 300);
    m_buttons = new QWidget;
    auto* column = new QVBoxLayout(m_buttons);
    column->setContentsMargins(0, 0, 0, 0);
    body->addWidget(m_buttons);
    connect(addButton(QStringLiteral("Új tétel [F5]"), QStringLiteral("newPushButton"), Qt::Key_F5),
            &QPushButton::clicked, this, [this] { run(&BarcodeBook::add); });
    connect(addButton(QStringLiteral("Módosít [F2]"), QStringLiteral("modifyPushButton"), Qt::Key_F2),
            &QPushButton::clicked, this, [this] { run(&BarcodeBook::modifyCurrent); });
    connect(addButton(QStringLiteral("Töröl [F8]"), QStringLiteral("deletePushButton"), Qt::Key_F8),
            &QPushButton::clicked, this, [this] { run(&BarcodeBook::deleteCurrent); });
    QPushButton* printButton = addButton(QStringLiteral("Nyomtatás"), QStringLiteral("printPushButton"), {});
    printButton->setEnabled(options.printing != nullptr);
    connect(printButton, &QPushButton::clicked, this, &BarcodeBookWindow::print);
    connect(addButton(QStringLiteral("Képnéző"), QStringLiteral("pictureViewerPushButton"), {}), &QPushButton::clicked,
            this, [this] { runCommand(m_prompt, [this] { m_book->showPicture(); }); });
    column->addStretch(1);
    QPushButton* close = addButton(QStringLiteral("&Kilépés"), QStringLiteral("closePushButton"), {});
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    // A double click on a row changes that label; below the last row it adds one.
    m_grid->viewport()->installEventFilter(this);
    resize(720, 420);
}

BarcodeBookWindow::~BarcodeBookWindow() = default;

bool BarcodeBookWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_grid->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        const QModelIndex row = m_grid->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        if (row.isValid()) {
            m_list->model().moveTo(row.row());
            run(&BarcodeBook::modifyCurrent);
        } else {
            run(&BarcodeBook::add);
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

QPushButton* BarcodeBookWindow::addButton(const QString& text, const QString& name, const QKeySequence& key) {
    auto* b = new QPushButton(text);
    b->setObjectName(name);
    b->setMinimumWidth(b->sizeHint().width() + 16);
    m_buttons->layout()->addWidget(b);
    if (!key.isEmpty()) {
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, b, &QPushButton::click);
    }
    return b;
}

void BarcodeBookWindow::run(bool (BarcodeBook::*action)()) {
    runCommand(m_prompt, [&] { ((*m_book).*action)(); });
}

bool BarcodeBookWindow::pickProduct() {
    QtPickerWindows windows(this, m_prompt, m_data.dataFolder());
    ProductPicker picker(this, m_data, m_prompt, m_options.picker, windows);
    picker.request().mode = CallerMode::BarcodeBook;
    picker.request().priceGroup = 1;
    return picker.pick();
}

std::optional<BarcodeLabel> BarcodeBookWindow::editLabel(const BarcodeLabel& start) {
    BarcodeLabelDialog dialog(this, m_prompt, start);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.label();
}

void BarcodeBookWindow::print() {
    runCommand(m_prompt, [&] {
        if (!m_options.printing) return;
        BarcodeSheet sheet = barcodeSheet(m_data.vonalkodTable());
        const report::PreparedReport pages = sheet.layout->prepare();
        report::PreviewWindow preview(pages, m_prompt, *m_options.printing,
                                      {.pdfFileName = QStringLiteral("vonalkodok.pdf")}, this);
        preview.exec();
    });
}

}  // namespace kavina::products
