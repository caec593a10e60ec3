#pragma once
// What the barcode book ("Vonalkód-könyv") does, apart from drawing it: labels copied from
// products, changed and deleted on the shared handle of vonalkod.dbf, and the label's picture
// opened with the desktop's viewer. A label is a copy: it keeps no link to its product.

#include <QString>
#include <optional>

#include "foundation/Desktop.h"
#include "foundation/Prompt.h"
#include "foundation/TDataModule1.h"

namespace kavina::products {

struct BarcodeLabel {
    QString name;     // megnevezes
    QString unit;     // me
    QString barcode;  // vonalkod
    QString picture;  // kep

    bool operator==(const BarcodeLabel&) const = default;
};

class BarcodeWindows {
public:
    virtual ~BarcodeWindows() = default;
    // The product register as a picker (caller mode 4, price group 1): true when a product was
    // chosen, which the products' shared handle then stands on.
    virtual bool pickProduct() = 0;
    // The label dialog ("Szerkesztés") started from the label; the texts accepted.
    virtual std::optional<BarcodeLabel> editLabel(const BarcodeLabel& start) = 0;
};

inline const QString kLabelDeleteQuestion = QStringLiteral("Biztos benne, hogy  törli a kijelölt tételt? ");

class BarcodeBook {
public:
    BarcodeBook(TDataModule1& data, Prompt& prompt, BarcodeWindows& windows, Desktop& desktop)
        : m_data(data), m_prompt(prompt), m_windows(windows), m_desktop(desktop) {}

    // The window opens: the labels in name order.
    void open();
    // "Új tétel [F5]": a label with the chosen product's name, unit, barcode and picture.
    bool add();
    // "Módosít [F2]": the dialog on the current label; "&Elfogad" stores its texts. Throws
    // RuleError when another workstation deleted the label meanwhile.
    bool modifyCurrent();
    // "Töröl [F8]": asks first.
    bool deleteCurrent();
    // "Képnéző": the current label's picture with the desktop's viewer; only a picture file.
    void showPicture();

private:
    TDataModule1& m_data;
    Prompt& m_prompt;
    BarcodeWindows& m_windows;
    Desktop& m_desktop;
};

}  // namespace kavina::products
