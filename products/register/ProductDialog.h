#pragma once
// What the product dialog (TAnyagSzerk) and the service dialog (TSzolgszerk) do, apart from
// drawing them: the lists of their boxes, the check of each box when it is left (a new
// category or unit may be recorded on the spot; a VAT group or warehouse must be one of the
// list), the article number's length, the fill-in from an existing product of the same
// article number or name, and the checks of "&Elfogad". Look-ups read through handles of
// their own, so the register's list does not move.

#include <QString>
#include <QStringList>

#include "foundation/IniSettings.h"
#include "foundation/Prompt.h"
#include "foundation/TDataModule1.h"
#include "products/register/ProductFields.h"

namespace kavina::products {

inline const QString kDialogCaption = QStringLiteral("Figyelem!");

// The text a box keeps when it is left, and whether the focus goes back into it.
struct BoxCheck {
    QString text;
    bool refocus = false;
};

class ProductDialog {
public:
    // service: the service dialog, whose boxes are fewer and which fills nothing in.
    ProductDialog(TDataModule1& data, Prompt& prompt, const IniSettings& settings, bool service);

    bool isService() const { return m_service; }
    // The boxes' lists, read when asked.
    QStringList warehouses();  // the warehouse labels, without "minden"
    QStringList categories();
    QStringList units();
    QStringList vatGroups();  // with the kept rate's entry last (keepUngroupedRate)
    // The product's own rate that no group has: the VAT box lists it as ungroupedVatText() and
    // accepts it, so that saving keeps the rate.
    void keepUngroupedRate(std::optional<double> rate) { m_ungroupedRate = rate; }
    // The group a new product or service starts with: the one the setting afakulcs names, else
    // the first.
    QString defaultVatGroup();
    // The article number box's maximum length: cikk_max when above 0, else the field's width.
    int articleNumberMaxLength() const;

    // "Kategória:" and the unit box: an unknown text asks to record it (Yes records it, No
    // empties the box and sends the focus back); a known one takes the list's spelling.
    BoxCheck leftCategory(const QString& text);
    BoxCheck leftUnit(const QString& text);
    // "ÁFA kulcs:" and "Raktár:": an unknown text is refused with a message; the focus goes
    // back and nothing is recorded. A known one takes the list's spelling.
    BoxCheck leftVatGroup(const QString& text);
    BoxCheck leftWarehouse(const QString& text);
    // "Cikkszám:" and "Vonalkód:": false after the length message (the focus goes back to the
    // article number). The product dialog then fills its empty boxes from the product with
    // exactly this article number.
    bool leftArticleNumber(ProductFields& fields);
    // "Megnevezés:" (product dialog): fills the empty boxes from the product with exactly this
    // name.
    void leftName(ProductFields& fields);

    // A number box's value (empty is 0); nothing after the message naming a text that is not a
    // number.
    std::optional<double> readNumber(const QString& text);

    // "&Elfogad": the VAT group and the warehouse must be of the lists and the article number
    // of an allowed length; the first fault is said and refused. The VAT rate of the group when
    // all is well.
    std::optional<double> accept(const ProductFields& fields);

private:
    BoxCheck checkRecordable(TableHandle& table, const Field& field, const QString& text, const QString& what);
    BoxCheck checkListed(const QStringList& list, const QString& text, const QString& what);
    void fillFrom(const Field& key, const QString& value, ProductFields& fields, bool fromArticle);

    TDataModule1& m_data;
    Prompt& m_prompt;
    const IniSettings& m_settings;
    bool m_service;
    std::optional<double> m_ungroupedRate;
};

}  // namespace kavina::products
