#include "products/lists/Categories.h"

#include "dbase/Transaction.h"
#include "foundation/Catalogue.h"
#include "foundation/CatalogueFields.h"
#include "foundation/OpenedRecord.h"
#include "foundation/RecordEdit.h"
#include "products/register/ProductWalk.h"

namespace kavina::products {

namespace {

namespace A = fields::Anyag;
namespace K = fields::Kategoria;

const QString kCaption = QStringLiteral("Figyelem!");

int nameWidth() {
    return catalogue::table(TableId::Kategoria).field(K::KATEGORIA.name)->width;
}

OpenedRecordTexts categoryTexts() {
    OpenedRecordTexts texts;
    texts.gone = QStringLiteral("A kategóriát közben egy másik munkaállomás törölte.");
    texts.changed = QStringLiteral("A kategóriát közben egy másik munkaállomás módosította:");
    texts.labels = {{K::KATEGORIA, QStringLiteral("Kategória")}};
    return texts;
}

}  // namespace

QString categoryTakenMessage(const QString& name) {
    return QStringLiteral("Már van ilyen nevű kategória: ") + name;
}

QString categoryTooLongMessage() {
    return QStringLiteral("A kategória neve legfeljebb %1 karakter lehet!").arg(nameWidth());
}

Categories::Categories(TDataModule1& data, Prompt& prompt, std::chrono::milliseconds lockPatience)
    : m_data(data), m_prompt(prompt), m_patience(lockPatience) {}

// Read through a handle of its own: what other workstations stored a moment ago counts, and
// the window's list stays where it is.
bool Categories::taken(const QString& name, std::optional<uint64_t> skip) {
    TableHandle all(m_data.dataFolder(), catalogue::table(TableId::Kategoria).fileName);
    all.open();
    for (all.first(); !all.eof(); all.next())
        if (all.bookmark().id != skip.value_or(0) && all.asString(K::KATEGORIA).trimmed() == name) return true;
    return false;
}

std::optional<QString> Categories::askName(const QString& initial, std::optional<uint64_t> skip) {
    QString offered = initial;
    for (;;) {
        const std::optional<QString> answer =
            m_prompt.askText(QStringLiteral("Szerkesztés"), QStringLiteral("Kategória :"), offered);
        if (!answer) return std::nullopt;
        const QString name = answer->trimmed();
        if (name.isEmpty()) return std::nullopt;
        if (name.size() > nameWidth())
            m_prompt.warning(kCaption, categoryTooLongMessage());
        else if (taken(name, skip))
            m_prompt.warning(kCaption, categoryTakenMessage(name));
        else
            return name;
        offered = name;
    }
}

bool Categories::add() {
    const std::optional<QString> name = askName(QString(), std::nullopt);
    if (!name) return false;
    TableHandle& categories = m_data.KategoriaTable();
    RecordEdit added = RecordEdit::append(categories);
    categories.setString(K::KATEGORIA, *name);
    added.post();
    return true;
}

bool Categories::modifyCurrent() {
    TableHandle& categories = m_data.KategoriaTable();
    if (categories.isEmpty()) return false;
    OpenedRecord opened(categories, std::nullopt, categoryTexts());
    const QString shown = categories.asString(K::KATEGORIA);
    const std::optional<QString> name = askName(shown, opened.mark().id);
    if (!name || *name == shown) return false;
    // The products' handle lives until the commit: closing a file gives up the locks the
    // transaction holds on it.
    TableHandle products(m_data.dataFolder(), catalogue::table(TableId::Anyag).fileName);
    dbase::Transaction transaction(m_data.dataFolder());
    QString old;
    if (!opened.save(m_prompt, [&] {
            old = categories.asString(K::KATEGORIA);
            categories.setString(K::KATEGORIA, *name);
        }))
        return false;
    products.open();
    changeProducts(products, {.picks = [&](const RecordCursor& p) { return p.asString(A::KATEGORIA) == old; },
                              .change = [&](RecordCursor& p) { p.setString(A::KATEGORIA, *name); },
                              .refused =
                                  [](const QString& product, const QString& why) {
                                      return QStringLiteral(
                                                 "A(z) „%1” termék nem módosítható (%2), ezért sem a "
                                                 "kategória, sem egyetlen termék kategóriája nem változott.")
                                          .arg(product, why);
                                  },
                              .patience = m_patience});
    transaction.commit();
    m_data.AnyagTable().refresh();
    return true;
}

bool Categories::deleteCurrent() {
    TableHandle& categories = m_data.KategoriaTable();
    if (categories.isEmpty()) return false;
    if (!m_prompt.askYesNo(kCaption, QStringLiteral("Biztos, hogy törölni szeretné a kiválasztott tételt?")))
        return false;
    categories.deleteRecord();
    return true;
}

}  // namespace kavina::products
