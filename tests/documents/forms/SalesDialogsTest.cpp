#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "documents/SalesFolder.h"
#include "documents/sales/forms/CancelDialog.h"
#include "documents/sales/forms/PaymentDialog.h"

namespace kavina::documents {
namespace {

class NoCancelCopies : public CancelCopyPrinter {
public:
    void printCopy(const CancelTarget&, CancelMode, CancelKind, const QString&) override { ++printed; }
    int printed = 0;
};

class SalesDialogsTest : public SalesFolder {
protected:
    static QString label(QWidget& w, const char* name) {
        return w.findChild<QLabel*>(QString::fromLatin1(name))->text();
    }
    static void click(QDialog& dialog, const char* button) {
        QTest::mouseClick(dialog.findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
    }
    void picture(QWidget& w, const char* name) {
        w.show();
        QApplication::processEvents();
        if (const char* folder = std::getenv("KAVINA_SCREENSHOTS"))
            w.grab().save(QString::fromLocal8Bit(folder) + QLatin1Char('/') + QString::fromLatin1(name) + ".png");
    }
};

TEST_F(SalesDialogsTest, AStornoTypedByNumberShowsTheDocumentAndCancelsIt) {
    addProduct(1, QStringLiteral("Csavar"), 10);
    const StoredSale sale = storeSale(SalesMode::Invoice, {{1, QStringLiteral("Csavar"), 3}});
    DocumentCancellation cancellation(data, std::chrono::milliseconds(50));
    NoCancelCopies printer;
    CancelDialog dialog(nullptr, cancellation, CancelMode::Invoice, CancelKind::Storno, prompt, printer, {});
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Stornó"));
    EXPECT_EQ(label(dialog, "headerLabel"), QStringLiteral("Számla stornózása"));
    QLineEdit* number = dialog.pickBox()->numberBox();
    EXPECT_EQ(number->toolTip(), QStringLiteral("Dupla kattintásra kiválaszthatja a számlát."));

    dialog.show();
    number->setFocus();
    QTest::keyClicks(number, QStringLiteral("SZA2008/00099"));
    QTest::keyClick(number, Qt::Key_Return);
    EXPECT_EQ(prompt.entries().back().text, kNoSuchDocument);
    EXPECT_TRUE(label(dialog, "nameLabel").isEmpty());
    click(dialog, "acceptPushButton");  // nothing chosen: nothing happens
    EXPECT_TRUE(dialog.isVisible());

    number->clear();
    QTest::keyClicks(number, sale.number);
    QTest::keyClick(number, Qt::Key_Tab);
    EXPECT_EQ(label(dialog, "nameLabel"), QStringLiteral("Mérleg Kft."));
    EXPECT_EQ(label(dialog, "streetLabel"), QStringLiteral("Fő utca 1."));
    EXPECT_EQ(label(dialog, "issuedLabel"), QStringLiteral("2008.03.10"));
    EXPECT_EQ(label(dialog, "payableLabel"), QStringLiteral("1270 Ft"));
    picture(dialog, "storno-dialog");
    prompt.answerCopies(1);
    click(dialog, "acceptPushButton");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(typeAndState(sale.number), QStringLiteral("S|"));
    EXPECT_EQ(stockOf(1), 10);
    EXPECT_EQ(printer.printed, 1);
}

TEST_F(SalesDialogsTest, ASpoilDialogHandedADocumentByTheRegisterSpoilsThatDocument) {
    addProduct(1, QStringLiteral("Csavar"), 10);
    const StoredSale first = storeSale(SalesMode::Invoice, {{1, QStringLiteral("Csavar"), 1}});
    const StoredSale second = storeSale(SalesMode::Invoice, {{1, QStringLiteral("Csavar"), 2}});
    DocumentCancellation cancellation(data, std::chrono::milliseconds(50));
    NoCancelCopies printer;
    const auto handed = cancellation.find(second.number);
    CancelDialog dialog(nullptr, cancellation, CancelMode::Invoice, CancelKind::Spoil, prompt, printer, {}, handed);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Rontott"));
    EXPECT_EQ(label(dialog, "headerLabel"), QStringLiteral("        Rontott"));
    picture(dialog, "spoil-dialog");
    prompt.answerCopies(0);
    click(dialog, "acceptPushButton");
    EXPECT_EQ(typeAndState(second.number), QStringLiteral("S|rontott"));
    EXPECT_EQ(typeAndState(first.number), QStringLiteral("B|"));
    EXPECT_EQ(stockOf(1), 9);
}

TEST_F(SalesDialogsTest, APaymentChosenInTheRegisterProposesItsDueDate) {
    TableHandle& h = data.SzamlaTable();
    h.append();
    h.setString(fields::Szamla::SZAMLASZAM, QStringLiteral("SZA2008/00001"));
    h.setString(fields::Szamla::SZAMLATIP, QStringLiteral("B"));
    h.setString(fields::Szamla::NEV, QStringLiteral("Mérleg Kft."));
    h.setDate(fields::Szamla::FIZHAT, QDate(2008, 4, 5));
    h.setLogical(fields::Szamla::FIZETVE, false);
    h.post();
    InvoicePayment payment(data);
    const auto unpaid = payment.find(QStringLiteral("SZA2008/00001"));
    PaymentDialog dialog(nullptr, payment, prompt, [&] { return unpaid; });
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Befizetés"));
    dialog.show();
    click(dialog, "acceptPushButton");  // nothing chosen yet
    EXPECT_TRUE(prompt.entries().empty());
    QTest::mouseDClick(dialog.pickBox()->numberBox(), Qt::LeftButton);
    EXPECT_EQ(dialog.dateBox()->text(), QStringLiteral("2008.04.05"));
    picture(dialog, "payment-dialog");

    dialog.dateBox()->clear();
    click(dialog, "acceptPushButton");
    EXPECT_EQ(prompt.entries().back().text, kEmptyPaymentDate);
    QTest::keyClicks(dialog.dateBox(), QStringLiteral("20081345"));
    click(dialog, "acceptPushButton");
    EXPECT_EQ(prompt.entries().back().text, kWrongPaymentDate);
    EXPECT_FALSE(payment.find(QStringLiteral("SZA2008/00001"))->paid);

    dialog.dateBox()->setText(QStringLiteral("2008.04.02"));
    click(dialog, "acceptPushButton");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(payment.find(QStringLiteral("SZA2008/00001"))->paidOn, QDate(2008, 4, 2));
}

}  // namespace
}  // namespace kavina::documents
