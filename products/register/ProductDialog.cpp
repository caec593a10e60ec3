#include "products/register/ProductDialog.h"

#include "documents/stock/StockDialogs.h"
#include "foundation/CatalogueFields.h"
#include "foundation/NumberBox.h"
#include "foundation/RecordEdit.h"
#include "foundation/TableReader.h"
#include "products/register/ProductList.h"

namespace kavina::products {

namespace {

namespace A = fields::Anyag;

const QString kLineBreak = QStringLiteral("\n\r");

QStringList columnOf(TableHandle& table, const Field& field) {
    QStringList values;
    if (!table.isOpen()) return values;
    const auto reader = readerOf(table, ReaderView::Unfiltered);
    for (reader->first(); !reader->eof(); reader->next()) values << reader->asString(field).trimmed();
    return values;
}

// The item equal to the text when case is ignored, in the list's own spelling.
std::optional<QString> listed(const QStringList& list, const QString& text) {
    for (const QString& item : list)
        if (item.compare(text, Qt::CaseInsensitive) == 0) return item;
    return std::nullopt;
}

}  // namespace

ProductDialog::ProductDialog(TDataModule1& data, Prompt& prompt, const IniSettings& settings, bool service)
    : m_data(data), m_prompt(prompt), m_settings(settings), m_service(service) {}

QStringList ProductDialog::warehouses() {
    QStringList labels = warehouseItems(m_data.raktar());
    labels.removeFirst();
    return labels;
}

QStringList ProductDialog::categories() {
    return columnOf(m_data.KategoriaTable(), fields::Kategoria::KATEGORIA);
}

QStringList ProductDialog::units() {
    return columnOf(m_data.EgysegTable(), fields::Egyseg::EGYSEG);
}

QStringList ProductDialog::vatGroups() {
    QStringList names = vatGroupNames(m_data.AFATable());
    if (m_ungroupedRate) names << ungroupedVatText(*m_ungroupedRate);
    return names;
}

QString ProductDialog::defaultVatGroup() {
    const QStringList groups = vatGroups();
    if (const std::optional<QString> chosen = listed(groups, m_settings.afakulcs.trimmed())) return *chosen;
    return groups.value(0);
}

int ProductDialog::articleNumberMaxLength() const {
    return m_settings.cikk_max > 0 ? m_settings.cikk_max : 30;
}

BoxCheck ProductDialog::checkRecordable(TableHandle& table, const Field& field, const QString& text,
                                        const QString& what) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) return {text};
    if (const std::optional<QString> item = listed(columnOf(table, field), trimmed)) return {*item};
    if (!m_prompt.askYesNo(kDialogCaption, trimmed + what + kLineBreak + QStringLiteral("Szeretné most rögzíteni?"),
                           Icon::Question))
        return {QString(), true};
    RecordEdit change = RecordEdit::append(table);
    table.setString(field, trimmed);
    change.post();
    return {trimmed};
}

BoxCheck ProductDialog::checkListed(const QStringList& list, const QString& text, const QString& what) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) return {text};
    if (const std::optional<QString> item = listed(list, trimmed)) return {*item};
    m_prompt.warning(kDialogCaption, trimmed + what + kLineBreak + QStringLiteral("Válasszon a listából!"));
    return {text, true};
}

BoxCheck ProductDialog::leftCategory(const QString& text) {
    return checkRecordable(m_data.KategoriaTable(), fields::Kategoria::KATEGORIA, text,
                           QStringLiteral(": ez a kategória még nincs felvéve."));
}

BoxCheck ProductDialog::leftUnit(const QString& text) {
    return checkRecordable(m_data.EgysegTable(), fields::Egyseg::EGYSEG, text,
                           QStringLiteral(": ez a mértékegység még nincs felvéve."));
}

BoxCheck ProductDialog::leftVatGroup(const QString& text) {
    return checkListed(vatGroups(), text, QStringLiteral(": ez az ÁFA-kulcs nincs a programban."));
}

BoxCheck ProductDialog::leftWarehouse(const QString& text) {
    return checkListed(warehouses(), text, QStringLiteral(": ez a RAKTÁR nincs a programban."));
}

bool ProductDialog::leftArticleNumber(ProductFields& fields) {
    if (const std::optional<QString> message = m_settings.articleNumberLengthMessage(fields.articleNumber)) {
        m_prompt.warning(kDialogCaption, *message);
        return false;
    }
    if (!m_service && !fields.articleNumber.isEmpty()) fillFrom(A::CIKKSZAM, fields.articleNumber, fields, true);
    return true;
}

void ProductDialog::leftName(ProductFields& fields) {
    if (!m_service && !fields.name.isEmpty()) fillFrom(A::MEGNEVEZES, fields.name, fields, false);
}

// A product typed again (the same goods in another warehouse) starts from what the first one
// holds; only the boxes still empty are filled.
void ProductDialog::fillFrom(const Field& key, const QString& value, ProductFields& f, bool fromArticle) {
    const auto reader = readerOf(m_data.AnyagTable(), ReaderView::Unfiltered);
    reader->setOrder(key);
    if (!reader->locate({{key, value}})) return;
    const auto fillText = [](QString& box, const QString& stored) {
        if (box.isEmpty()) box = stored.trimmed();
    };
    fillText(f.category, reader->asString(A::KATEGORIA));
    fillText(f.statNumber, reader->asString(A::ITJSZAM));
    if (fromArticle)
        fillText(f.name, reader->asString(A::MEGNEVEZES));
    else
        fillText(f.articleNumber, reader->asString(A::CIKKSZAM));
    fillText(f.unit, reader->asString(A::EGYSEG));
    fillText(f.picture, reader->asString(A::KEP));
    if (f.minimum == 0) f.minimum = reader->asFloat(A::MINMENNY);
    if (f.warranty == 0) f.warranty = int(reader->asInteger(A::szavatossag));
}

std::optional<double> ProductDialog::readNumber(const QString& text) {
    const std::optional<double> value = readNumberBox(text);
    if (!value) m_prompt.warning(kDialogCaption, documents::notANumberMessage(text));
    return value;
}

std::optional<double> ProductDialog::accept(const ProductFields& fields) {
    const std::optional<double> rate = vatRateOf(m_data.AFATable(), fields.vatGroup, m_ungroupedRate);
    if (!rate) {
        m_prompt.warning(kDialogCaption, fields.vatGroup.trimmed() +
                                             QStringLiteral(": ez az ÁFA-kulcs nincs a programban.") + kLineBreak +
                                             QStringLiteral("Válasszon a listából!"));
        return std::nullopt;
    }
    if (!m_service && leftWarehouse(fields.warehouse).refocus) return std::nullopt;
    if (const std::optional<QString> message = m_settings.articleNumberLengthMessage(fields.articleNumber)) {
        m_prompt.warning(kDialogCaption, *message);
        return std::nullopt;
    }
    return rate;
}

}  // namespace kavina::products
