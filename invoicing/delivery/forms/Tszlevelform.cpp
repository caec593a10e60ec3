#include "invoicing/delivery/forms/Tszlevelform.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "foundation/CatalogueFields.h"
#include "foundation/CommandBoundary.h"
#include "foundation/NumberBox.h"
#include "foundation/SzamSzov.h"
#include "widgets/RecordGrid.h"

namespace kavina::invoicing {

namespace {

namespace H = fields::Szamla;
namespace L = fields::Szamla2;

// An offer names both unit prices the same way, net and gross.
std::vector<widgets::GridColumn> lineColumns(DeliveryKind kind) {
    using widgets::ColumnKind;
    const bool offer = kind == DeliveryKind::Offer;
    return {{QStringLiteral("VTSZ/SZJ"), L::ITJSZAM},
            {QStringLiteral("Megnevezés"), L::MEGNEVEZES},
            {QStringLiteral("Mennyiség"), L::MENNYISEG, false, ColumnKind::Number},
            {QStringLiteral("M.egység"), L::EGYSEG},
            {offer ? QStringLiteral("Egységár (nettó)") : QStringLiteral("Egységár"), L::EGYSEGAR, false,
             ColumnKind::MoneyFt},
            {offer ? QStringLiteral("Egységár (bruttó)") : QStringLiteral("Egyégár (Bruttó)"), L::begysegar, false,
             ColumnKind::MoneyFt},
            {QStringLiteral("Nettó ár"), L::NETTOAR, false, ColumnKind::MoneyFt},
            {QStringLiteral("ÁFA (%)"), L::AFA, false, ColumnKind::Number},
            {QStringLiteral("ÁFA (Ft)"), L::AFAFT, false, ColumnKind::MoneyFt},
            {QStringLiteral("Összesen"), L::OSSZESEN, false, ColumnKind::MoneyFt}};
}

QLineEdit* lineEdit(const QString& name, bool readOnly = false) {
    auto* box = new QLineEdit;
    box->setObjectName(name);
    box->setReadOnly(readOnly);
    return box;
}

}  // namespace

Tszlevelform::Tszlevelform(QWidget* parent, TDataModule1& data, MemoryDocument& document, Prompt& prompt,
                           DeliveryWindows& windows, const DeliveryEditorOptions& options)
    : QDialog(parent),
      m_data(data),
      m_doc(document),
      m_prompt(prompt),
      m_logic(data, document, prompt, windows, options) {
    // The partner register tells the editors apart by their window names.
    setObjectName(options.kind == DeliveryKind::Offer ? QStringLiteral("TAjanlatForm")
                                                      : QStringLiteral("Tszlevelform"));
    setWindowTitle(deliveryHeaderText(options.kind));
    auto* layout = new QVBoxLayout(this);
    m_header = new QLabel(QStringLiteral("        ") + deliveryCaption(options.kind));
    m_header->setObjectName(QStringLiteral("headerLabel"));
    m_header->setStyleSheet(
        QStringLiteral("QLabel { color: white; font-weight: bold; font-size: 15pt; padding: 6px;"
                       " background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #1f5f3a, stop:1 #8fc0a0); }"));
    layout->addWidget(m_header);
    layout->addWidget(partnerGroup());
    m_lines = new QTableView;
    m_lines->setObjectName(QStringLiteral("linesTableView"));
    layout->addWidget(m_lines, 1);
    layout->addWidget(linesButtons());
    layout->addWidget(totalsRow());
    layout->addWidget(bottomButtons());
    buildGrid();
    applyKind();
}

Tszlevelform::~Tszlevelform() = default;

QWidget* Tszlevelform::partnerGroup() {
    auto* frame = new QFrame;
    frame->setObjectName(QStringLiteral("partnerPanel"));
    frame->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(frame);
    m_name = lineEdit(QStringLiteral("partnerNameLineEdit"), true);
    m_code = lineEdit(QStringLiteral("partnerCodeLineEdit"));
    m_postcode = lineEdit(QStringLiteral("postcodeLineEdit"), true);
    m_town = lineEdit(QStringLiteral("townLineEdit"), true);
    m_street = lineEdit(QStringLiteral("streetLineEdit"), true);
    m_partnerNumber = lineEdit(QStringLiteral("partnerNumberLineEdit"));
    m_net = lineEdit(QStringLiteral("supplierNetLineEdit"));
    m_gross = lineEdit(QStringLiteral("supplierGrossLineEdit"));
    m_postcode->setMaximumWidth(60);
    m_code->setMaximumWidth(110);
    m_partnerNumber->setFixedWidth(110);
    m_priceGroup = new QComboBox;
    m_priceGroup->setObjectName(QStringLiteral("priceGroupComboBox"));
    m_priceGroupLabel = new QLabel(QStringLiteral("Árcsoport:"));
    m_discount = new QSpinBox;
    m_discount->setObjectName(QStringLiteral("discountSpinBox"));
    m_discount->setRange(0, 100);
    m_discountLabel = new QLabel(QStringLiteral("Kedvezmény (%) :"));
    m_dateLabel = new QLabel(QStringLiteral("Sz.levél kelte:"));
    m_issued = new QDateEdit;
    m_issued->setObjectName(QStringLiteral("issueDateEdit"));
    m_issued->setDisplayFormat(QStringLiteral("yyyy.MM.dd"));
    m_issued->setMinimumDate(QDate(1900, 1, 1));
    m_issued->setCalendarPopup(true);
    m_netLabel = new QLabel(QStringLiteral("Nettó érték:"));
    m_grossLabel = new QLabel(QStringLiteral("Bruttó érték:"));
    m_loadOrder = new QPushButton(QStringLiteral("Megrendelő betöltése"));
    m_loadOrder->setObjectName(QStringLiteral("loadOrderPushButton"));
    m_loadOrder->setAutoDefault(false);
    grid->addWidget(new QLabel(QStringLiteral("Partner neve:")), 0, 0);
    grid->addWidget(m_name, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Partnerkód:")), 0, 4);
    grid->addWidget(m_code, 0, 5);
    grid->addWidget(new QLabel(QStringLiteral("Partner címe:")), 1, 0);
    grid->addWidget(m_postcode, 1, 1);
    grid->addWidget(m_town, 1, 2);
    grid->addWidget(m_street, 1, 3, 1, 3);
    grid->addWidget(m_priceGroupLabel, 2, 0);
    grid->addWidget(m_priceGroup, 2, 1);
    grid->addWidget(m_discountLabel, 2, 2, Qt::AlignRight);
    auto* discountBoxes = new QHBoxLayout;
    discountBoxes->addWidget(m_discount);
    discountBoxes->addWidget(m_partnerNumber);
    discountBoxes->addStretch(1);
    grid->addLayout(discountBoxes, 2, 3);
    grid->addWidget(m_dateLabel, 2, 4);
    grid->addWidget(m_issued, 2, 5);
    grid->addWidget(m_netLabel, 3, 0);
    grid->addWidget(m_net, 3, 1);
    grid->addWidget(m_grossLabel, 3, 2, Qt::AlignRight);
    grid->addWidget(m_gross, 3, 3);
    grid->addWidget(m_loadOrder, 3, 5);
    for (QWidget* w : {static_cast<QWidget*>(m_name), static_cast<QWidget*>(m_code), static_cast<QWidget*>(m_issued),
                       static_cast<QWidget*>(m_discount), static_cast<QWidget*>(m_partnerNumber),
                       static_cast<QWidget*>(m_net), static_cast<QWidget*>(m_gross)})
        w->installEventFilter(this);
    connect(m_priceGroup, &QComboBox::activated, this,
            [this](int) { command([&] { m_logic.setPriceGroup(m_priceGroup->currentData().toInt()); }); });
    connect(m_loadOrder, &QPushButton::clicked, this, [this] { command([&] { m_logic.loadSupplierOrder(); }); });
    return frame;
}

QWidget* Tszlevelform::linesButtons() {
    m_linesButtons = new QWidget;
    auto* h = new QHBoxLayout(m_linesButtons);
    h->setContentsMargins(0, 0, 0, 0);
    auto button = [&](const QString& text, const QString& name, const QKeySequence& key) {
        auto* b = new QPushButton(text);
        b->setObjectName(name);
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::TabFocus);
        if (!key.isEmpty()) b->setShortcut(key);
        h->addWidget(b);
        return b;
    };
    m_newLine = button(QStringLiteral("Új tétel [F5]"), QStringLiteral("newLinePushButton"), Qt::Key_F5);
    m_changeLine = button(QStringLiteral("Módosít [F2]"), QStringLiteral("changeLinePushButton"), Qt::Key_F2);
    m_deleteLine = button(QStringLiteral("Töröl [F8]"), QStringLiteral("deleteLinePushButton"), Qt::Key_F8);
    QPushButton* temporary = button(QStringLiteral("Ideiglenes mentés"), QStringLiteral("temporarySavePushButton"), {});
    QPushButton* reload = button(QStringLiteral("Mentés visszatöltése"), QStringLiteral("reloadPushButton"), {});
    h->addStretch(1);
    connect(m_newLine, &QPushButton::clicked, this, [this] { command([&] { m_logic.addLine(); }); });
    connect(m_changeLine, &QPushButton::clicked, this, [this] { command([&] { m_logic.changeLine(); }); });
    connect(m_deleteLine, &QPushButton::clicked, this, [this] { command([&] { m_logic.deleteLine(); }); });
    connect(temporary, &QPushButton::clicked, this, [this] { command([&] { m_logic.temporarySave(); }); });
    connect(reload, &QPushButton::clicked, this, [this] { command([&] { m_logic.reload(); }); });
    return m_linesButtons;
}

QWidget* Tszlevelform::totalsRow() {
    m_totals = new QWidget;
    auto* h = new QHBoxLayout(m_totals);
    h->addStretch(1);
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
    m_netTotal = amount(QStringLiteral("netTotalLabel"));
    m_vatTotal = amount(QStringLiteral("vatTotalLabel"));
    m_payable = amount(QStringLiteral("payableLabel"));
    for (auto [caption, label] :
         {std::pair{"ÁFA alap:", m_netTotal}, {"ÁFA:", m_vatTotal}, {"Fizetendő:", m_payable}}) {
        h->addWidget(new QLabel(QString::fromUtf8(caption)));
        h->addWidget(label);
        h->addWidget(new QLabel(QStringLiteral("Ft")));
        h->addSpacing(10);
    }
    return m_totals;
}

QWidget* Tszlevelform::bottomButtons() {
    auto* row = new QWidget;
    auto* h = new QHBoxLayout(row);
    auto button = [&](const QString& text, const QString& name) {
        auto* b = new QPushButton(text);
        b->setObjectName(name);
        b->setAutoDefault(false);
        h->addWidget(b);
        return b;
    };
    h->addStretch(1);
    m_print = button(QStringLiteral("Nyomtat [F10]"), QStringLiteral("printPushButton"));
    m_print->setShortcut(Qt::Key_F10);
    m_preview = button(QStringLiteral("Előnézet"), QStringLiteral("previewPushButton"));
    m_remark = button(QStringLiteral("Megjegyzés"), QStringLiteral("remarkPushButton"));
    QPushButton* close = button(QStringLiteral("&Kilépés"), QStringLiteral("closePushButton"));
    connect(m_print, &QPushButton::clicked, this, &Tszlevelform::save);
    connect(m_preview, &QPushButton::clicked, this, [this] {
        m_preview->setEnabled(false);
        command([&] { m_logic.preview(m_data.UserTable()); });
        m_preview->setEnabled(true);
    });
    connect(m_remark, &QPushButton::clicked, this, [this] { command([&] { m_logic.editRemark(); }); });
    connect(close, &QPushButton::clicked, this, &Tszlevelform::reject);
    return row;
}

void Tszlevelform::buildGrid() {
    m_lines->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_lines->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lines->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lines->setAlternatingRowColors(true);
    m_lines->verticalHeader()->hide();
    m_lines->setContextMenuPolicy(Qt::CustomContextMenu);
    m_grid = std::make_unique<widgets::RecordGrid>(m_lines, m_doc.mszamla2, lineColumns(m_logic.kind()), m_prompt);
    const int widths[] = {80, 240, 80, 70, 130, 130, 100, 60, 90, 100};
    for (int c = 0; c < 10; ++c) m_lines->setColumnWidth(c, widths[c]);
    if (m_logic.kind() == DeliveryKind::Offer) {
        QHeaderView* titles = m_lines->horizontalHeader();
        titles->setSectionsClickable(true);
        connect(titles, &QHeaderView::sectionClicked, this, [this, titles](int column) {
            const std::vector<widgets::GridColumn> columns = lineColumns(DeliveryKind::Offer);
            if (column < 0 || column >= int(columns.size())) return;
            command([&] { m_logic.sortLinesBy(columns[size_t(column)].field); });
            titles->setSortIndicatorShown(true);
            titles->setSortIndicator(column, Qt::AscendingOrder);
        });
    }
    m_lines->horizontalHeader()->setStretchLastSection(true);
    m_lines->installEventFilter(this);
    m_lines->viewport()->installEventFilter(this);
    m_menu = new QMenu(this);
    m_menu->addAction(QStringLiteral("Új tétel"), this, [this] { m_newLine->click(); });
    m_menu->addAction(QStringLiteral("Módosít"), this, [this] { m_changeLine->click(); });
    m_menu->addAction(QStringLiteral("Töröl"), this, [this] { m_deleteLine->click(); });
    if (m_logic.kind() != DeliveryKind::Offer)
        m_menu->addAction(QStringLiteral("Megjegyzés"), this, [this] { command([&] { m_logic.editLineRemark(); }); });
    m_menu->addAction(QStringLiteral("Mégsem"));
    connect(m_lines, &QTableView::customContextMenuRequested, this,
            [this](const QPoint& at) { m_menu->popup(m_lines->viewport()->mapToGlobal(at)); });
}

// What each kind shows of the window.
void Tszlevelform::applyKind() {
    const DeliveryKind kind = m_logic.kind();
    const bool note = kind == DeliveryKind::DeliveryNote, order = kind == DeliveryKind::SupplierOrder;
    const bool receipt = kind == DeliveryKind::GoodsReceipt, payout = kind == DeliveryKind::CashPayout;
    const bool offer = kind == DeliveryKind::Offer;
    const bool groups = (note || offer) && m_logic.priceGroupsShown();
    m_priceGroup->setVisible(groups);
    m_priceGroupLabel->setVisible(groups);
    const bool partnerNumber = deliveryHasPartnerNumber(kind);
    m_discountLabel->setText(partnerNumber ? QStringLiteral("Bizonylat:") : QStringLiteral("Kedvezmény (%) :"));
    m_discountLabel->setVisible(!order);
    m_discount->setVisible(note || offer);
    m_partnerNumber->setVisible(partnerNumber);
    m_netLabel->setText(payout ? QStringLiteral("Bruttó összeg:") : QStringLiteral("Nettó érték:"));
    m_netLabel->setVisible(receipt || payout);
    m_net->setVisible(receipt || payout);
    m_grossLabel->setVisible(receipt);
    m_gross->setVisible(receipt);
    m_loadOrder->setVisible(receipt);
    m_dateLabel->setText(order    ? QStringLiteral("Megrendelés kelte:")
                         : payout ? QStringLiteral("Kifizetés kelte:")
                         : offer  ? QStringLiteral("Számla kelte:")
                                  : QStringLiteral("Sz.levél kelte:"));
    for (int column : {4, 5, 6, 8, 9}) m_lines->setColumnHidden(column, order);
    m_totals->setVisible(!order && !payout);
    m_lines->setVisible(!payout);
    m_linesButtons->setVisible(!payout);
    m_remark->setVisible(!payout);
    m_preview->setVisible(!payout);
    if (payout) {
        m_print->setText(QStringLiteral("Mentés [F10]"));
        m_print->setShortcut(Qt::Key_F10);
        resize(900, 243);
    } else {
        resize(1100, 680);
    }
}

bool Tszlevelform::start() {
    const QSignalBlocker quiet(m_priceGroup);
    TableHandle& groups = m_data.ArTable();
    for (groups.first(); !groups.eof() && !groups.isEmpty(); groups.next())
        m_priceGroup->addItem(groups.asString(fields::Arcsoport::ARCSOPORT),
                              int(groups.asInteger(fields::Arcsoport::ID)));
    if (!runCommand(m_prompt, [&] { m_logic.open(); })) return false;
    m_grid->sync();
    showHeader();
    return true;
}

void Tszlevelform::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    (m_logic.startsInPartnerCode() ? m_code : m_name)->setFocus();
}

