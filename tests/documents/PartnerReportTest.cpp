#include "documents/partners/PartnerReport.h"

#include <cstdlib>

#include "report/PagePainter.h"

#include <gtest/gtest.h>

#include "dbase/TestFolder.h"
#include "documents/partners/PartnerRegister.h"
#include "foundation/NewDataFolder.h"
#include "foundation/TDataModule1.h"

namespace kavina::documents {
namespace {

TEST(PartnerReportTest, TwoLinesAPartnerInTheTabsOrderWithTheUserInTheFooter) {
    testing_support::TestFolder dir;
    createDataFolder(dir.path());
    TDataModule1 data;
    data.open(dir.path());
    data.UserTable().append();
    data.UserTable().post();
    for (int i = 0; i < 60; ++i) {
        PartnerFields f;
        f.name = QStringLiteral("Partner %1").arg(i, 2, 10, QLatin1Char('0'));
        f.contact = QStringLiteral("Kiss Éva");
        f.postcode = QStringLiteral("6720");
        f.town = QStringLiteral("Szeged");
        f.street = QStringLiteral("Fő tér 1.");
        f.mailPostcode = QStringLiteral("6701");
        f.mailTown = QStringLiteral("Szeged");
        f.mailStreet = QStringLiteral("Pf. 12");
        f.group = i % 2 ? QStringLiteral("Vevő") : QStringLiteral("Szállító");
        f.paymentMethod = QStringLiteral("Csekk");
        createPartner(data.PartnerTable(), data.UserTable(), f);
    }
    applyTab(data.PartnerTable(), 1, QStringLiteral("Vevő"));
    const auto layout =
        TPartnerReport(data.PartnerTable(), QStringLiteral("www.kavina.hu"), QStringLiteral("Kovács Anna"));
    EXPECT_EQ(layout->pageSetup().orientation, QPageLayout::Landscape);
    const report::PreparedReport pages = layout->prepare();
    ASSERT_GE(pages.pageCount(), 2);  // 30 partners of two lines do not fit one landscape page
    EXPECT_EQ(pages.texts(0, "PageHeader").front(), QStringLiteral("Partnerek"));
    EXPECT_TRUE(pages.texts(0, "PageHeader").contains(QStringLiteral("Partner neve / kapcsolattartó")));
    const auto details = pages.bands(0, "Detail");
    ASSERT_FALSE(details.empty());
    const report::Page& first = pages.page(0);
    EXPECT_EQ(pages.text(first, *details[0], "line1_0"), QStringLiteral("Partner 01"));
    EXPECT_EQ(pages.text(first, *details[0], "line2_0"), QStringLiteral("Kiss Éva"));
    EXPECT_EQ(pages.text(first, *details[0], "line1_1"), QStringLiteral("6720 Szeged, Fő tér 1."));
    EXPECT_EQ(pages.text(first, *details[0], "line2_1"), QStringLiteral("6701 Szeged, Pf. 12"));
    EXPECT_EQ(pages.text(first, *details[0], "line2_4"), QStringLiteral("Csekk"));
    EXPECT_EQ(pages.text(first, *details[1], "line1_0"), QStringLiteral("Partner 03"));
    int printed = 0;
    for (int p = 0; p < pages.pageCount(); ++p) {
        printed += int(pages.bands(p, "Detail").size());
        const QStringList footer = pages.texts(p, "PageFooter");
        EXPECT_TRUE(footer.contains(QStringLiteral("Kiállította: Kovács Anna"))) << p;
        EXPECT_TRUE(footer.contains(QStringLiteral("Kavina 1.0 verzió"))) << p;
    }
    EXPECT_EQ(printed, 30);
    // Kept for a look at the page: KAVINA_SCREENSHOTS names a folder for the picture.
    const QImage picture = report::renderPage(pages, 0, QSize(1684, 1191));
    EXPECT_FALSE(picture.isNull());
    if (const char* folder = std::getenv("KAVINA_SCREENSHOTS"))
        picture.save(QString::fromLocal8Bit(folder) + QStringLiteral("/partner-list.png"));
}

}  // namespace
}  // namespace kavina::documents
