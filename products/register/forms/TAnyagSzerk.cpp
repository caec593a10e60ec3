#include "products/register/forms/TAnyagSzerk.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "foundation/CommandBoundary.h"
#include "foundation/NumberBox.h"
#include "foundation/SzamSzov.h"
#include "foundation/forms/DialogButtons.h"

namespace kavina::products {

namespace {

QLineEdit* lineEdit(const QString& objectName, int maxLength) {
    auto* edit = new QLineEdit;
    edit->setObjectName(objectName);
    edit->setMaxLength(maxLength);
    return edit;
}

QLineEdit* numberEdit(const QString& objectName, const QString& allowed = QStringLiteral("[0-9,\\-]*")) {
    auto* edit = new QLineEdit;
    edit->setObjectName(objectName);
    edit->setAlignment(Qt::AlignRight);
    edit->setMaximumWidth(110);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(allowed), edit));
    return edit;
}

QComboBox* listBox(const QString& objectName, const QStringList& items, int maxLength) {
    auto* box = new QComboBox;
    box->setObjectName(objectName);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(items);
    box->lineEdit()->setMaxLength(maxLength);
    return box;
}

// A box with a label or button after it; a stretching box takes the row's width.
QWidget* withTail(QWidget* box, QWidget* tail, bool stretch = false) {
    auto* row = new QWidget;
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(box, stretch ? 1 : 0);
    h->addWidget(tail);
    if (!stretch) h->addStretch(1);
    return row;
}

void setBoxText(QComboBox* box, const QString& text) {
    const int index = box->findText(text);
    if (index >= 0)
        box->setCurrentIndex(index);
    else
        box->setEditText(text);
}

// Rebuilds a box's items (a category or unit recorded meanwhile), keeping its text.
void reloadItems(QComboBox* box, const QStringList& items) {
    const QString text = box->currentText();
    const QSignalBlocker quiet(box);
    box->clear();
    box->addItems(items);
    setBoxText(box, text);
}

}  // namespace

TAnyagSzerk::TAnyagSzerk(QWidget* parent, ProductDialog& logic, Prompt& prompt, const QString& title,
                         const ProductFields& start, ProductWindows* windows)
    : QDialog(parent), m_logic(logic), m_prompt(prompt), m_windows(windows) {
    setObjectName(QStringLiteral("TAnyagSzerk"));
    setWindowTitle(title.isEmpty() ? QStringLiteral("Anyag") : title);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_name = lineEdit(QStringLiteral("nameLineEdit"), 100);
    m_warehouse = listBox(QStringLiteral("warehouseComboBox"), logic.warehouses(), 100);
    m_category = listBox(QStringLiteral("categoryComboBox"), logic.categories(), 60);
    m_statNumber = lineEdit(QStringLiteral("statNumberLineEdit"), 15);
    m_articleNumber = lineEdit(QStringLiteral("articleNumberLineEdit"), logic.articleNumberMaxLength());
    m_barcode = lineEdit(QStringLiteral("barcodeLineEdit"), 20);
    m_minimum = numberEdit(QStringLiteral("minimumLineEdit"));
    m_unit = listBox(QStringLiteral("unitComboBox"), logic.units(), 10);
    m_vat = listBox(QStringLiteral("vatComboBox"), logic.vatGroups(), 40);
    m_warranty = numberEdit(QStringLiteral("warrantyLineEdit"), QStringLiteral("[0-9]{0,6}"));
    m_picture = lineEdit(QStringLiteral("pictureLineEdit"), 100);
    auto* browse = new QPushButton(QStringLiteral("Tallóz"));
    browse->setObjectName(QStringLiteral("browsePushButton"));
    m_onPriceList = new QCheckBox(QStringLiteral("Szerepeljen az árlistán"));
    m_onPriceList->setObjectName(QStringLiteral("priceListCheckBox"));
    form->addRow(QStringLiteral("Megnevezés:"), m_name);
    form->addRow(QStringLiteral("Raktár:"), m_warehouse);
    form->addRow(QStringLiteral("Kategória:"), m_category);
    form->addRow(QStringLiteral("VTSZ/SZJ:"), m_statNumber);
    form->addRow(QStringLiteral("Cikkszám:"), m_articleNumber);
    form->addRow(QStringLiteral("Vonalkód:"), m_barcode);
    form->addRow(QStringLiteral("Min. mennyiség:"), withTail(m_minimum, m_unit));
    form->addRow(QStringLiteral("ÁFA kulcs:"), m_vat);
    form->addRow(QStringLiteral("Szavatosság:"), withTail(m_warranty, new QLabel(QStringLiteral("nap"))));
    form->addRow(QStringLiteral("Anyag képe :"), withTail(m_picture, browse, true));
    form->addRow(QString(), m_onPriceList);
    layout->addLayout(form);
    addDialogButtons(this, layout, QStringLiteral("&Elfogad"), QStringLiteral("&Mégse"))
        .reject->setFocusPolicy(Qt::NoFocus);
    setFields(start);

    connect(m_category->lineEdit(), &QLineEdit::editingFinished, this,
            [this] { checkBox(m_category, &ProductDialog::leftCategory, m_logic.categories()); });
    connect(m_unit->lineEdit(), &QLineEdit::editingFinished, this,
            [this] { checkBox(m_unit, &ProductDialog::leftUnit, m_logic.units()); });
    connect(m_vat->lineEdit(), &QLineEdit::editingFinished, this,
            [this] { checkBox(m_vat, &ProductDialog::leftVatGroup, {}); });
    connect(m_warehouse->lineEdit(), &QLineEdit::editingFinished, this,
            [this] { checkBox(m_warehouse, &ProductDialog::leftWarehouse, {}); });
    connect(m_articleNumber, &QLineEdit::editingFinished, this, &TAnyagSzerk::checkArticleNumber);
    connect(m_barcode, &QLineEdit::editingFinished, this, &TAnyagSzerk::checkArticleNumber);
    connect(m_name, &QLineEdit::editingFinished, this, &TAnyagSzerk::fillFromName);
    connect(browse, &QPushButton::clicked, this, &TAnyagSzerk::browsePicture);
    m_unit->lineEdit()->installEventFilter(this);
    m_category->lineEdit()->installEventFilter(this);
    m_vat->lineEdit()->installEventFilter(this);
    m_name->setFocus();
    resize(520, sizeHint().height());
}