void Tszlevelform::showHeader() {
    m_refilling = true;
    const RecordCursor& h = m_logic.header();
    m_name->setText(h.asString(H::NEV));
    m_postcode->setText(h.asString(H::IRSZAM));
    m_town->setText(h.asString(H::VAROS));
    m_street->setText(h.asString(H::CIM));
    m_priceGroup->setCurrentIndex(m_priceGroup->findData(int(h.asInteger(H::ARCSOPORT))));
    m_discount->setValue(int(h.asInteger(H::KEDVEZMENY)));
    m_partnerNumber->setText(h.asString(H::AJANLSZAM).trimmed());
    m_net->setText(h.isNull(H::szlnetto) ? QString() : numberBoxText(h.asFloat(H::szlnetto)));
    m_gross->setText(h.isNull(H::szlbrutto) ? QString() : numberBoxText(h.asFloat(H::szlbrutto)));
    m_issued->setDate(h.asDate(H::KIALLIT));
    m_netTotal->setText(groupDigits(KerekitRound(h.asFloat(H::AFAALAP))));
    m_vatTotal->setText(groupDigits(KerekitRound(h.asFloat(H::AFAFT))));
    m_payable->setText(groupDigits(KerekitRound(h.asFloat(H::FIZETENDO))));
    const bool any = !m_doc.mszamla2.isEmpty();
    m_changeLine->setEnabled(any);
    m_deleteLine->setEnabled(any);
    m_refilling = false;
}

