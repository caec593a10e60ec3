#pragma once
// What the delivery-note editor (Tszlevelform) does, apart from drawing it, in each of its
// kinds: opening (from nothing, re-issuing a cancelled delivery note, or modifying a stored
// offer), the partner by picker or code, the issue date rule, the discount and the value boxes,
// the lines through the product picker, loading a supplier order into a goods receipt, the
// temporary save and its reload, the preview, the save and the closing question. It builds the
// in-memory document only; the save (through DeliveryWindows) writes the tables.

#include <QDate>
#include <QString>
#include <functional>
#include <optional>

#include "foundation/IniSettings.h"
#include "foundation/Prompt.h"
#include "foundation/TDataModule1.h"
#include "invoicing/delivery/DeliveryKind.h"
#include "invoicing/delivery/DeliveryWindows.h"
#include "invoicing/document/MemoryDocument.h"

namespace kavina::invoicing {

struct DeliveryEditorOptions {
    DeliveryKind kind = DeliveryKind::DeliveryNote;
    // Re-issue the cancelled delivery note the documents handle stands on; for an offer, modify
    // the stored offer it stands on.
    bool reissue = false;
    const IniSettings* settings = nullptr;  // required
    QString currentUser;
    std::function<QDate()> today;  // required
};

inline const QString kNoIssueDate = QStringLiteral("Kérem, állítsa ki a bizonylat keltét!");
inline const QString kLeaveUnsaved = QStringLiteral("Biztos benne, hogy kilép mentés nélkül a szerkesztésből? ");
inline const QString kLeaveNewOffer =
    QStringLiteral("Biztos benne, hogy kilép mentés nélkül az árajánlat szerkesztéséből? ");
inline const QString kLeaveModifiedOffer = QStringLiteral("Biztos benne, hogy kilép az árajánlat szerkesztéséből? ");

class DeliveryEditor {
public:
    DeliveryEditor(TDataModule1& data, MemoryDocument& document, Prompt& prompt, DeliveryWindows& windows,
                   const DeliveryEditorOptions& options);

    // The opening steps: an empty header (or the re-issued note's), the provisional number,
    // the user, today's dates, cash, price group 4, the totals.
    void open();

    DeliveryKind kind() const { return m_options.kind; }
    bool priceGroupsShown() const { return m_options.settings->tobbar != 0; }
    bool startsInPartnerCode() const { return m_options.settings->tsorrend == 2; }

    // ---- the partner ----
    bool pickPartner();
    bool partnerCodeLeft(const QString& code);

    // ---- header boxes ----
    // Leaving "Sz.levél kelte:": false after its message when the date is before 2000; the
    // delivery date follows an empty one, the due date is the issue date plus the partner's term.
    bool issueDateLeft(const QDate& issued);
    void setDiscount(int percent);
    void setPriceGroup(int group);
    // "Bizonylat:": the other party's own document number.
    void setPartnerNumber(const QString& number);
    // "Nettó érték:" (or a payout's "Bruttó összeg:") and "Bruttó érték:".
    void setSupplierNet(double amount);
    void setSupplierGross(double amount);

    // ---- lines ----
    void addLine();
    void changeLine();
    void deleteLine();
    void editLineRemark();
    void editRemark();

    // "Megrendelő betöltése": the lines of a chosen supplier order at purchase prices, and
    // its partner. False when nothing was chosen.
    bool loadSupplierOrder();

    // "Ideiglenes mentés" and "Mentés visszatöltése"; a reloaded document takes this editor's
    // type and number.
    void temporarySave();
    void reload();

    // An offer's column title: the lines sorted by that column, which stays marked.
    void sortLinesBy(const Field& column);
    std::optional<Field> sortColumn() const { return m_sortColumn; }

    void recalculate();
    // "Előnézet": the lines in print order, the layout of the kind over the in-memory document.
    void preview(const RecordCursor& settingsRecord);
    // "Nyomtat [F10]" / "Mentés [F10]": true when the document was stored.
    bool save(EditorFocus& focus);
    // Asks unless the document was saved; true when the editor may close (the document is then
    // emptied).
    bool close();
    bool saved() const { return m_saved; }
    // The stored offer this editor modifies, when it does.
    const std::optional<ReplacedOffer>& replacedOffer() const { return m_replaced; }

    RecordCursor& header() { return m_doc.mszamla; }
    RecordCursor& lines() { return m_doc.mszamla2; }

private:
    void copyReissued();
    void copyOffer();
    double paymentTerm() const;
    void takePartner(const RecordCursor& partner);
    void setHeader(const std::function<void(RecordCursor&)>& change);
    double partnerTerm() const;
    void showNumber();

    TDataModule1& m_data;
    MemoryDocument& m_doc;
    Prompt& m_prompt;
    DeliveryWindows& m_windows;
    DeliveryEditorOptions m_options;
    bool m_saved = false;
    std::optional<ReplacedOffer> m_replaced;
    std::optional<Field> m_sortColumn;
};

}  // namespace kavina::invoicing
