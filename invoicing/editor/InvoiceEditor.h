#pragma once
// What the invoice editor (TSzamlaForm) does, apart from drawing it: opening in one of the
// five modes from nothing or from a stored document, the buyer by picker or card code, the
// dates and payment method with their rules, the discount and price group, adding, changing
// and deleting lines, the totals and the change, the remark, the preview and the closing
// question. It builds the in-memory document only; nothing reaches the tables before the save.

#include <QDate>
#include <QString>
#include <functional>

#include "foundation/IniSettings.h"
#include "foundation/Prompt.h"
#include "foundation/TDataModule1.h"
#include "invoicing/document/MemoryDocument.h"
#include "invoicing/editor/DocumentTotals.h"
#include "invoicing/editor/EditorMode.h"
#include "invoicing/editor/EditorWindows.h"

namespace kavina::invoicing {

struct InvoiceEditorOptions {
    EditorMode mode = EditorMode::Invoice;
    SourceKind source = SourceKind::None;
    const IniSettings* settings = nullptr;  // required
    QString rights;                         // CurrentRights
    QString currentUser;
    std::function<QDate()> today;  // required
};

inline const QString kCash = QStringLiteral("Készpénz");
inline const QString kTransfer = QStringLiteral("Átutalás");

class InvoiceEditor {
public:
    InvoiceEditor(TDataModule1& data, MemoryDocument& document, Prompt& prompt, EditorWindows& windows,
                  const InvoiceEditorOptions& options);

    // The opening steps. For a stored source (the current record of Szamla.dbf) false after a
    // message when that document cannot be the source; nothing is then built.
    bool open();

    EditorMode mode() const { return m_options.mode; }
    SourceKind source() const { return m_source; }
    // Rights letter V: the discount and the unit prices may be typed.
    bool mayChangePrices() const { return m_options.rights.contains(QLatin1Char('V')); }
    bool priceGroupsShown() const { return m_options.settings->tobbar != 0; }
    bool startsInPartnerCode() const { return m_options.settings->tsorrend == 2; }

    // ---- the buyer ----
    bool pickPartner();
    bool partnerCodeLeft(const QString& code);

    // ---- dates, payment, discount, price group ----
    // Leaving "Számla kelte:" (or the payment selector): false after its message when the date
    // is before 2000; the delivery date follows an empty one, the due date the rule.
    bool issueDateLeft(const QDate& issued);
    bool deliveryDateLeft(const QDate& delivered);
    bool dueDateLeft(const QDate& due);
    void setPaymentMethod(const QString& method);
    void setDiscount(int percent);
    void setPriceGroup(int group);

    // ---- lines ----
    void addLine();
    void changeLine();
    void deleteLine();

    // ---- totals, change, remark ----
    DocumentTotals recalculate();
    double change() const { return changeDue(m_handedOver, payable()); }
    void setHandedOver(double amount) { m_handedOver = amount; }
    int64_t payable() const;
    void editRemark();

    // "Ideiglenes mentés" and "Mentés visszatöltése". A reloaded document takes this editor's
    // type and number: the mode decides what the save will store, not the file.
    void temporarySave();
    void reload();

    // "Nyomtat [F10]": stores the document; true when it was stored (the editor then closes).
    // After a refusal focus names the box to go to.
    bool save(EditorFocus& focus);

    // "Előnézet": the lines in print order, the totals, the layout over the in-memory document.
    void preview(const RecordCursor& settingsRecord);

    // Closing: asks unless the document was saved; true when the editor may close (the
    // document is then emptied).
    bool close();
    bool saved() const { return m_saved; }

    RecordCursor& header() { return m_doc.mszamla; }
    RecordCursor& lines() { return m_doc.mszamla2; }

private:
    bool acceptSource();
    void copySource();
    void copySourceLines(const QString& number);
    void applyDueDateRule();
    void takePartner();
    void setHeader(const std::function<void(RecordCursor&)>& change);
    double partnerTerm() const;

    TDataModule1& m_data;
    MemoryDocument& m_doc;
    Prompt& m_prompt;
    EditorWindows& m_windows;
    InvoiceEditorOptions m_options;
    SourceKind m_source;
    QString m_sourceNumber;  // of the stored document it was made from
    double m_handedOver = 0;
    bool m_saved = false;
};

}  // namespace kavina::invoicing
