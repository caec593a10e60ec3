#pragma once
// What the promotions window (Takciok, "Akciók") and its dialog (TAkcioszerk, "Akció") do,
// apart from drawing them: the list of one product's promotions on the shared handle of
// akcio.dbf, a new promotion proposed from today for a week at the product's gross fixed
// price, changing and deleting the selected one. The dialog comes through PromotionWindows,
// so every operation runs, question by question, without a display.
//
// The shared handle stays filtered to the product after the window closes, until the next
// filter is set, as the program always left it.

#include <QDate>
#include <QString>
#include <functional>
#include <optional>

#include "foundation/Prompt.h"
#include "foundation/TDataModule1.h"

namespace kavina::products {

// The boxes of the "Akció" dialog.
struct PromotionValues {
    QDate from;        // "Mettől:", mettol
    QDate to;          // "Meddig:", meddig
    double gross = 0;  // "Bruttó ár:", bruttoar

    bool operator==(const PromotionValues&) const = default;
};

class PromotionWindows {
public:
    virtual ~PromotionWindows() = default;
    // The "Akció" dialog started from the values; the values accepted with "&Ok".
    virtual std::optional<PromotionValues> editPromotion(const PromotionValues& start) = 0;
};

// The promotions table is missing: the folder has not been upgraded.
inline const QString kNoPromotionsMessage = QStringLiteral(
    "Az akciók táblája (akcio.dbf) hiányzik, ezért akció nem rögzíthető. "
    "Kérem, futtassa az adatbázis frissítését!");

class Promotions {
public:
    using Today = std::function<QDate()>;
    // productCode: the product's ANYAGKOD; fixedGross its bfixar, the price a new promotion
    // proposes.
    Promotions(TDataModule1& data, Prompt& prompt, PromotionWindows& windows, double productCode, double fixedGross,
               Today today);

    // Filters the shared handle to the product's promotions and goes to the first. Throws
    // RuleError (kNoPromotionsMessage) when akcio.dbf is missing.
    void open();
    // "Új akció": the dialog proposes today to today + 7 days and the product's bfixar; "&Ok"
    // appends the promotion. True when it was stored.
    bool add();
    // "Módosítá&s": the dialog on the selected promotion; "&Ok" writes back its four fields.
    // Throws RuleError when another workstation deleted it meanwhile.
    bool modifyCurrent();
    // "&Törlés": asks first.
    bool deleteCurrent();

    // The proposal of a new promotion.
    PromotionValues proposal() const;

private:
    void write(const PromotionValues& values);

    TDataModule1& m_data;
    Prompt& m_prompt;
    PromotionWindows& m_windows;
    double m_code;
    double m_fixedGross;
    Today m_today;
};

}  // namespace kavina::products
