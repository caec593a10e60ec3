#include "documents/sales/Payment.h"

#include <gtest/gtest.h>

#include "SalesFolder.h"
#include "foundation/TextFormat.h"

namespace kavina::documents {
namespace {

namespace H = fields::Szamla;

class PaymentTest : public SalesFolder {
protected:
    // A bank-transfer invoice due on the day, stored as the save stores it (unpaid).
    QString transferInvoice(const QDate& due, const QString& name = QStringLiteral("Mérleg Kft."),
                            const QString& street = QStringLiteral("Fő utca 1."), const QString& type = "B") {
        TableHandle& h = data.SzamlaTable();
        h.append();
        const QString number = QStringLiteral("SZA2008/%1").arg(h.recordCount() + 1, 5, 10, QChar('0'));
        h.setString(H::SZAMLASZAM, number);
        h.setString(H::SZAMLATIP, type);
        h.setString(H::NEV, name);
        h.setString(H::CIM, street);
        h.setString(H::FIZMOD, QStringLiteral("Átutalás"));
        h.setDate(H::KIALLIT, QDate(2008, 3, 28));
        h.setDate(H::FIZHAT, due);
        h.setLogical(H::FIZETVE, false);
        h.post();
        return number;
    }
    std::vector<QString> unpaid(const QString& name, const QString& street) {
        TableHandle headers(dir.path(), "Szamla.dbf");
        headers.open();
        return unpaidInvoicesOf(headers, name, street);
    }
};

TEST_F(PaymentTest, ATransferInvoiceProposesItsDueDateAndLeavesTheUnpaidList) {
    const QString number = transferInvoice(QDate(2008, 4, 5));
    ASSERT_EQ(unpaid(QStringLiteral("Mérleg Kft."), QStringLiteral("Fő utca 1.")), std::vector<QString>{number});
    InvoicePayment payment(data);
    const auto invoice = payment.find(number);
    ASSERT_TRUE(invoice);
    EXPECT_EQ(invoice->due, QDate(2008, 4, 5));
    EXPECT_FALSE(invoice->paid);

    EXPECT_FALSE(payment.record(*invoice, QDate(), prompt));  // the empty mask
    EXPECT_EQ(prompt.entries().back().text, kEmptyPaymentDate);
    EXPECT_FALSE(payment.find(number)->paid);

    EXPECT_TRUE(payment.record(*invoice, invoice->due, prompt));
    const auto paid = payment.find(number);
    EXPECT_TRUE(paid->paid);
    EXPECT_EQ(paid->paidOn, QDate(2008, 4, 5));
    EXPECT_TRUE(unpaid(QStringLiteral("Mérleg Kft."), QStringLiteral("Fő utca 1.")).empty());
}

TEST_F(PaymentTest, APaidInvoiceAsksBeforeItsPaymentDateIsOverwritten) {
    addProduct(1, QStringLiteral("Csavar"), 10);
    const StoredSale sale = storeSale(SalesMode::Invoice, {{1, QStringLiteral("Csavar"), 1}});  // cash: paid
    InvoicePayment payment(data);
    const auto invoice = payment.find(sale.number);
    ASSERT_TRUE(invoice && invoice->paid);
    prompt.answerYesNo(false);
    EXPECT_FALSE(payment.record(*invoice, QDate(2008, 3, 20), prompt));
    EXPECT_EQ(prompt.entries().back().text,
              QStringLiteral("A számla már ki van fizetve (2008.03.10). Felülírja a fizetés dátumát?"));
    EXPECT_EQ(payment.find(sale.number)->paidOn, QDate(2008, 3, 10));
    prompt.answerYesNo(true);
    EXPECT_TRUE(payment.record(*invoice, QDate(2008, 3, 20), prompt));
    EXPECT_TRUE(payment.find(sale.number)->paid);
    EXPECT_EQ(payment.find(sale.number)->paidOn, QDate(2008, 3, 20));
}

TEST_F(PaymentTest, OnlyInvoicesAndCorrectiveInvoicesArePaid) {
    const QString note = transferInvoice(QDate(2008, 4, 5), QStringLiteral("Mérleg Kft."), QStringLiteral("Fő utca 1."),
                                         QStringLiteral("F"));
    const QString cancelled = transferInvoice(QDate(2008, 4, 5), QStringLiteral("Mérleg Kft."),
                                              QStringLiteral("Fő utca 1."), QStringLiteral("S"));
    InvoicePayment payment(data);
    for (const QString& number : {note, cancelled}) {
        EXPECT_FALSE(payment.record(*payment.find(number), QDate(2008, 4, 1), prompt));
        EXPECT_EQ(prompt.entries().back().text, kNotPayable);
        EXPECT_FALSE(payment.find(number)->paid);
    }
    EXPECT_FALSE(payment.find(QStringLiteral("SZA2008/99999")));
    // Neither counts as unpaid.
    EXPECT_TRUE(unpaid(QStringLiteral("Mérleg Kft."), QStringLiteral("Fő utca 1.")).empty());
}

TEST_F(PaymentTest, TheUnpaidWarningComparesNameAndStreetAsTheInvoiceStoresThem) {
    const QString street = QStringLiteral("Hosszú nevű mellékutca 123. B lépcsőház");  // longer than the header keeps
    const QString number = transferInvoice(QDate(2008, 4, 5), QStringLiteral("Mérleg Kft."), street);
    EXPECT_EQ(unpaid(QStringLiteral("Mérleg Kft."), street), std::vector<QString>{number});
    EXPECT_TRUE(unpaid(QStringLiteral("Mérleg és Társa Kft."), street).empty());  // renamed since
    EXPECT_TRUE(unpaid(QStringLiteral("Mérleg Kft."), QStringLiteral("Fő utca 2.")).empty());
}

}  // namespace
}  // namespace kavina::documents
