#include "products/units/Units.h"

#include "foundation/CatalogueFields.h"
#include "foundation/OpenedRecord.h"
#include "foundation/RecordEdit.h"

namespace kavina::products {

namespace {

namespace E = fields::Egyseg;

const QString kCaption = QStringLiteral("Figyelem!");

OpenedRecordTexts unitTexts() {
    OpenedRecordTexts texts;
    texts.gone = QStringLiteral("A mértékegységet közben egy másik munkaállomás törölte.");
    texts.changed = QStringLiteral("A mértékegységet közben egy másik munkaállomás módosította:");
    texts.labels = {{E::EGYSEG, QStringLiteral("Mértékegység")}};
    return texts;
}

}  // namespace

QString unitTooLongMessage() {
    return QStringLiteral("A mértékegység neve legfeljebb %1 karakter lehet!").arg(kUnitNameLength);
}

std::optional<QString> Units::askName(const QString& initial) {
    QString offered = initial;
    for (;;) {
        const std::optional<QString> answer =
            m_prompt.askText(QStringLiteral("Szerkesztés"), QStringLiteral("Mértékegység:"), offered);
        if (!answer) return std::nullopt;
        const QString name = answer->trimmed();
        if (name.isEmpty()) return std::nullopt;
        if (name.size() <= kUnitNameLength) return name;
        m_prompt.warning(kCaption, unitTooLongMessage());
        offered = name;
    }
}

bool Units::add() {
    const std::optional<QString> name = askName(QString());
    if (!name) return false;
    TableHandle& units = m_data.EgysegTable();
    RecordEdit added = RecordEdit::append(units);
    units.setString(E::EGYSEG, *name);
    added.post();
    return true;
}

bool Units::modifyCurrent() {
    TableHandle& units = m_data.EgysegTable();
    if (units.isEmpty()) return false;
    OpenedRecord opened(units, std::nullopt, unitTexts());
    const std::optional<QString> name = askName(units.asString(E::EGYSEG).trimmed());
    if (!name) return false;
    return opened.save(m_prompt, [&] { units.setString(E::EGYSEG, *name); });
}

bool Units::deleteCurrent() {
    TableHandle& units = m_data.EgysegTable();
    if (units.isEmpty()) return false;
    if (!m_prompt.askYesNo(kCaption, QStringLiteral("Biztos, hogy törölni szeretné a kiválasztott tételt?")))
        return false;
    units.deleteRecord();
    return true;
}

}  // namespace kavina::products
