#include "products/barcodes/BarcodeLabels.h"

#include <QImage>

#include "foundation/CatalogueFields.h"
#include "products/barcodes/BarcodeBook.h"
#include "products/barcodes/Ean13.h"
#include "products/register/PictureFile.h"

namespace kavina::products {

namespace {

namespace B = fields::Vonalkod;
using report::TextStyle;

// The rows' one field: which pair of labels the row prints.
constexpr std::string_view kRows = "labelrows";
constexpr Field kPair{kRows, "PAR"};

constexpr double kGap = 4;           // between the two columns
constexpr double kLabelHeight = 52;  // the frame
constexpr double kRowHeight = 55;    // the frame and the space below it
constexpr double kBarsTop = 24;      // from the frame's top
constexpr double kBarsHeight = 18;
constexpr int kBarCount = 30;  // every EAN-13 symbol has 30 bars
constexpr double kPictureSize = 22;

struct Bar {
    double centre;  // millimetres from the label's left edge
    double width;
};

std::vector<Bar> barsOf(const QString& modules, double left) {
    std::vector<Bar> bars;
    for (int i = 0; i < modules.size();) {
        if (modules.at(i) != QLatin1Char('1')) {
            ++i;
            continue;
        }
        int n = 0;
        while (i + n < modules.size() && modules.at(i + n) == QLatin1Char('1')) ++n;
        bars.push_back({left + (i + n / 2.0) * kModuleWidth, n * kModuleWidth});
        i += n;
    }
    return bars;
}

std::string nameOf(const char* side, const char* what, int i = -1) {
    return std::string(side) + "_" + what + (i >= 0 ? std::to_string(i) : std::string());
}

// The elements of one label, placed at the left edge x of its column.
void addLabel(report::Band& band, const char* side, double x, double width) {
    const TextStyle plain;
    band.addFrame(nameOf(side, "frame"), QRectF(x, 0, width, kLabelHeight));
    band.addText(nameOf(side, "name"), QRectF(x + 3, 2, width - kPictureSize - 8, 10), QString(),
                 plain.withSize(10).withBold().wrapped());
    band.addText(nameOf(side, "unit"), QRectF(x + 3, 13, width - kPictureSize - 8, 5), QString(), plain.withSize(9));
    band.addPicture(nameOf(side, "picture"), QRectF(x + width - kPictureSize - 2, 2, kPictureSize, kPictureSize),
                    QImage(), Qt::AlignRight | Qt::AlignTop);
    for (int i = 0; i < kBarCount; ++i)
        band.addLine(nameOf(side, "bar", i), QPointF(x, kBarsTop), QPointF(x, kBarsTop + kBarsHeight));
    band.addText(nameOf(side, "digits"), QRectF(x, kBarsTop + kBarsHeight + 1, width, 5), QString(),
                 plain.withSize(10).withAlignment(Qt::AlignHCenter | Qt::AlignTop));
    TextStyle mark = plain.withSize(10).withBold().withAlignment(Qt::AlignHCenter | Qt::AlignTop).wrapped();
    mark.color = Qt::red;
    band.addText(nameOf(side, "refusal"), QRectF(x + 3, kBarsTop + 4, width - 6, 10), QString(), mark);
}

void fillLabel(report::Band& band, const char* side, double x, double width, const BarcodeLabel* label) {
    for (const auto& e : band.elements())
        if (e->name.rfind(std::string(side) + "_", 0) == 0) e->visible = label != nullptr;
    if (!label) return;
    band.element(nameOf(side, "name")).text = label->name;
    band.element(nameOf(side, "unit")).text = QStringLiteral("me: ") + label->unit;
    report::Element& picture = band.element(nameOf(side, "picture"));
    const QString path = label->picture.trimmed();
    picture.image = !path.isEmpty() && isPictureFile(path) ? QImage(path) : QImage();
    picture.visible = !picture.image.isNull();
    const std::optional<Ean13> code = ean13Of(label->barcode);
    band.element(nameOf(side, "refusal")).visible = !code;
    band.element(nameOf(side, "digits")).visible = bool(code);
    const std::vector<Bar> bars =
        code ? barsOf(code->modules(), x + (width - 95 * kModuleWidth) / 2) : std::vector<Bar>{};
    for (int i = 0; i < kBarCount; ++i) {
        report::Element& bar = band.element(nameOf(side, "bar", i));
        bar.visible = size_t(i) < bars.size();
        if (!bar.visible) continue;
        bar.rect =
            QRectF(QPointF(bars[size_t(i)].centre, kBarsTop), QPointF(bars[size_t(i)].centre, kBarsTop + kBarsHeight));
        bar.penWidth = bars[size_t(i)].width;
    }
    if (code)
        band.element(nameOf(side, "digits")).text = code->digits;
    else
        band.element(nameOf(side, "refusal")).text = ean13Refusal(label->barcode);
}

}  // namespace

BarcodeSheet barcodeSheet(RecordCursor& labels) {
    auto read = std::make_shared<std::vector<BarcodeLabel>>();
    const CursorMark at = labels.bookmark();
    for (labels.first(); !labels.eof(); labels.next())
        read->push_back({labels.asString(B::megnevezes), labels.asString(B::me), labels.asString(B::vonalkod),
                         labels.asString(B::kep)});
    labels.gotoBookmark(at);

    BarcodeSheet sheet;
    sheet.rows = std::make_unique<MemTable>(std::string(kRows));
    sheet.rows->setFields({{std::string(kPair.name), dbase::FieldType::Integer, 0, 0}});
    for (size_t i = 0; i < read->size(); i += 2) {
        sheet.rows->append();
        sheet.rows->setInteger(kPair, int64_t(i / 2));
        sheet.rows->post();
    }
    sheet.layout = std::make_unique<report::Layout>();
    report::Layout& layout = *sheet.layout;
    layout.setSource(sheet.rows.get());
    const double width = (layout.bandWidth() - kGap) / 2;
    report::Band& detail = layout.addBand(report::BandKind::Detail, "Detail", kRowHeight);
    addLabel(detail, "left", 0, width);
    addLabel(detail, "right", width + kGap, width);
    const RecordCursor* rows = sheet.rows.get();
    detail.setBeforePrint([read, rows, width](report::Band& band, report::PrintContext&) {
        const size_t first = size_t(rows->asInteger(kPair)) * 2;
        fillLabel(band, "left", 0, width, first < read->size() ? &(*read)[first] : nullptr);
        fillLabel(band, "right", width + kGap, width, first + 1 < read->size() ? &(*read)[first + 1] : nullptr);
    });
    return sheet;
}

}  // namespace kavina::products
