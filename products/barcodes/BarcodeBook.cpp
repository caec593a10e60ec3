#include "products/barcodes/BarcodeBook.h"

#include "foundation/CatalogueFields.h"
#include "foundation/OpenedRecord.h"
#include "foundation/RecordEdit.h"
#include "products/register/PictureFile.h"

namespace kavina::products {

namespace {

namespace A = fields::Anyag;
namespace B = fields::Vonalkod;

const QString kCaption = QStringLiteral("Figyelem !");

OpenedRecordTexts labelTexts() {
    OpenedRecordTexts texts;
    texts.gone = QStringLiteral("A címkét közben egy másik munkaállomás törölte.");
    texts.changed = QStringLiteral("A címkét közben egy másik munkaállomás módosította:");
    texts.labels = {{B::megnevezes, QStringLiteral("Megnevezés")},
                    {B::me, QStringLiteral("Mértékegység")},
                    {B::vonalkod, QStringLiteral("Vonalkód")},
                    {B::kep, QStringLiteral("Kép")}};
    return texts;
}

void writeLabel(RecordCursor& labels, const BarcodeLabel& label) {
    labels.setString(B::megnevezes, label.name);
    labels.setString(B::me, label.unit);
    labels.setString(B::vonalkod, label.barcode);
    labels.setString(B::kep, label.picture);
}

}  // namespace

void BarcodeBook::open() {
    m_data.vonalkodTable().setOrder(B::megnevezes);
}

bool BarcodeBook::add() {
    if (!m_windows.pickProduct()) return false;
    const TableHandle& product = m_data.AnyagTable();
    if (product.isEmpty()) return false;
    const BarcodeLabel label{product.asString(A::MEGNEVEZES), product.asString(A::EGYSEG),
                             product.asString(A::VONALKOD), product.asString(A::KEP)};
    TableHandle& labels = m_data.vonalkodTable();
    RecordEdit added = RecordEdit::append(labels);
    writeLabel(labels, label);
    added.post();
    return true;
}

bool BarcodeBook::modifyCurrent() {
    TableHandle& labels = m_data.vonalkodTable();
    if (labels.isEmpty()) return false;
    OpenedRecord opened(labels, std::nullopt, labelTexts());
    const std::optional<BarcodeLabel> accepted =
        m_windows.editLabel({labels.asString(B::megnevezes), labels.asString(B::me), labels.asString(B::vonalkod),
                             labels.asString(B::kep)});
    if (!accepted) return false;
    return opened.save(m_prompt, [&] { writeLabel(labels, *accepted); });
}

bool BarcodeBook::deleteCurrent() {
    TableHandle& labels = m_data.vonalkodTable();
    if (labels.isEmpty()) return false;
    if (!m_prompt.askYesNo(kCaption, kLabelDeleteQuestion)) return false;
    labels.deleteRecord();
    return true;
}

void BarcodeBook::showPicture() {
    TableHandle& labels = m_data.vonalkodTable();
    const QString path = labels.isEmpty() ? QString() : labels.asString(B::kep).trimmed();
    if (path.isEmpty()) return;
    if (!isPictureFile(path)) {
        m_prompt.warning(QStringLiteral("Figyelem!"),
                         QStringLiteral("A kép nem nyitható meg, mert nem képfájl: ") + path);
        return;
    }
    m_desktop.openFile(path);
}

}  // namespace kavina::products
