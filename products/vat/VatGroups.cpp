#include "products/vat/VatGroups.h"

#include "dbase/Transaction.h"
#include "foundation/Catalogue.h"
#include "foundation/CatalogueFields.h"
#include "foundation/OpenedRecord.h"
#include "foundation/RecordEdit.h"
#include "products/register/ProductFields.h"
#include "products/register/ProductWalk.h"

namespace kavina::products {

namespace {

namespace A = fields::Anyag;
namespace V = fields::AFA;

const QString kCaption = QStringLiteral("Figyelem!");

OpenedRecordTexts groupTexts() {
    OpenedRecordTexts texts;
    texts.gone = QStringLiteral("Az ÁFA csoportot közben egy másik munkaállomás törölte.");
    texts.changed = QStringLiteral("Az ÁFA csoportot közben egy másik munkaállomás módosította:");
    texts.labels = {{V::MEGNEVEZES, QStringLiteral("Megnevezés")}, {V::AFA, QStringLiteral("Százalék")}};
    return texts;
}

void writeGroup(TableHandle& groups, const VatGroup& group) {
    groups.setString(V::MEGNEVEZES, group.name);
    groups.setFloat(V::AFA, group.rate);
}

}  // namespace

QString carriedMessage(int count) {
    return QString::number(count) + QStringLiteral(" termék, ill. szolgáltatás ÁFA mezője módosítva lett!");
}

VatGroups::VatGroups(TDataModule1& data, Prompt& prompt, VatGroupWindows& windows,
                     std::chrono::milliseconds lockPatience)
    : m_data(data), m_prompt(prompt), m_windows(windows), m_patience(lockPatience) {}

bool VatGroups::add() {
    const std::optional<VatGroup> accepted = m_windows.editVatGroup({});
    if (!accepted) return false;
    TableHandle& groups = m_data.AFATable();
    RecordEdit added = RecordEdit::append(groups);
    writeGroup(groups, *accepted);
    added.post();
    return true;
}

bool VatGroups::modifyCurrent() {
    TableHandle& groups = m_data.AFATable();
    if (groups.isEmpty()) return false;
    OpenedRecord opened(groups, std::nullopt, groupTexts());
    const double oldRate = groups.asFloat(V::AFA);
    const std::optional<VatGroup> accepted =
        m_windows.editVatGroup({groups.asString(V::MEGNEVEZES).trimmed(), oldRate});
    if (!accepted) return false;
    // The question comes before anything is written, so that the group and the products it
    // carries stand or fall together.
    const bool carryToProducts = m_prompt.askYesNo(kCaption, kCarryQuestion);
    // The products are walked through a handle of their own, so the register's filter and
    // position stay as they are. It lives until the commit: closing a file gives up the locks
    // the transaction holds on it, and another workstation could then change a product whose
    // change this transaction still has to write.
    TableHandle products(m_data.dataFolder(), catalogue::table(TableId::Anyag).fileName);
    dbase::Transaction transaction(m_data.dataFolder());
    if (!opened.save(m_prompt, [&] { writeGroup(groups, *accepted); })) return false;
    int count = 0;
    if (carryToProducts) {
        products.open();
        count = carry(products, oldRate, accepted->rate);
    }
    transaction.commit();
    if (carryToProducts) {
        m_data.AnyagTable().refresh();
        m_prompt.information(kCaption, carriedMessage(count));
    }
    return true;
}

// Every product, services and binned ones included.
int VatGroups::carry(TableHandle& products, double oldRate, double newRate) {
    return changeProducts(products,
                          {.picks = [oldRate](const RecordCursor& p) { return p.asFloat(A::AFAKULCS) == oldRate; },
                           .change =
                               [newRate](RecordCursor& p) {
                                   p.setFloat(A::AFAKULCS, newRate);
                                   rederivePrices(p);
                               },
                           .refused =
                               [](const QString& name, const QString& why) {
                                   return QStringLiteral(
                                              "A(z) „%1” termék nem módosítható (%2), ezért sem az ÁFA csoport, "
                                              "sem egyetlen termék ÁFA mezője nem változott.")
                                       .arg(name, why);
                               },
                           .patience = m_patience});
}

bool VatGroups::deleteCurrent() {
    TableHandle& groups = m_data.AFATable();
    if (groups.isEmpty()) return false;
    if (!m_prompt.askYesNo(kCaption, QStringLiteral("Biztos, hogy törölni szeretné a kiválasztott tételt?")))
        return false;
    groups.deleteRecord();
    return true;
}

}  // namespace kavina::products
