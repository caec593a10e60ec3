// The service reprint of invoices: the run from "Ettől" to "Eddig" (the "Eddig" invoice
// included), copies and serials as a save prints them, a run that does not go forward, a
// failed print, and choosing one invoice.

#include "invoicing/register/InvoiceReprint.h"

#include <gtest/gtest.h>

#include "RegisterFolder.h"

namespace kavina::invoicing {
namespace {

namespace H = fields::Szamla;

class InvoiceReprintTest : public RegisterFolder {
protected:
    void SetUp() override {
        RegisterFolder::SetUp();
        store({.number = "SZA2008/00001", .serial = 1});
        store({.number = "SZA2008/00002", .serial = 1});
        store({.number = "PRO2008/00001", .type = "P", .serial = 1});
        store({.number = "SZA2008/00003", .serial = 2});
        store({.number = "SZA2007/00044", .issued = "2007.11.30", .serial = 1});
        store({.number = "SZA2008/00004", .serial = 1});
    }
    QStringList copyLabels() {
        QStringList labels;
        for (const report::PreparedReport& r : windows.printed())
            labels << text(r, "pageHeader", "boxValue5") + " " + text(r, "pageHeader", "copyLabel") + " " +
                          text(r, "pageHeader", "serialLabel");
        return labels;
    }
};

TEST_F(InvoiceReprintTest, EttolEddigPrintsEveryInvoiceOfTheRunWithItsCopies) {
    InvoiceReprint reprint(data, prompt, windows, options());
    reprint.open();
    EXPECT_EQ(shown(),
              QStringList({"SZA2007/00044", "SZA2008/00001", "SZA2008/00002", "SZA2008/00003", "SZA2008/00004"}));
    ASSERT_TRUE(goTo("SZA2008/00002"));
    reprint.markStart();
    EXPECT_EQ(reprint.start(), QStringLiteral("SZA2008/00002"));
    ASSERT_TRUE(goTo("SZA2008/00003"));
    prompt.answerCopies(2);
    for (int i = 0; i < 4; ++i) windows.answerPrint(true);
    EXPECT_EQ(reprint.printRange(), 2);
    EXPECT_EQ(prompt.transcript(), QStringList{"copies|none|||2"});
    EXPECT_EQ(copyLabels(),
              QStringList({"SZA2008/00002 Eredeti példány 1. példány", "SZA2008/00002 Másolati példány 2. példány",
                           "SZA2008/00003 Eredeti példány 1. példány", "SZA2008/00003 Másolati példány 2. példány"}));
    EXPECT_EQ(text(windows.printed().front(), "pageHeader", "copiesNote"),
              QStringLiteral("A bizonylat 2 példányban került nyomtatásra."));
    EXPECT_EQ(data.SzamlaTable().asString(H::SZAMLASZAM).trimmed(), QStringLiteral("SZA2008/00003"));
    reprint.close();
    EXPECT_EQ(serialOf("SZA2008/00002"), 2);
    EXPECT_EQ(serialOf("SZA2008/00003"), 2);
    EXPECT_EQ(serialOf("SZA2008/00001"), 1);
    EXPECT_EQ(serialOf("SZA2008/00004"), 1);
    EXPECT_EQ(data.SzamlaTable().recordCount(), 6u);
}

TEST_F(InvoiceReprintTest, ARunThatDoesNotGoForwardOrHasNoStartPrintsNothing) {
    InvoiceReprint reprint(data, prompt, windows, options());
    reprint.open();
    ASSERT_TRUE(goTo("SZA2008/00003"));
    EXPECT_EQ(reprint.printRange(), 0);
    reprint.markStart();
    ASSERT_TRUE(goTo("SZA2008/00001"));
    EXPECT_EQ(reprint.printRange(), 0);
    ASSERT_EQ(prompt.entries().size(), 2u);
    EXPECT_EQ(prompt.entries()[0].text, QStringLiteral("Előbb jelölje ki az első számlát az \"Ettől\" gombbal!"));
    EXPECT_EQ(prompt.entries()[1].text, QStringLiteral("Az \"Eddig\" számla nem az \"Ettől\" számla után "
                                                       "következik, ezért nem nyomtattam semmit."));
    EXPECT_TRUE(windows.opened().isEmpty());
    EXPECT_EQ(data.SzamlaTable().asString(H::SZAMLASZAM).trimmed(), QStringLiteral("SZA2008/00001"));
    ASSERT_TRUE(goTo("SZA2008/00003"));
    prompt.answerCopies(0);
    EXPECT_EQ(reprint.printRange(), 0);  // the one-invoice run, with no copies
    EXPECT_TRUE(windows.opened().isEmpty());
    reprint.close();
    EXPECT_EQ(serialOf("SZA2008/00003"), 2);
}

TEST_F(InvoiceReprintTest, AFailedPrintStoresTheCopiesThatWentOutAndEndsTheRun) {
    InvoiceReprint reprint(data, prompt, windows, options());
    reprint.open();
    ASSERT_TRUE(goTo("SZA2008/00001"));
    reprint.markStart();
    ASSERT_TRUE(goTo("SZA2008/00004"));
    prompt.answerCopies(3);
    windows.answerPrint(true);
    windows.answerPrint(true);
    windows.answerPrint(false);
    EXPECT_EQ(reprint.printRange(), 0);
    EXPECT_EQ(windows.opened().size(), 4);  // three prints, then the clerk is told once
    EXPECT_EQ(windows.opened().back(), QStringLiteral("printing done"));
    reprint.close();
    EXPECT_EQ(serialOf("SZA2008/00001"), 2);
    EXPECT_EQ(serialOf("SZA2008/00002"), 1);
}

TEST_F(InvoiceReprintTest, ChoosingAnInvoiceFindsItsPartnerAndThenPrintsIt) {
    for (const char* name : {"Alfa Kft.", "Példa Kereskedelmi Kft."}) {
        TableHandle& p = data.PartnerTable();
        p.append();
        p.setString(fields::Partner::NEV, QString::fromUtf8(name));
        p.setString(fields::Partner::UTCA, QStringLiteral("Fő utca 1."));
        p.post();
    }
    data.PartnerTable().first();
    InvoiceReprint reprint(data, prompt, windows, options());
    reprint.open();
    ASSERT_TRUE(goTo("SZA2008/00004"));
    EXPECT_TRUE(reprint.choose());
    EXPECT_EQ(data.PartnerTable().asString(fields::Partner::NEV).trimmed(), QStringLiteral("Példa Kereskedelmi Kft."));
    reprint.close();
    EXPECT_TRUE(data.SzamlaTable().filter().empty());
    prompt.answerCopies(std::nullopt);
    EXPECT_FALSE(reprint.printChosen());
    prompt.answerCopies(1);
    windows.answerPrint(true);
    EXPECT_TRUE(reprint.printChosen());
    EXPECT_EQ(copyLabels(), QStringList{"SZA2008/00004 Eredeti példány 1. példány"});
    EXPECT_EQ(serialOf("SZA2008/00004"), 1);
}

}  // namespace
}  // namespace kavina::invoicing
