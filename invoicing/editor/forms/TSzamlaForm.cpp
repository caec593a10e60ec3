#include "invoicing/editor/forms/TSzamlaForm.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "foundation/CatalogueFields.h"
#include "foundation/CommandBoundary.h"
#include "foundation/NumberBox.h"
#include "foundation/SzamSzov.h"
#include "invoicing/editor/FrequentTexts.h"
#include "widgets/RecordGrid.h"

namespace kavina::invoicing {

namespace {

namespace H = fields::Szamla;
namespace L = fields::Szamla2;

std::vector<widgets::GridColumn> lineColumns() {
    using widgets::ColumnKind;
    return {{QStringLiteral("VTSZ/SZJ"), L::ITJSZAM},
            {QStringLiteral("Megnevezés"), L::MEGNEVEZES},
            {QStringLiteral("Mennyiség"), L::MENNYISEG, false, ColumnKind::Number},
            {QStringLiteral("M.egység"), L::EGYSEG},
            {QStringLiteral("Egységár (nettó)"), L::EGYSEGAR, false, ColumnKind::MoneyFt},
            {QStringLiteral("Egységár (bruttó)"), L::begysegar, false, ColumnKind::MoneyFt},
            {QStringLiteral("Nettó ár"), L::NETTOAR, false, ColumnKind::MoneyFt},
            {QStringLiteral("ÁFA (%)"), L::AFA, false, ColumnKind::Number},
            {QStringLiteral("ÁFA (Ft)"), L::AFAFT, false, ColumnKind::MoneyFt},
            {QStringLiteral("Összesen"), L::OSSZESEN, false, ColumnKind::MoneyFt}};
}

}  // namespace

TSzamlaForm::TSzamlaForm(QWidget* parent, TDataModule1& data, MemoryDocument& document, Prompt& prompt,
                         EditorWindows& windows, const InvoiceEditorOptions& options)
    : QDialog(parent),
      m_data(data),
      m_doc(document),
      m_prompt(prompt),
      m_logic(data, document, prompt, windows, options) {
    setObjectName(QStringLiteral("TSzamlaForm"));
    setWindowTitle(modeCaption(options.mode));
    auto* layout = new QVBoxLayout(this);
    m_header = new QLabel(modeHeaderText(options.mode));
    m_header->setObjectName(QStringLiteral("headerLabel"));
    m_header->setStyleSheet(
        QStringLiteral("QLabel { color: white; font-weight: bold; font-size: 15pt; padding: 6px;"
                       " background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #1f3f7a, stop:1 #7f9fd0); }"));
    layout->addWidget(m_header);
    auto* panels = new QHBoxLayout;
    panels->addWidget(partnerPanel(), 3);
    panels->addWidget(datesPanel(), 2);
    layout->addLayout(panels);
    m_lines = new QTableView;
    m_lines->setObjectName(QStringLiteral("linesTableView"));
    layout->addWidget(m_lines, 1);
    layout->addWidget(totalsPanel());
    layout->addWidget(buttonsRow());
    buildGrid();
    const bool withPartner = modeHasPartner(options.mode);
    m_partnerPanel->setVisible(withPartner);
    m_datesPanel->setVisible(withPartner);
    m_priceGroup->setVisible(m_logic.priceGroupsShown());
    m_priceGroupLabel->setVisible(m_logic.priceGroupsShown());
    m_discount->setEnabled(m_logic.mayChangePrices());
    orderFocus();
    resize(1200, 740);
}

TSzamlaForm::~TSzamlaForm() = default;

QFrame* TSzamlaForm::partnerPanel() {
    m_partnerPanel = new QFrame;
    m_partnerPanel->setObjectName(QStringLiteral("partnerPanel"));
    m_partnerPanel->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(m_partnerPanel);
    auto box = [](const QString& name, bool readOnly) {
        auto* b = new QLineEdit;
        b->setObjectName(name);
        b->setReadOnly(readOnly);
        return b;
    };
    m_name = box(QStringLiteral("partnerNameLineEdit"), true);
    m_code = box(QStringLiteral("partnerCodeLineEdit"), false);
    m_postcode = box(QStringLiteral("postcodeLineEdit"), true);
    m_town = box(QStringLiteral("townLineEdit"), true);
    m_street = box(QStringLiteral("streetLineEdit"), true);
    m_postcode->setMaximumWidth(60);
    m_priceGroup = new QComboBox;
    m_priceGroup->setObjectName(QStringLiteral("priceGroupComboBox"));
    m_priceGroupLabel = new QLabel(QStringLiteral("Árcsoport:"));
    m_discount = new QSpinBox;
    m_discount->setObjectName(QStringLiteral("discountSpinBox"));
    m_discount->setRange(0, 100);
    grid->addWidget(new QLabel(QStringLiteral("Partner neve:")), 0, 0);
    grid->addWidget(m_name, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Partnerkód:")), 0, 4);
    grid->addWidget(m_code, 0, 5);
    grid->addWidget(new QLabel(QStringLiteral("Partner címe:")), 1, 0);
    grid->addWidget(m_postcode, 1, 1);
    grid->addWidget(m_town, 1, 2);
    grid->addWidget(m_street, 1, 3, 1, 3);
    grid->addWidget(m_priceGroupLabel, 2, 0);
    grid->addWidget(m_priceGroup, 2, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Kedvezmény (%) :")), 2, 3, Qt::AlignRight);
    grid->addWidget(m_discount, 2, 4);
    for (QWidget* w : {static_cast<QWidget*>(m_name), static_cast<QWidget*>(m_code)}) w->installEventFilter(this);
    connect(m_priceGroup, &QComboBox::activated, this,
            [this](int) { command([&] { m_logic.setPriceGroup(m_priceGroup->currentData().toInt()); }); });
    connect(m_discount, &QSpinBox::valueChanged, this, [this](int value) {
        if (!m_refilling) command([&] { m_logic.setDiscount(value); });
    });
    return m_partnerPanel;
}

QFrame* TSzamlaForm::datesPanel() {
    m_datesPanel = new QFrame;
    m_datesPanel->setObjectName(QStringLiteral("datesPanel"));
    m_datesPanel->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(m_datesPanel);
    m_payment = new QComboBox;
    m_payment->setObjectName(QStringLiteral("paymentComboBox"));
    auto dateBox = [](const QString& name) {
        auto* d = new QDateEdit;
        d->setObjectName(name);
        d->setDisplayFormat(QStringLiteral("yyyy.MM.dd"));
        d->setMinimumDate(QDate(1900, 1, 1));
        d->setCalendarPopup(true);
        return d;
    };
    m_issued = dateBox(QStringLiteral("issueDateEdit"));
    m_delivered = dateBox(QStringLiteral("deliveryDateEdit"));
    m_due = dateBox(QStringLiteral("dueDateEdit"));
    grid->addWidget(new QLabel(QStringLiteral("Fizetési mód :")), 0, 0);
    grid->addWidget(m_payment, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Számla kelte:")), 1, 0);
    grid->addWidget(m_issued, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Teljesítés ideje:")), 2, 0);
    grid->addWidget(m_delivered, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Fiz. határidő:")), 3, 0);
    grid->addWidget(m_due, 3, 1);
    for (QWidget* w : {static_cast<QWidget*>(m_payment), static_cast<QWidget*>(m_issued),
                       static_cast<QWidget*>(m_delivered), static_cast<QWidget*>(m_due)})
        w->installEventFilter(this);
    connect(m_payment, &QComboBox::activated, this,
            [this](int) { command([&] { m_logic.setPaymentMethod(m_payment->currentText()); }); });
    return m_datesPanel;
}

QWidget* TSzamlaForm::totalsPanel() {
    auto* row = new QWidget;
    auto* h = new QHBoxLayout(row);
    auto amount = [](const QString& name) {
        auto* l = new QLabel;
        l->setObjectName(name);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setMinimumWidth(110);
        l->setFrameShape(QFrame::StyledPanel);
        QFont bold = l->font();
        bold.setBold(true);
        l->setFont(bold);
        return l;
    };
    m_net = amount(QStringLiteral("netTotalLabel"));
    m_vat = amount(QStringLiteral("vatTotalLabel"));
    m_payable = amount(QStringLiteral("payableLabel"));
    m_change = amount(QStringLiteral("changeLabel"));
    m_handedOver = new QLineEdit;
    m_handedOver->setObjectName(QStringLiteral("handedOverLineEdit"));
    m_handedOver->setAlignment(Qt::AlignRight);
    m_handedOver->setMaximumWidth(110);
    for (auto [caption, label] : {std::pair{"ÁFA alap:", m_net}, {"ÁFA:", m_vat}, {"Fizetendő:", m_payable}}) {
        h->addWidget(new QLabel(QString::fromUtf8(caption)));
        h->addWidget(label);
        h->addWidget(new QLabel(QStringLiteral("Ft")));
        h->addSpacing(10);
    }
    h->addStretch(1);
    h->addWidget(new QLabel(QStringLiteral("Átadott összeg:")));
    h->addWidget(m_handedOver);
    h->addWidget(new QLabel(QStringLiteral("Visszajáró:")));
    h->addWidget(m_change);
    connect(m_handedOver, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_logic.setHandedOver(readNumberBox(text).value_or(0));
        showTotals();
    });
    return row;
}

QWidget* TSzamlaForm::buttonsRow() {
    auto* row = new QWidget;
    auto* v = new QVBoxLayout(row);
    v->setContentsMargins(0, 0, 0, 0);
    auto* h = new QHBoxLayout;
    auto button = [&](const QString& text, const QString& name, const QKeySequence& key, bool enabled) {
        auto* b = new QPushButton(text);
        b->setObjectName(name);
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::TabFocus);
        if (!key.isEmpty()) b->setShortcut(key);
        b->setEnabled(enabled);
        h->addWidget(b);
        return b;
    };
    m_newLine = button(QStringLiteral("Új tétel [F5]"), QStringLiteral("newLinePushButton"), Qt::Key_F5, true);
    m_changeLine = button(QStringLiteral("Módosít [F2]"), QStringLiteral("changeLinePushButton"), Qt::Key_F2, true);
    m_deleteLine = button(QStringLiteral("Töröl [F8]"), QStringLiteral("deleteLinePushButton"), Qt::Key_F8, true);
    QPushButton* temporary =
        button(QStringLiteral("Ideiglenes mentés"), QStringLiteral("temporarySavePushButton"), {}, true);
    QPushButton* reload = button(QStringLiteral("Mentés visszatöltése"), QStringLiteral("reloadPushButton"), {}, true);
    QPushButton* preview = button(QStringLiteral("Előnézet"), QStringLiteral("previewPushButton"), {}, true);
    QPushButton* remark = button(QStringLiteral("Megjegyzés"), QStringLiteral("remarkPushButton"), {}, true);
    m_print = button(QStringLiteral("Nyomtat [F10]"), QStringLiteral("printPushButton"), Qt::Key_F10, true);
    QPushButton* close = button(QStringLiteral("&Kilépés"), QStringLiteral("closePushButton"), {}, true);
    v->addLayout(h);
    auto* hint = new QLabel(QStringLiteral("F6 - Gyakran használt szövegek"));
    hint->setObjectName(QStringLiteral("hintLabel"));
    v->addWidget(hint);
    auto* texts = new QShortcut(Qt::Key_F6, this);
    connect(texts, &QShortcut::activated, this, &TSzamlaForm::showFrequentTexts);
    connect(m_newLine, &QPushButton::clicked, this, [this] { command([&] { m_logic.addLine(); }); });
    connect(m_changeLine, &QPushButton::clicked, this, [this] { command([&] { m_logic.changeLine(); }); });
    connect(m_deleteLine, &QPushButton::clicked, this, [this] { command([&] { m_logic.deleteLine(); }); });
    connect(preview, &QPushButton::clicked, this, [this, preview] {
        preview->setEnabled(false);
        command([&] { m_logic.preview(m_data.UserTable()); });
        preview->setEnabled(true);
    });
    connect(temporary, &QPushButton::clicked, this, [this] { command([&] { m_logic.temporarySave(); }); });
    connect(reload, &QPushButton::clicked, this, [this] { command([&] { m_logic.reload(); }); });
    connect(remark, &QPushButton::clicked, this, [this] { command([&] { m_logic.editRemark(); }); });
    connect(m_print, &QPushButton::clicked, this, &TSzamlaForm::save);
    connect(close, &QPushButton::clicked, this, &TSzamlaForm::reject);
    return row;
}

// The texts are only for copying by hand; the box is written back when it is left changed.
void TSzamlaForm::showFrequentTexts() {
    const QString folder = QDir::currentPath();
    QString loaded;
    if (!runCommand(m_prompt, [&] { loaded = loadFrequentTexts(folder); })) return;
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("frequentTextsDialog"));
    dialog.setWindowTitle(QStringLiteral("Gyakran használt szövegek"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* box = new QPlainTextEdit(loaded);
    box->setObjectName(QStringLiteral("frequentTextsPlainTextEdit"));
    layout->addWidget(box);
    dialog.resize(560, 360);
    dialog.exec();
    command([&] { leaveFrequentTexts(folder, loaded, box->toPlainText(), m_prompt); });
}

void TSzamlaForm::buildGrid() {
    m_lines->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_lines->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lines->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lines->setAlternatingRowColors(true);
    m_lines->verticalHeader()->hide();
    m_lines->setContextMenuPolicy(Qt::CustomContextMenu);
    m_grid = std::make_unique<widgets::RecordGrid>(m_lines, m_doc.mszamla2, lineColumns(), m_prompt);
    // Wide enough for the title, which the header draws bold, and for the usual amounts.
    QFont titleFont = m_lines->horizontalHeader()->font();
    titleFont.setBold(true);
    const QFontMetrics title(titleFont);
    const int least[] = {70, 220, 70, 50, 110, 110, 110, 50, 100, 110};
    for (int c = 0; c < 10; ++c) {
        const QString text = m_grid->model().headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        m_lines->setColumnWidth(c, std::max(least[c], title.horizontalAdvance(text) + 20));
    }
    m_lines->horizontalHeader()->setStretchLastSection(true);
    m_lines->installEventFilter(this);
    m_lines->viewport()->installEventFilter(this);
    connect(m_lines->horizontalHeader(), &QHeaderView::sectionClicked, this, &TSzamlaForm::sortLines);
    m_menu = new QMenu(this);
    m_menu->addAction(QStringLiteral("Új tétel"), this, [this] { m_newLine->click(); });
    m_menu->addAction(QStringLiteral("Módosít"), this, [this] { m_changeLine->click(); });
    m_menu->addAction(QStringLiteral("Töröl"), this, [this] { m_deleteLine->click(); });
    connect(m_lines, &QTableView::customContextMenuRequested, this,
            [this](const QPoint& at) { m_menu->popup(m_lines->viewport()->mapToGlobal(at)); });
}

void TSzamlaForm::sortLines(int column) {
    command([&] {
        m_doc.mszamla2.sort({{m_grid->model().columns()[size_t(column)].field}});
        m_grid->model().setSortColumn(column);
    });
}

void TSzamlaForm::fillSelectors() {
    const QSignalBlocker quietGroups(m_priceGroup), quietPayment(m_payment);
    m_priceGroup->clear();
    TableHandle& groups = m_data.ArTable();
    for (groups.first(); !groups.eof() && !groups.isEmpty(); groups.next())
        m_priceGroup->addItem(groups.asString(fields::Arcsoport::ARCSOPORT),
                              int(groups.asInteger(fields::Arcsoport::ID)));
    m_payment->clear();
    TableHandle& methods = m_data.FizmodTable();
    for (methods.first(); !methods.eof() && !methods.isEmpty(); methods.next())
        m_payment->addItem(methods.asString(fields::Fizmod::FIZMOD));
}

bool TSzamlaForm::start() {
    bool opened = false;
    runCommand(m_prompt, [&] {
        fillSelectors();
        opened = m_logic.open();
    });
    if (!opened) return false;
    showHeader();
    return true;
}

void TSzamlaForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!modeHasPartner(m_logic.mode()))
        m_lines->setFocus();
    else if (m_logic.startsInPartnerCode())
        m_code->setFocus();
    else
        m_name->setFocus();
}

void TSzamlaForm::showHeader() {
    m_refilling = true;
    const RecordCursor& h = m_logic.header();
    m_name->setText(h.asString(H::NEV));
    m_postcode->setText(h.asString(H::IRSZAM));
    m_town->setText(h.asString(H::VAROS));
    m_street->setText(h.asString(H::CIM));
    m_priceGroup->setCurrentIndex(m_priceGroup->findData(int(h.asInteger(H::ARCSOPORT))));
    m_discount->setValue(int(h.asInteger(H::KEDVEZMENY)));
    m_payment->setCurrentIndex(m_payment->findText(h.asString(H::FIZMOD)));
    m_issued->setDate(h.asDate(H::KIALLIT));
    m_delivered->setDate(h.asDate(H::TELJESIT));
    m_due->setDate(h.asDate(H::FIZHAT));
    m_refilling = false;
    showTotals();
}

void TSzamlaForm::showTotals() {
    const RecordCursor& h = m_logic.header();
    m_net->setText(groupDigits(KerekitRound(h.asFloat(H::AFAALAP))));
    m_vat->setText(groupDigits(KerekitRound(h.asFloat(H::AFAFT))));
    m_payable->setText(groupDigits(m_logic.payable()));
    m_change->setText(groupDigits(KerekitRound(m_logic.change())));
    const bool any = !m_doc.mszamla2.isEmpty();
    m_changeLine->setEnabled(any);
    m_deleteLine->setEnabled(any);
}

void TSzamlaForm::orderFocus() {
    QWidget* order[] = {m_name,   m_code,      m_priceGroup, m_discount, m_payment,
                        m_issued, m_delivered, m_due,        m_lines,    m_handedOver};
    for (size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
}

void TSzamlaForm::command(const std::function<void()>& action) {
    runCommand(m_prompt, action);
    // The registers and dialogs a command opened are gone: the keys are the editor's again.
    if (isVisible()) activateWindow();
    runCommand(m_prompt, [&] {
        m_grid->sync();
        showHeader();
    });
}

// A box whose rule refuses its value keeps the focus.
bool TSzamlaForm::leaveBox(QObject* box) {
    bool left = true;
    command([&] {
        if (box == m_code) left = m_logic.partnerCodeLeft(m_code->text());
        if (box == m_issued || box == m_payment) left = m_logic.issueDateLeft(m_issued->date());
        if (box == m_delivered) left = m_logic.deliveryDateLeft(m_delivered->date());
        if (box == m_due) left = m_logic.dueDateLeft(m_due->date());
    });
    if (!left) QTimer::singleShot(0, static_cast<QWidget*>(box), [box] { static_cast<QWidget*>(box)->setFocus(); });
    return left;
}

// A stored document closes the editor; a refused one puts the focus on the box it names.
void TSzamlaForm::save() {
    EditorFocus focus = EditorFocus::None;
    bool stored = false;
    command([&] { stored = m_logic.save(focus); });
    if (stored) {
        runCommand(m_prompt, [&] { m_logic.close(); });  // saved: it asks nothing and empties the document
        QDialog::accept();
        return;
    }
    QWidget* box = focus == EditorFocus::IssueDate       ? static_cast<QWidget*>(m_issued)
                   : focus == EditorFocus::PaymentMethod ? static_cast<QWidget*>(m_payment)
                   : focus == EditorFocus::PartnerName   ? static_cast<QWidget*>(m_name)
                                                         : nullptr;
    if (box) box->setFocus();
}

void TSzamlaForm::reject() {
    bool close = false;
    runCommand(m_prompt, [&] { close = m_logic.close(); });
    if (close) QDialog::reject();
}

bool TSzamlaForm::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type == QEvent::FocusOut && !m_refilling) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        const bool leaving = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                             reason == Qt::MouseFocusReason || reason == Qt::OtherFocusReason;
        if (leaving && (watched == m_code || watched == m_issued || watched == m_delivered || watched == m_due ||
                        watched == m_payment))
            leaveBox(watched);
    }
    if (watched == m_name && (type == QEvent::MouseButtonRelease || type == QEvent::KeyPress)) {
        const int key = type == QEvent::KeyPress ? static_cast<QKeyEvent*>(event)->key() : 0;
        const bool opens = type == QEvent::MouseButtonRelease ||
                           (key != Qt::Key_Escape && key != Qt::Key_Tab && key != Qt::Key_Backtab &&
                            ((key != Qt::Key_Return && key != Qt::Key_Enter) || m_name->text().isEmpty()));
        if (opens && !(type == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->text().isEmpty() &&
                       key != Qt::Key_Return && key != Qt::Key_Enter)) {
            bool picked = false;
            command([&] { picked = m_logic.pickPartner(); });
            if (picked) m_lines->setFocus();
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    if (type == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if (watched == m_payment && enter) {
            leaveBox(m_payment);
            m_issued->setFocus();
            return true;
        }
        if (watched == m_code && enter) {
            if (leaveBox(m_code) && !m_code->text().trimmed().isEmpty()) m_lines->setFocus();
            return true;
        }
        if ((watched == m_issued || watched == m_delivered || watched == m_due) && enter) {
            focusNextChild();
            return true;
        }
        if (watched == m_lines) {
            if (key == Qt::Key_Insert) return m_newLine->click(), true;
            if (enter) return m_changeLine->click(), true;
            if (key == Qt::Key_Delete) return m_deleteLine->click(), true;
        }
    }
    if (watched == m_lines->viewport() && type == QEvent::MouseButtonPress)
        m_clickHitRow = m_lines->indexAt(static_cast<QMouseEvent*>(event)->pos()).isValid();
    if (watched == m_lines->viewport() && type == QEvent::MouseButtonDblClick) {
        m_clickHitRow = m_lines->indexAt(static_cast<QMouseEvent*>(event)->pos()).isValid();
        (m_clickHitRow ? m_changeLine : m_newLine)->click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace kavina::invoicing
