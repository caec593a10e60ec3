#include "documents/partners/forms/TPartnerSzerk.h"

#include <QComboBox>
#include <QCompleter>
#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStringListModel>
#include <QTabWidget>
#include <QVBoxLayout>

#include "documents/partners/PartnerWindow.h"
#include "documents/partners/forms/TaxpayerLookupHook.h"
#include "foundation/CommandBoundary.h"
#include "foundation/forms/DialogButtons.h"
#include "foundation/forms/InputGuards.h"

namespace kavina::documents {

namespace {

const std::pair<const char16_t*, char> kVatStatuses[] = {
    {u"Belföldi adóalany", fields::partnerVat::Domestic},
    {u"Magánszemély", fields::partnerVat::PrivatePerson},
    {u"Közösségi adóalany (EU)", fields::partnerVat::Eu},
    {u"Egyéb (külföldi)", fields::partnerVat::Other},
};

QLineEdit* lineEdit(const QString& objectName, int maxLength = 0) {
    auto* edit = new QLineEdit;
    edit->setObjectName(objectName);
    if (maxLength > 0) edit->setMaxLength(maxLength);
    return edit;
}

const QStringList kPaymentMethods = {QStringLiteral("Készpénz"), QStringLiteral("Átutalás"), QStringLiteral("Csekk")};
const QStringList kPriceGroups = {QStringLiteral("1. árcsoport"), QStringLiteral("2. árcsoport"),
                                  QStringLiteral("3. árcsoport"), QStringLiteral("Fix árcsoport")};

}  // namespace

TPartnerSzerk::TPartnerSzerk(QWidget* parent, TDataModule1& data, PartnerWindow& logic, bool showPriceGroups,
                             bool isNew)
    : QDialog(parent), m_data(data), m_logic(logic), m_showPriceGroups(showPriceGroups) {
    setObjectName(QStringLiteral("TPartnerSzerk"));
    setWindowTitle(isNew ? QStringLiteral("Új partner") : QStringLiteral("Partner módosítás"));
    auto* layout = new QVBoxLayout(this);
    auto* head = new QFormLayout;
    m_name = lineEdit(QStringLiteral("nameLineEdit"), 50);
    m_name2 = lineEdit(QStringLiteral("name2LineEdit"), 50);
    m_contact = lineEdit(QStringLiteral("contactLineEdit"), 50);
    m_group = lineEdit(QStringLiteral("groupLineEdit"), 30);
    head->addRow(QStringLiteral("Partner neve:"), m_name);
    head->addRow(QString(), m_name2);
    head->addRow(QStringLiteral("Ügyintéző:"), m_contact);
    head->addRow(QStringLiteral("Partner csoport:"), m_group);
    layout->addLayout(head);
    m_pages = new QTabWidget;
    m_pages->setObjectName(QStringLiteral("pagesTabWidget"));
    m_pages->addTab(billingPage(), QStringLiteral("Számlacím"));
    m_pages->addTab(mailingPage(), QStringLiteral("Levélcím"));
    m_pages->addTab(financePage(showPriceGroups), QStringLiteral("Pénzügyi információk"));
    layout->addWidget(m_pages);
    addDialogButtons(this, layout, QStringLiteral("Elf&ogad"), QStringLiteral("&Mégse"));
    connect(m_group, &QLineEdit::editingFinished, this, &TPartnerSzerk::checkGroup);
    m_group->installEventFilter(this);
    auto* completer = new QCompleter(this);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setModel(new QStringListModel(completer));
    m_group->setCompleter(completer);
    runCommand(m_logic.prompt(), [&] { loadGroupNames(); });
    setFields(PartnerFields{});
    m_pages->setCurrentIndex(0);
    m_name->setFocus();
    resize(520, 430);
    guardInputBoxes(this, logic.prompt());
}

TPartnerSzerk::Address TPartnerSzerk::addAddressRows(QFormLayout* form, const QString& prefix) {
    Address a{lineEdit(prefix + QStringLiteral("PostcodeLineEdit"), 4),
              lineEdit(prefix + QStringLiteral("TownLineEdit"), 40),
              lineEdit(prefix + QStringLiteral("StreetLineEdit"), 50)};
    form->addRow(QStringLiteral("Irányítószám :"), a.postcode);
    form->addRow(QStringLiteral("Település:"), a.town);
    form->addRow(QStringLiteral("Cím :"), a.street);
    connect(a.postcode, &QLineEdit::editingFinished, this, [this, a] { completeFromPostcode(a); });
    connect(a.town, &QLineEdit::editingFinished, this, [this, a] { completeFromTown(a); });
    return a;
}

QWidget* TPartnerSzerk::billingPage() {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    m_billing = addAddressRows(form, QStringLiteral("billing"));
    m_phone = lineEdit(QStringLiteral("phoneLineEdit"), 30);
    m_fax = lineEdit(QStringLiteral("faxLineEdit"), 30);
    m_email = lineEdit(QStringLiteral("emailLineEdit"), 50);
    form->addRow(QStringLiteral("Telefon:"), m_phone);
    form->addRow(QStringLiteral("FAX:"), m_fax);
    form->addRow(QStringLiteral("E-mail:"), m_email);
    return page;
}

QWidget* TPartnerSzerk::mailingPage() {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    m_mailing = addAddressRows(form, QStringLiteral("mailing"));
    auto* copy = new QPushButton(QStringLiteral("&Számlacím áthozatala"));
    copy->setObjectName(QStringLiteral("copyAddressPushButton"));
    form->addRow(QString(), copy);
    connect(copy, &QPushButton::clicked, this, [this] {
        m_mailing.postcode->setText(m_billing.postcode->text());
        m_mailing.town->setText(m_billing.town->text());
        m_mailing.street->setText(m_billing.street->text());
    });
    return page;
}

QWidget* TPartnerSzerk::financePage(bool showPriceGroups) {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    m_taxNumber = lineEdit(QStringLiteral("taxNumberLineEdit"), 20);
    m_bankBranch = lineEdit(QStringLiteral("bankBranchLineEdit"), 50);
    m_bankAccount = lineEdit(QStringLiteral("bankAccountLineEdit"), 30);
    m_payment = new QComboBox;
    m_payment->setObjectName(QStringLiteral("paymentComboBox"));
    m_payment->addItems(kPaymentMethods);
    m_priceGroup = new QComboBox;
    m_priceGroup->setObjectName(QStringLiteral("priceGroupComboBox"));
    m_priceGroup->addItems(kPriceGroups);
    m_days = new QSpinBox;
    m_days->setObjectName(QStringLiteral("daysSpinBox"));
    m_days->setRange(0, 999);
    m_days->setSuffix(QStringLiteral(" nap"));
    m_discount = new QSpinBox;
    m_discount->setObjectName(QStringLiteral("discountSpinBox"));
    m_discount->setRange(0, 100);
    m_discount->setSuffix(QStringLiteral(" %"));
    m_vatStatus = new QComboBox;
    m_vatStatus->setObjectName(QStringLiteral("vatStatusComboBox"));
    for (const auto& [text, code] : kVatStatuses) m_vatStatus->addItem(QString::fromUtf16(text), QString(QChar(code)));
    m_euTaxNumber = lineEdit(QStringLiteral("euTaxNumberLineEdit"), 20);
    form->addRow(QStringLiteral("ÁFA státusz:"), m_vatStatus);
    form->addRow(QStringLiteral("Adószám:"), m_taxNumber);
    if (taxpayerLookup()) {
        auto* lookup = new QPushButton(QStringLiteral("NAV lekérdezés"));
        lookup->setObjectName(QStringLiteral("navLookupPushButton"));
        lookup->setAutoDefault(false);
        form->addRow(QString(), lookup);
        connect(lookup, &QPushButton::clicked, this, [this] {
            const auto found = taxpayerLookup()(
                this, m_taxNumber->text(),
                {m_name->text(), m_billing.postcode->text(), m_billing.town->text(), m_billing.street->text()});
            if (!found) return;
            m_name->setText(found->name);
            m_billing.postcode->setText(found->postcode);
            m_billing.town->setText(found->town);
            m_billing.street->setText(found->street);
        });
    }
    form->addRow(QStringLiteral("Közösségi adószám:"), m_euTaxNumber);
    form->addRow(QStringLiteral("Bankfiók:"), m_bankBranch);
    form->addRow(QStringLiteral("Számlaszám:"), m_bankAccount);
    form->addRow(QStringLiteral("Fizetési mód:"), m_payment);
    m_priceGroupLabel = new QLabel(QStringLiteral("Ár csoport:"));
    form->addRow(m_priceGroupLabel, m_priceGroup);
    form->addRow(QStringLiteral("Átutalás határideje:"), m_days);
    form->addRow(QStringLiteral("Kedvezmény (%) :"), m_discount);
    m_priceGroupLabel->setVisible(showPriceGroups);
    m_priceGroup->setVisible(showPriceGroups);
    return page;
}

void TPartnerSzerk::accept() {
    if (const auto problem = partnerTaxProblem(fields())) {
        m_logic.prompt().warning(QStringLiteral("Figyelem!"), *problem);
        m_pages->setCurrentIndex(2);
        m_taxNumber->setFocus();
        return;
    }
    QDialog::accept();
}

void TPartnerSzerk::setFields(const PartnerFields& f) {
    m_name->setText(f.name);
    m_name2->setText(f.name2);
    m_contact->setText(f.contact);
    m_group->setText(f.group);
    m_checkedGroup.clear();  // a group loaded from the record is checked too
    m_billing.postcode->setText(f.postcode);
    m_billing.town->setText(f.town);
    m_billing.street->setText(f.street);
    m_mailing.postcode->setText(f.mailPostcode);
    m_mailing.town->setText(f.mailTown);
    m_mailing.street->setText(f.mailStreet);
    m_phone->setText(f.phone);
    m_fax->setText(f.fax);
    m_email->setText(f.email);
    m_taxNumber->setText(f.taxNumber);
    m_vatStatus->setCurrentIndex(std::max(0, m_vatStatus->findData(f.vatStatus)));
    m_euTaxNumber->setText(f.euTaxNumber);
    m_bankBranch->setText(f.bankBranch);
    m_bankAccount->setText(f.bankAccount);
    // A stored text that is none of the three leaves the box without a choice.
    m_payment->setCurrentIndex(int(kPaymentMethods.indexOf(f.paymentMethod)));
    m_priceGroup->setCurrentIndex(f.priceGroup - 1);
    m_storedPriceGroup = f.priceGroup;
    m_days->setValue(f.transferDays);
    m_discount->setValue(f.discount);
}

PartnerFields TPartnerSzerk::fields() const {
    PartnerFields f;
    f.name = m_name->text();
    f.name2 = m_name2->text();
    f.contact = m_contact->text();
    f.group = m_group->text();
    f.postcode = m_billing.postcode->text();
    f.town = m_billing.town->text();
    f.street = m_billing.street->text();
    f.mailPostcode = m_mailing.postcode->text();
    f.mailTown = m_mailing.town->text();
    f.mailStreet = m_mailing.street->text();
    f.phone = m_phone->text();
    f.fax = m_fax->text();
    f.email = m_email->text();
    f.taxNumber = m_taxNumber->text().trimmed();
    f.vatStatus = m_vatStatus->currentData().toString();
    f.euTaxNumber = m_euTaxNumber->text().trimmed();
    f.bankBranch = m_bankBranch->text();
    f.bankAccount = m_bankAccount->text();
    f.paymentMethod = m_payment->currentText();
    // Without price levels the partner keeps the group it has (a new one gets the fixed
    // price); no choice keeps 0.
    f.priceGroup = m_showPriceGroups ? m_priceGroup->currentIndex() + 1 : m_storedPriceGroup;
    f.transferDays = m_days->value();
    f.discount = m_discount->value();
    return f;
}

void TPartnerSzerk::completeFromPostcode(const Address& a) {
    if (const auto town = completeTown(m_data.TelepTable(), a.postcode->text(), a.town->text())) {
        a.town->setText(*town);
        a.street->setFocus();
    }
}

void TPartnerSzerk::completeFromTown(const Address& a) {
    if (const auto postcode = completePostcode(m_data.TelepTable(), a.town->text(), a.postcode->text())) {
        a.postcode->setText(*postcode);
        a.street->setFocus();
    }
}

void TPartnerSzerk::loadGroupNames() {
    static_cast<QStringListModel*>(m_group->completer()->model())->setStringList(m_logic.groupNames());
}

// Only a question keeps the focus in the box; an existing group lets the clerk go on.
void TPartnerSzerk::checkGroup() {
    const QString text = m_group->text();
    if (text.isEmpty() || text == m_checkedGroup) return;
    runCommand(m_logic.prompt(), [&] {
        bool asked = false;
        const QString kept = m_logic.checkGroup(text, &asked);
        m_checkedGroup = kept;
        if (!asked) return;
        m_group->setText(kept);
        loadGroupNames();
        m_group->setFocus();
    });
}

bool TPartnerSzerk::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_group && event->type() == QEvent::MouseButtonDblClick) {
        runCommand(m_logic.prompt(), [&] {
            m_logic.editGroups();
            loadGroupNames();
        });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace kavina::documents