void TAnyagSzerk::setFields(const ProductFields& f) {
    m_name->setText(f.name);
    setBoxText(m_warehouse, f.warehouse);
    setBoxText(m_category, f.category);
    m_statNumber->setText(f.statNumber);
    m_articleNumber->setText(f.articleNumber);
    m_barcode->setText(f.barcode);
    m_minimum->setText(numberBoxText(f.minimum));
    setBoxText(m_unit, f.unit);
    setBoxText(m_vat, f.vatGroup);
    m_warranty->setText(QString::number(f.warranty));
    m_picture->setText(f.picture);
    m_picture->setCursorPosition(0);
    m_onPriceList->setChecked(f.onPriceList);
}

ProductFields TAnyagSzerk::fields() const {
    ProductFields f;
    f.name = m_name->text().trimmed();
    f.warehouse = m_warehouse->currentText().trimmed();
    f.category = m_category->currentText().trimmed();
    f.statNumber = m_statNumber->text().trimmed();
    f.articleNumber = m_articleNumber->text().trimmed();
    f.barcode = m_barcode->text().trimmed();
    f.minimum = readNumberBox(m_minimum->text()).value_or(0);
    f.unit = m_unit->currentText().trimmed();
    f.vatGroup = m_vat->currentText().trimmed();
    f.warranty = int(readNumberBox(m_warranty->text()).value_or(0));
    f.picture = m_picture->text().trimmed();
    f.onPriceList = m_onPriceList->isChecked();
    return f;
}

void TAnyagSzerk::checkBox(QComboBox* box, BoxCheck (ProductDialog::*check)(const QString&), const QStringList& items) {
    runCommand(m_prompt, [&] {
        const BoxCheck result = (m_logic.*check)(box->currentText());
        if (!items.isEmpty()) reloadItems(box, items);
        if (result.text != box->currentText()) setBoxText(box, result.text);
        if (result.refocus) box->setFocus();
    });
}

