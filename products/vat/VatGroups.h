#pragma once
// What the VAT groups window ("ÁFA csoportok") and its dialog ("Szerkesztés") do, apart from
// drawing them: adding, changing and deleting the groups of AFA.dbf on its shared handle, and
// carrying a group's new rate into the products that have its old rate.
//
// A product stores the rate, not the group. When a group changes and the clerk agrees, every
// product and service at the group's old rate takes the new rate and its price pairs are
// derived again from the net prices: gross to whole forints, net back from it to four
// decimals, as the product dialog saves them. The group's change and every product's change
// are one engine transaction: when a product cannot be changed (another workstation holds it
// too long) nothing is stored, neither the group nor any product, and the clerk is told which
// product stopped it.

#include <QString>
#include <chrono>
#include <optional>

#include "foundation/Prompt.h"
#include "foundation/TDataModule1.h"

namespace kavina::products {

struct VatGroup {
    QString name;     // MEGNEVEZES
    double rate = 0;  // AFA, percent

    bool operator==(const VatGroup&) const = default;
};

class VatGroupWindows {
public:
    virtual ~VatGroupWindows() = default;
    // The "Szerkesztés" dialog started from the group; the group accepted with "&Elfogad".
    virtual std::optional<VatGroup> editVatGroup(const VatGroup& start) = 0;
};

inline const QString kCarryQuestion = QStringLiteral("Szeretné a termékekhez rendelt ÁFA mezőket is átállítani?");
// "<count> termék, ill. szolgáltatás ÁFA mezője módosítva lett!"
QString carriedMessage(int count);

class VatGroups {
public:
    // lockPatience: how long the carry waits for a product another workstation holds.
    VatGroups(TDataModule1& data, Prompt& prompt, VatGroupWindows& windows,
              std::chrono::milliseconds lockPatience = std::chrono::milliseconds(5000));

    // "Új csoport": the empty dialog; "&Elfogad" appends the group. True when it was stored.
    bool add();
    // "Módosítá&s": the dialog on the current group; "&Elfogad" stores it and asks whether the
    // products follow; on Yes the products at the old rate take the new one and the count is
    // told. Throws RuleError when the group was deleted meanwhile or a product could not be
    // changed (then nothing is stored).
    bool modifyCurrent();
    // "&Törlés": asks first; products keep their rate.
    bool deleteCurrent();

private:
    int carry(TableHandle& products, double oldRate, double newRate);

    TDataModule1& m_data;
    Prompt& m_prompt;
    VatGroupWindows& m_windows;
    std::chrono::milliseconds m_patience;
};

}  // namespace kavina::products
