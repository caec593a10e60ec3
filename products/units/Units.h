#pragma once
// What the units window ("Mértékegységek") does, apart from drawing it: adding, renaming and
// deleting the units of Egyseg.dbf on its shared handle, the name asked for with the text
// prompt ("Mértékegység:", caption "Szerkesztés"). A new unit is stored at once on a
// non-empty answer and nothing is stored on an empty one. A name longer than the products'
// unit field (10 characters) is refused with a message and asked for again, so nothing is cut
// off silently. Products keep the unit text they have: a rename is not carried into them.

#include <QString>
#include <optional>

#include "foundation/Prompt.h"
#include "foundation/TDataModule1.h"

namespace kavina::products {

inline constexpr int kUnitNameLength = 10;
// "A mértékegység neve legfeljebb 10 karakter lehet!"
QString unitTooLongMessage();

class Units {
public:
    Units(TDataModule1& data, Prompt& prompt) : m_data(data), m_prompt(prompt) {}
    // "Új m.egység": the name asked for; stored when it is not empty. True when it was.
    bool add();
    // "Módosítá&s": the current name offered; a non-empty answer replaces it. Throws RuleError
    // when another workstation deleted the unit meanwhile.
    bool modifyCurrent();
    // "&Törlés": asks first.
    bool deleteCurrent();

private:
    // The name typed, trimmed: nothing when cancelled or empty.
    std::optional<QString> askName(const QString& initial);

    TDataModule1& m_data;
    Prompt& m_prompt;
};

}  // namespace kavina::products
