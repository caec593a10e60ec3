#pragma once
// The partner groups window and the settlements window without their widgets: adding,
// renaming and deleting groups (a rename reaches every partner of the group), and the
// settlements' searches and deletion. Messages and texts go through the Prompt.

#include "documents/partners/PartnerWindows.h"
#include "foundation/Prompt.h"
#include "foundation/TDataModule1.h"

namespace kavina::documents {

class PartnerGroups {
public:
    PartnerGroups(TDataModule1& data, Prompt& prompt) : m_data(data), m_prompt(prompt) {}
    // "Új csoport": an empty answer or cancel adds nothing.
    bool add();
    // "Módosítás": the current name is offered; the new one replaces it in every partner.
    bool modifyCurrent();
    // "Törlés": partners keep the name of a deleted group.
    bool deleteCurrent();

private:
    TDataModule1& m_data;
    Prompt& m_prompt;
};

class Settlements {
public:
    Settlements(TDataModule1& data, Prompt& prompt, PartnerWindows& windows)
        : m_data(data), m_prompt(prompt), m_windows(windows) {}
    // The two search boxes: the first settlement whose postcode (or name) begins with the text.
    void searchPostcode(const QString& text);
    void searchName(const QString& text);
    // "Hozzáadás": the empty dialog; on "&Elfogad" the settlement is appended. True when it was.
    bool add();
    // "Módosítá&s": the dialog on the current settlement; on "&Elfogad" it is stored. True when
    // it was.
    bool modifyCurrent();
    bool deleteCurrent();

private:
    TDataModule1& m_data;
    Prompt& m_prompt;
    PartnerWindows& m_windows;
};

}  // namespace kavina::documents
