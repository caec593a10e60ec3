#include "products/pricing/Promotions.h"

#include "foundation/CatalogueFields.h"
#include "foundation/OpenedRecord.h"
#include "foundation/RecordEdit.h"
#include "foundation/RuleError.h"
#include "foundation/SzamSzov.h"

namespace kavina::products {

namespace {

namespace K = fields::Akcio;

const QString kCaption = QStringLiteral("Figyelem!");

OpenedRecordTexts promotionTexts() {
    OpenedRecordTexts texts;
    texts.gone = QStringLiteral("Az akciót közben egy másik munkaállomás törölte.");
    texts.changed = QStringLiteral("Az akciót közben egy másik munkaállomás módosította:");
    texts.labels = {{K::kod, QStringLiteral("Termékkód")},
                    {K::mettol, QStringLiteral("Mettől")},
                    {K::meddig, QStringLiteral("Meddig")},
                    {K::bruttoar, QStringLiteral("Bruttó ár")}};
    return texts;
}

QDateTime dayOf(const QDate& date) {
    return QDateTime(date, QTime(0, 0), Qt::UTC);
}

}  // namespace

Promotions::Promotions(TDataModule1& data, Prompt& prompt, PromotionWindows& windows, double productCode,
                       double fixedGross, Today today)
    : m_data(data),
      m_prompt(prompt),
      m_windows(windows),
      m_code(productCode),
      m_fixedGross(fixedGross),
      m_today(std::move(today)) {}

void Promotions::open() {
    TableHandle& list = m_data.akcio();
    if (!list.isOpen()) throw RuleError(kNoPromotionsMessage);
    list.refresh();
    // The code is a whole number of the program's own, not user text.
    list.setFilter(K::kod.text() + " = " + std::to_string(KerekitRound(m_code)));
    list.setFiltered(true);
    list.first();
}

PromotionValues Promotions::proposal() const {
    const QDate today = m_today();
    return {today, today.addDays(7), m_fixedGross};
}

void Promotions::write(const PromotionValues& values) {
    TableHandle& list = m_data.akcio();
    list.setInteger(K::kod, KerekitRound(m_code));
    list.setDateTime(K::mettol, dayOf(values.from));
    list.setDateTime(K::meddig, dayOf(values.to));
    list.setFloat(K::bruttoar, values.gross);
}

bool Promotions::add() {
    const std::optional<PromotionValues> accepted = m_windows.editPromotion(proposal());
    if (!accepted) return false;
    TableHandle& list = m_data.akcio();
    RecordEdit added = RecordEdit::append(list);
    write(*accepted);
    added.post();
    return true;
}

bool Promotions::modifyCurrent() {
    TableHandle& list = m_data.akcio();
    if (list.isEmpty()) return false;
    OpenedRecord opened(list, std::nullopt, promotionTexts());
    const PromotionValues start{list.asDateTime(K::mettol).date(), list.asDateTime(K::meddig).date(),
                                list.asFloat(K::bruttoar)};
    const std::optional<PromotionValues> accepted = m_windows.editPromotion(start);
    if (!accepted) return false;
    return opened.save(m_prompt, [&] { write(*accepted); });
}

bool Promotions::deleteCurrent() {
    TableHandle& list = m_data.akcio();
    if (list.isEmpty()) return false;
    if (!m_prompt.askYesNo(kCaption, QStringLiteral("Biztos, hogy törölni szeretné a kiválasztott tételt?")))
        return false;
    list.deleteRecord();
    return true;
}

}  // namespace kavina::products