// A double click on the unit or VAT box opens its window; the box then lists what the table
// holds and takes the record that was current when the window closed.
bool TAnyagSzerk::eventFilter(QObject* watched, QEvent* event) {
    const bool unit = watched == m_unit->lineEdit();
    const bool category = watched == m_category->lineEdit();
    if (m_windows && event->type() == QEvent::MouseButtonDblClick &&
        (unit || category || watched == m_vat->lineEdit())) {
        runCommand(m_prompt, [&] {
            QComboBox* box = unit ? m_unit : category ? m_category : m_vat;
            const std::optional<QString> chosen = unit       ? m_windows->units()
                                                  : category ? m_windows->categories()
                                                             : m_windows->vatGroups();
            reloadItems(box, unit ? m_logic.units() : category ? m_logic.categories() : m_logic.vatGroups());
            if (chosen) setBoxText(box, *chosen);
        });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TAnyagSzerk::checkArticleNumber() {
    runCommand(m_prompt, [&] {
        ProductFields f = fields();
        if (!m_logic.leftArticleNumber(f)) {
            m_articleNumber->setFocus();
            return;
        }
        setFields(f);
    });
}

void TAnyagSzerk::fillFromName() {
    runCommand(m_prompt, [&] {
        ProductFields f = fields();
        m_logic.leftName(f);
        setFields(f);
    });
}

void TAnyagSzerk::browsePicture() {
    runCommand(m_prompt, [&] {
        const std::optional<QString> file =
            m_prompt.chooseFile({.caption = QStringLiteral("Anyag képe"),
                                 .filter = QStringLiteral("Képek (*.bmp *.jpg *.jpeg *.png *.gif);;Minden fájl (*)")});
        if (file) m_picture->setText(*file);
    });
}

void TAnyagSzerk::accept() {
    runCommand(m_prompt, [&] {
        if (!m_logic.readNumber(m_minimum->text())) return m_minimum->setFocus();
        if (!m_logic.readNumber(m_warranty->text())) return m_warranty->setFocus();
        if (m_logic.accept(fields())) QDialog::accept();
    });
}

TSzolgszerk::TSzolgszerk(QWidget* parent, ProductDialog& logic, Prompt& prompt, const QString& title,
                         const ProductFields& start)
    : QDialog(parent), m_logic(logic), m_prompt(prompt) {
    setObjectName(QStringLiteral("TSzolgszerk"));
    setWindowTitle(title.isEmpty() ? QStringLiteral("Szolgáltatás") : title);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_name = lineEdit(QStringLiteral("nameLineEdit"), 100);
    m_category = listBox(QStringLiteral("categoryComboBox"), logic.categories(), 60);
    m_statNumber = lineEdit(QStringLiteral("statNumberLineEdit"), 15);
    m_articleNumber = lineEdit(QStringLiteral("articleNumberLineEdit"), logic.articleNumberMaxLength());
    m_unit = listBox(QStringLiteral("unitComboBox"), logic.units(), 10);
    m_vat = listBox(QStringLiteral("vatComboBox"), logic.vatGroups(), 40);
    form->addRow(QStringLiteral("Megnevezés:"), m_name);
    form->addRow(QStringLiteral("Kategória:"), m_category);
    form->addRow(QStringLiteral("VTSZ/SZJ:"), m_statNumber);
    form->addRow(QStringLiteral("Cikkszám:"), m_articleNumber);
    form->addRow(QStringLiteral("Mértékegység:"), m_unit);
    form->addRow(QStringLiteral("ÁFA kulcs:"), m_vat);
    const QStringList priceNames{QStringLiteral("ár1"), QStringLiteral("ár2"), QStringLiteral("ár3"),
                                 QStringLiteral("fixár")};
    for (size_t i = 0; i < 4; ++i) {
        m_prices[i] = numberEdit(QStringLiteral("price%1LineEdit").arg(i + 1));
        form->addRow(QStringLiteral("Szolgáltatás  ") + priceNames[int(i)] + QLatin1Char(':'),
                     withTail(m_prices[i], new QLabel(QStringLiteral("Ft."))));
    }
    m_onPriceList = new QCheckBox(QStringLiteral("Szerepeljen az árlistán"));
    m_onPriceList->setObjectName(QStringLiteral("priceListCheckBox"));
    form->addRow(QString(), m_onPriceList);
    layout->addLayout(form);
    addDialogButtons(this, layout, QStringLiteral("&Elfogad"), QStringLiteral("&Mégse"))
        .reject->setFocusPolicy(Qt::NoFocus);
    setFields(start);
    connect(m_category->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        runCommand(m_prompt, [&] {
            const BoxCheck result = m_logic.leftCategory(m_category->currentText());
            reloadItems(m_category, m_logic.categories());
            setBoxText(m_category, result.text);
            if (result.refocus) m_category->setFocus();
        });
    });
    connect(m_articleNumber, &QLineEdit::editingFinished, this, [this] {
        runCommand(m_prompt, [&] {
            ProductFields f = fields();
            if (!m_logic.leftArticleNumber(f)) m_articleNumber->setFocus();
        });
    });
    m_name->setFocus();
    resize(460, sizeHint().height());
}

void TSzolgszerk::setFields(const ProductFields& f) {
    m_name->setText(f.name);
    setBoxText(m_category, f.category);
    m_statNumber->setText(f.statNumber);
    m_articleNumber->setText(f.articleNumber);
    setBoxText(m_unit, f.unit);
    setBoxText(m_vat, f.vatGroup);
    for (size_t i = 0; i < 4; ++i) m_prices[i]->setText(numberBoxText(f.prices[i]));
    m_onPriceList->setChecked(f.onPriceList);
}

ProductFields TSzolgszerk::fields() const {
    ProductFields f;
    f.service = true;
    f.name = m_name->text().trimmed();
    f.category = m_category->currentText().trimmed();
    f.statNumber = m_statNumber->text().trimmed();
    f.articleNumber = m_articleNumber->text().trimmed();
    f.unit = m_unit->currentText().trimmed();
    f.vatGroup = m_vat->currentText().trimmed();
    for (size_t i = 0; i < 4; ++i) f.prices[i] = readNumberBox(m_prices[i]->text()).value_or(0);
    f.onPriceList = m_onPriceList->isChecked();
    return f;
}

void TSzolgszerk::accept() {
    runCommand(m_prompt, [&] {
        for (QLineEdit* price : m_prices)
            if (!m_logic.readNumber(price->text())) return price->setFocus();
        if (m_logic.accept(fields())) QDialog::accept();
    });
}

}  // namespace kavina::products
