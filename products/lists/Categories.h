#pragma once
// What the categories window ("Termék kategóriák") does, apart from drawing it: adding,
// renaming and deleting the categories of Kategoria.dbf on its shared handle. Products name
// their category by text, so a rename is carried to every product that bears the old name,
// exactly (also those the register's filter hides), in the same engine transaction as the
// category itself. A name already in the list is refused, so the list never holds one twice;
// a name longer than the field (60 characters) is refused rather than cut. A deleted
// category's name stays in its products.

#include <QString>
#include <chrono>
#include <optional>

#include "foundation/Prompt.h"
#include "foundation/TDataModule1.h"

namespace kavina::products {

// "Már van ilyen nevű kategória: <name>"
QString categoryTakenMessage(const QString& name);
// "A kategória neve legfeljebb 60 karakter lehet!"
QString categoryTooLongMessage();

class Categories {
public:
    Categories(TDataModule1& data, Prompt& prompt,
               std::chrono::milliseconds lockPatience = std::chrono::milliseconds(5000));

    // "Új kategória": the name asked for ("Kategória :", caption "Szerkesztés"); stored when not
    // empty.
    bool add();
    // "Módosítá&s": the current name offered; a new name renames the category and its products.
    // Throws RuleError when the category was deleted meanwhile or a product could not be
    // changed (then nothing is stored).
    bool modifyCurrent();
    // "&Törlés": asks first; the products keep the name.
    bool deleteCurrent();

private:
    // The name typed, trimmed, until it is acceptable: nothing when cancelled or empty.
    std::optional<QString> askName(const QString& initial, std::optional<uint64_t> skip);
    bool taken(const QString& name, std::optional<uint64_t> skip);

    TDataModule1& m_data;
    Prompt& m_prompt;
    std::chrono::milliseconds m_patience;
};

}  // namespace kavina::products
