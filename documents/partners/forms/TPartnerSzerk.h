#pragma once
// The partner dialog: name, contact and group above three pages (billing address, mailing
// address, financial details). It fills and returns PartnerFields; the register stores them.
// Leaving a postcode or town box completes the other from the settlements; leaving the group
// box checks the group through the register's logic (also a group loaded from the record);
// the box completes from the partner groups, and a double click opens the groups window.

#include <QDialog>

#include "documents/partners/PartnerRegister.h"
#include "foundation/TDataModule1.h"

class QComboBox;
class QFormLayout;
class QLineEdit;
class QSpinBox;
class QTabWidget;
class QLabel;

namespace kavina::documents {

class PartnerWindow;

class TPartnerSzerk final : public QDialog {
    Q_OBJECT

public:
    // showPriceGroups: the "tobbar" setting; without it a new partner gets the fixed price.
    TPartnerSzerk(QWidget* parent, TDataModule1& data, PartnerWindow& logic, bool showPriceGroups, bool isNew);

    void setFields(const PartnerFields& fields);
    PartnerFields fields() const;

private:
    struct Address {
        QLineEdit* postcode;
        QLineEdit* town;
        QLineEdit* street;
    };
    QWidget* billingPage();
    QWidget* mailingPage();
    QWidget* financePage(bool showPriceGroups);
    Address addAddressRows(QFormLayout* form, const QString& prefix);
    void completeFromPostcode(const Address& a);
    void completeFromTown(const Address& a);
    void checkGroup();
    void loadGroupNames();
    bool eventFilter(QObject* watched, QEvent* event) override;
    // "Elf&ogad" keeps the dialog open while the tax data cannot be kept.
    void accept() override;

    TDataModule1& m_data;
    PartnerWindow& m_logic;
    bool m_showPriceGroups;
    QTabWidget* m_pages;
    QLineEdit *m_name, *m_name2, *m_contact, *m_group;
    Address m_billing{}, m_mailing{};
    QLineEdit *m_phone, *m_fax, *m_email, *m_taxNumber, *m_bankBranch, *m_bankAccount;
    QComboBox *m_payment, *m_priceGroup, *m_vatStatus;
    QLineEdit* m_euTaxNumber;
    QLabel* m_priceGroupLabel;
    QSpinBox *m_days, *m_discount;
    int m_storedPriceGroup = 4;  // kept when the price groups are not offered
    QString m_checkedGroup;      // the group box's text as last checked
};

}  // namespace kavina::documents
