#include "products/lists/PriceList.h"

#include "foundation/CatalogueFields.h"
#include "foundation/FieldFilter.h"
#include "foundation/SzamSzov.h"
#include "products/register/ProductList.h"

namespace kavina::products {

namespace {

namespace A = fields::Anyag;
namespace U = fields::User;
using report::Band;
using report::BandKind;
using report::TextStyle;

const Qt::Alignment kRight = Qt::AlignRight | Qt::AlignTop;

struct PricePair {
    const Field& net;
    const Field& gross;
};

PricePair pairOf(PriceListGroup group) {
    switch (group) {
        case PriceListGroup::Level1: return {A::AR1, A::bar1};
        case PriceListGroup::Level2: return {A::AR2, A::bar2};
        case PriceListGroup::Level3: return {A::AR3, A::bar3};
        case PriceListGroup::Fixed: break;
    }
    return {A::FIXAR, A::bfixar};
}

}  // namespace

QString priceListGroupCaption(PriceListGroup group) {
    switch (group) {
        case PriceListGroup::Level1: return QStringLiteral("Árcsoport 1");
        case PriceListGroup::Level2: return QStringLiteral("Árcsoport 2");
        case PriceListGroup::Level3: return QStringLiteral("Árcsoport 3");
        case PriceListGroup::Fixed: break;
    }
    return QStringLiteral("Fix ár");
}

QStringList companyHeader(TDataModule1& data) {
    TableHandle& settings = data.UserTable();
    settings.refresh();
    settings.first();
    QStringList lines;
    if (settings.isEmpty()) return lines;
    for (const Field* f : {&U::USER1, &U::USER2, &U::CIM, &U::TELEFON, &U::WEBLAP, &U::EMAIL})
        lines << settings.asString(*f).trimmed();
    return lines;
}

void openPriceList(TDataModule1& data) {
    TableHandle& products = data.AnyagTable();
    products.setOrder(A::MEGNEVEZES);
    filter::restrictExactly(products, filter::allOf({filter::isTrue(A::LISTA), filter::isFalse(A::TERMEK),
                                                     filter::differs(A::KATEGORIA, kBinCategory)}));
    products.first();
}

void closePriceList(TDataModule1& data) {
    TableHandle& products = data.AnyagTable();
    const CursorMark at = products.bookmark();
    products.setOrder(A::MEGNEVEZES);
    filter::removeRestriction(products);
    products.gotoBookmark(at);
}

QString priceListMoney(double value) {
    return moneyText(value).remove(QStringLiteral(" Ft"), Qt::CaseInsensitive).trimmed();
}

std::unique_ptr<report::Layout> priceListLayout(RecordCursor& products, PriceListGroup group,
                                                const QStringList& company, const ListFooter& footer) {
    auto layout = std::make_unique<report::Layout>();
    layout->setSource(&products);
    const TextStyle plain = TextStyle().withSize(9);
    const double width = layout->bandWidth();

    const double companyHeight = 4.5 * company.size();
    Band& header = layout->addBand(BandKind::PageHeader, "PageHeader", companyHeight + 12);
    for (int i = 0; i < company.size(); ++i)
        header.addText("company" + std::to_string(i), QRectF(0, 4.5 * i, width / 2, 4.5), company[i],
                       i == 0 ? plain.withBold().withSize(11) : plain);
    header.addText("title", QRectF(0, companyHeight + 2, width, 8), QStringLiteral(" Árlista "),
                   plain.withSize(14).withBold().withAlignment(Qt::AlignHCenter | Qt::AlignTop));

    Band& group_ = layout->addBand(BandKind::GroupHeader, "GroupHeader", 8);
    group_.setGroupField(A::KATEGORIA.text());
    group_.addField("category", QRectF(0, 2, 110, 5), products, A::KATEGORIA.text(), plain.withBold().withSize(10));
    group_.addText("netHead", QRectF(120, 2.5, 33, 5), QStringLiteral("Nettó ár"),
                   plain.withBold().withAlignment(kRight));
    group_.addText("grossHead", QRectF(157, 2.5, 33, 5), QStringLiteral("Bruttó ár"),
                   plain.withBold().withAlignment(kRight));
    group_.addLine("underline", QPointF(0, 7.6), QPointF(width, 7.6), 0.2);

    Band& detail = layout->addBand(BandKind::Detail, "Detail", 5);
    detail.addField("name", QRectF(2, 0.5, 115, 4.5), products, A::MEGNEVEZES.text(), plain);
    const PricePair pair = pairOf(group);
    report::Element& net =
        detail.addField("net", QRectF(120, 0.5, 33, 4.5), products, pair.net.text(), plain.withAlignment(kRight));
    net.format = [&field = pair.net](const RecordCursor& p) { return priceListMoney(p.asFloat(field)); };
    report::Element& gross =
        detail.addField("gross", QRectF(157, 0.5, 33, 4.5), products, pair.gross.text(), plain.withAlignment(kRight));
    gross.format = [&field = pair.gross](const RecordCursor& p) { return priceListMoney(p.asFloat(field)); };
    addListFooter(*layout, footer);
    return layout;
}

}  // namespace kavina::products
