#include "products/warehouses/StockReports.h"

#include <QImage>

#include "foundation/Catalogue.h"
#include "foundation/CatalogueFields.h"
#include "foundation/FieldFilter.h"
#include "foundation/NumberBox.h"
#include "foundation/SzamSzov.h"
#include "foundation/TextFormat.h"
#include "products/register/ProductList.h"
#include "products/register/ProductWalk.h"

namespace kavina::products {

namespace {

namespace A = fields::Anyag;
using report::Band;
using report::BandKind;
using report::TextStyle;

const Qt::Alignment kRight = Qt::AlignRight | Qt::AlignTop;
const QColor kSilver(192, 192, 192);

int64_t tenThousandths(double x) {
    return KerekitRound((long double)x * 10000);
}

struct Column {
    const char* title;
    double left;
    double width;
    bool right;
};

// Over the 190 mm of a portrait page between 10 mm margins.
const Column kColumns[] = {{"Cikkszám", 0, 30, false},   {"Megnevezés", 30, 70, false}, {"Bruttó ár", 100, 24, true},
                           {"Mennyiség", 124, 22, true}, {"Egység", 146, 14, false},    {"+", 160, 15, false},
                           {"-", 175, 15, false}};

void addColumnLines(Band& band, const std::string& prefix, double top, double bottom) {
    for (size_t i = 1; i < std::size(kColumns); ++i) {
        report::Element& line = band.addLine(prefix + std::to_string(i), QPointF(kColumns[i].left, top),
                                             QPointF(kColumns[i].left, bottom), 0.2);
        line.color = kSilver;
    }
}

// Switches the shared handle's filter off on the way out, whatever happens, keeping its record.
class FilterRemoval {
public:
    explicit FilterRemoval(TableHandle& handle) : m_handle(handle) {}
    ~FilterRemoval() {
        try {
            const CursorMark at = m_handle.bookmark();
            filter::removeRestriction(m_handle);
            m_handle.gotoBookmark(at);
        } catch (...) {  // a destructor never throws; the handle stays filtered at worst
        }
    }
    FilterRemoval(const FilterRemoval&) = delete;
    FilterRemoval& operator=(const FilterRemoval&) = delete;

private:
    TableHandle& m_handle;
};

}  // namespace

bool lowOnStock(const RecordCursor& product) {
    return tenThousandths(product.asFloat(A::MINMENNY)) >= tenThousandths(product.asFloat(A::MENNYISEG));
}

int refreshLowStock(TDataModule1& data, std::chrono::milliseconds lockPatience) {
    TableHandle products(data.dataFolder(), catalogue::table(TableId::Anyag).fileName);
    products.open();
    const int changed =
        changeProducts(products, {.picks = [](const RecordCursor& p) { return p.asLogical(A::KEVES) != lowOnStock(p); },
                                  .change = [](RecordCursor& p) { p.setLogical(A::KEVES, lowOnStock(p)); },
                                  .refused =
                                      [](const QString& name, const QString& why) {
                                          return QStringLiteral(
                                                     "A(z) „%1” termék nem módosítható (%2), ezért az elfogyóban levő "
                                                     "anyagok listája nem készült el.")
                                              .arg(name, why);
                                      },
                                  .patience = lockPatience});
    if (changed > 0) data.AnyagTable().refresh();
    return changed;
}

std::unique_ptr<report::Layout> stockReportLayout(RecordCursor& products, const QDateTime& made) {
    auto layout = std::make_unique<report::Layout>();
    layout->setSource(&products);
    const TextStyle plain;
    const double width = layout->bandWidth();

    Band& header = layout->addBand(BandKind::PageHeader, "PageHeader", 22);
    header.addText("title", QRectF(0, 0, 120, 7), QStringLiteral("Készletjelentés / leltárfelvételi ív"),
                   plain.withSize(12).withBold());
    header.addText("made", QRectF(width - 70, 0, 70, 5),
                   QStringLiteral("Készült: ") + dateText(made.date()) + QLatin1Char(' ') + timeText(made.time()),
                   plain.withAlignment(kRight));
    header.addPageNumber("page", QRectF(width - 70, 5, 70, 5), QStringLiteral("{page}/{pages} oldal"),
                         plain.withAlignment(kRight));
    QImage strip(int(width * 4), 24, QImage::Format_RGB32);
    strip.fill(QColor(230, 230, 230));
    header.addPicture("strip", QRectF(0, 15, width, 6), strip);
    for (const Column& c : kColumns)
        header.addText(std::string("head_") + c.title, QRectF(c.left + 1, 15.8, c.width - 2, 5),
                       QString::fromUtf8(c.title), plain.withBold().withAlignment(c.right ? kRight : Qt::AlignLeft));
    addColumnLines(header, "headLine", 15, 21);

    Band& detail = layout->addBand(BandKind::Detail, "Detail", 6);
    const auto field = [&](const char* name, const Column& c, const Field& f) -> report::Element& {
        return detail.addField(name, QRectF(c.left + 1, 0.8, c.width - 2, 4.5), products, f.text(),
                               plain.withAlignment(c.right ? kRight : Qt::AlignLeft));
    };
    field("cikkszam", kColumns[0], A::CIKKSZAM);
    field("name", kColumns[1], A::MEGNEVEZES);
    field("bfixar", kColumns[2], A::bfixar).format = [](const RecordCursor& p) {
        return p.isNull(A::bfixar) ? QString() : numberBoxText(p.asFloat(A::bfixar));
    };
    field("quantity", kColumns[3], A::MENNYISEG).format = [](const RecordCursor& p) {
        return numberBoxText(p.asFloat(A::MENNYISEG));
    };
    field("unit", kColumns[4], A::EGYSEG);
    addColumnLines(detail, "line", 0, 6);
    detail.addLine("under", QPointF(0, 5.9), QPointF(width, 5.9), 0.2).color = kSilver;
    return layout;
}

report::PreparedReport prepareStockReport(TDataModule1& data, int tsorrend, const QDateTime& made) {
    TableHandle& products = data.AnyagTable();
    products.setOrder(A::CIKKSZAM);
    if (tsorrend == 0) products.setOrder(A::MEGNEVEZES);
    FilterRemoval removal(products);
    filter::restrictExactly(products, A::FIXAR.text() + " > 0");
    products.first();
    return stockReportLayout(products, made)->prepare();
}

report::PreparedReport prepareLowStockList(TDataModule1& data, const ListFooter& footer,
                                           std::chrono::milliseconds lockPatience) {
    TableHandle& products = data.AnyagTable();
    products.setOrder(A::KATEGORIA);
    refreshLowStock(data, lockPatience);
    report::PreparedReport pages;
    {
        FilterRemoval removal(products);
        filter::restrictExactly(products, filter::allOf({filter::isTrue(A::KEVES), filter::isFalse(A::TERMEK),
                                                         filter::differs(A::KATEGORIA, kBinCategory)}));
        products.first();
        pages = productListA(products, footer, kLowStockSubtitle)->prepare();
        const CursorMark at = products.bookmark();
        products.setOrder(A::MEGNEVEZES);
        products.gotoBookmark(at);
    }
    return pages;
}

}  // namespace kavina::products