void Tszlevelform::command(const std::function<void()>& action) {
    runCommand(m_prompt, action);
    if (isVisible()) activateWindow();
    runCommand(m_prompt, [&] {
        m_grid->sync();
        showHeader();
    });
}

// A box whose rule refuses its value keeps the focus.
bool Tszlevelform::leaveBox(QObject* box) {
    bool left = true;
    command([&] {
        if (box == m_code) left = m_logic.partnerCodeLeft(m_code->text());
        if (box == m_issued) left = m_logic.issueDateLeft(m_issued->date());
        if (box == m_discount) m_logic.setDiscount(m_discount->value());
        if (box == m_partnerNumber) m_logic.setPartnerNumber(m_partnerNumber->text());
        if (box == m_net) m_logic.setSupplierNet(readNumberBox(m_net->text()).value_or(0));
        if (box == m_gross) m_logic.setSupplierGross(readNumberBox(m_gross->text()).value_or(0));
    });
    if (!left) QTimer::singleShot(0, static_cast<QWidget*>(box), [box] { static_cast<QWidget*>(box)->setFocus(); });
    return left;
}

void Tszlevelform::save() {
    // The box being typed in counts, as when it is left.
    if (QWidget* focused = focusWidget(); focused && focused != m_name && focused != m_lines) leaveBox(focused);
    EditorFocus focus = EditorFocus::None;
    bool stored = false;
    command([&] { stored = m_logic.save(focus); });
    if (stored) {
        runCommand(m_prompt, [&] { m_logic.close(); });
        QDialog::accept();
        return;
    }
    if (focus == EditorFocus::PartnerName) m_name->setFocus();
}

void Tszlevelform::reject() {
    bool close = false;
    runCommand(m_prompt, [&] { close = m_logic.close(); });
    if (close) QDialog::reject();
}

bool Tszlevelform::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type == QEvent::FocusOut && !m_refilling && watched != m_name && watched != m_lines) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::MouseFocusReason ||
            reason == Qt::OtherFocusReason)
            leaveBox(watched);
    }
    if (watched == m_name && (type == QEvent::MouseButtonRelease || type == QEvent::KeyPress)) {
        const auto* key = type == QEvent::KeyPress ? static_cast<QKeyEvent*>(event) : nullptr;
        const int code = key ? key->key() : 0;
        const bool enter = code == Qt::Key_Return || code == Qt::Key_Enter;
        const bool opens = !key || (code != Qt::Key_Escape && code != Qt::Key_Tab && code != Qt::Key_Backtab &&
                                    (!enter || m_name->text().isEmpty()) && (enter || !key->text().isEmpty()));
        if (opens) {
            bool picked = false;
            command([&] { picked = m_logic.pickPartner(); });
            if (picked) {
                QWidget* next = m_discount->isVisible()        ? static_cast<QWidget*>(m_discount)
                                : m_partnerNumber->isVisible() ? static_cast<QWidget*>(m_partnerNumber)
                                                               : static_cast<QWidget*>(m_issued);
                next->setFocus();
            }
            return true;
        }
        if (enter) {
            focusNextChild();
            return true;
        }
    }
    if (type == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if (enter && watched != m_lines && watched != m_name) {
            focusNextChild();
            return true;
        }
        if (watched == m_lines) {
            if (key == Qt::Key_Insert) return m_newLine->click(), true;
            if (enter) return m_changeLine->click(), true;
            if (key == Qt::Key_Delete) return m_deleteLine->click(), true;
        }
    }
    if (watched == m_lines->viewport() && type == QEvent::MouseButtonDblClick) {
        const bool onRow = m_lines->indexAt(static_cast<QMouseEvent*>(event)->pos()).isValid();
        (onRow ? m_changeLine : m_newLine)->click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace kavina::invoicing
