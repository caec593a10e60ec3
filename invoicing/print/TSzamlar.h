#pragma once
// TSzamlar, the one print layout of every document of Szamla.dbf: invoices and the other
// sales documents, and the delivery notes, goods receipts, returns, supplier orders and price
// offers, whose editors set their own titles and captions.
//
// It prints the lines of one document, reading the header beside them, from either the stored
// document (the current record of Szamla.dbf and its Szamla2.dbf lines) or the in-memory
// document of an editor. Callers choose the source, set the title, copy label, captions,
// footer field and overlay (or call setUp for a sales mode), then prepare. Each prepare starts
// with an empty VAT summary and a clear italic flag, so every copy of a print starts clean.
#include <QImage>
#include <QString>
#include <memory>

#include "foundation/CatalogueFields.h"
#include "foundation/RecordCursor.h"
#include "report/PreparedReport.h"

namespace kavina {

class MemoryDocument;

// The workstation and run-wide values the layout reads.
struct TSzamlarEnvironment {
    const RecordCursor* settings = nullptr;  // user.dbf on its record
    QString dataFolder;                      // where the settings' logo file (LOGOKEP) lies
    QString currentUser;                     // printed after "Készítette: "
    int szlistmode = 1;                      // 1: lines in two rows with their remark
    int bfont = 7;                           // point size of the lines
};

enum class SalesMode { Invoice, Corrective, Proforma, CashSale, Scrap };

class TSzamlar {
public:
    explicit TSzamlar(TSzamlarEnvironment environment);
    ~TSzamlar();

    // The stored document: the header handle on its record and the lines that belong to it.
    void useStoredDocument(RecordCursor& header, RecordCursor& lines);
    // The in-memory document of an editor (a preview).
    void useMemoryDocument(MemoryDocument& document);

    // Title, captions and footer of a sales mode; cash-register sales and scrap records also
    // print without the buyer and the five boxes.
    void setUp(SalesMode mode);

    void setTitle(const QString& title) { m_title = title; }
    // Rewritten by the type rules as the layout prints.
    void setCopyLabel(const QString& label) { m_copyLabel = label; }
    void setNumberCaption(const QString& caption) { m_numberCaption = caption; }
    void setIssueDateCaption(const QString& caption) { m_issueDateCaption = caption; }
    // The settings field whose rich text prints under the remark; none prints none.
    void setFooterField(std::optional<Field> field) { m_footerField = field; }
    // The storno or spoiled mark over the page header; a null image prints none.
    void setOverlay(const QImage& overlay) { m_overlay = overlay; }
    // The print of a save: the copies note then tells how many copies were printed. Without
    // it (register reprints, previews) the note says the copy is certified.
    void setCopiesPrinted(int copies) { m_copiesPrinted = copies; }
    // The supplier order printed from its editor: no prices.
    void setSupplierOrderForm(bool on) { m_supplierOrderForm = on; }
    // The header field printed as the document's number (goods receipts and returns print the
    // other party's own number); SZAMLASZAM unless set.
    void setNumberField(const Field& field) { m_numberField = field; }
    // The line field of the first column and its heading ("VTSZ/" over "SZJ" unless set).
    void setFirstColumn(const Field& field, const QString& heading) {
        m_firstColumnField = field;
        m_firstColumnHeading = heading;
    }
    // Prints neither the copy label nor the copy serial, whatever the type rules say.
    void setCopyMarksHidden(bool hidden) { m_copyMarksHidden = hidden; }

    // Lays out every page. Throws DbError when the source cannot be read.
    // Requires: a source chosen, the header on a record.
    report::PreparedReport prepare();
    // Whether the last prepare printed an amount rounded to two decimals.
    bool italicFlag() const { return m_italicFlag; }

    // Element texts that callers and tests refer to.
    static const QString kItalicNote;
    static const QString kProgramLabel;
    static const QString kMakerAddress;

private:
    friend struct SzamlarRun;

    TSzamlarEnvironment m_env;
    RecordCursor* m_header = nullptr;
    RecordCursor* m_lines = nullptr;
    MemoryDocument* m_memory = nullptr;
    QString m_title;
    QString m_copyLabel;
    QString m_numberCaption = QStringLiteral("Számla száma:");
    QString m_issueDateCaption = QStringLiteral("A számla kelte:");
    std::optional<Field> m_footerField;
    QImage m_overlay;
    int m_copiesPrinted = 0;
    bool m_supplierOrderForm = false;
    Field m_numberField = fields::Szamla::SZAMLASZAM;
    Field m_firstColumnField = fields::Szamla2::ITJSZAM;
    QString m_firstColumnHeading;
    bool m_copyMarksHidden = false;
    bool m_cashLayout = false;     // cash-register sale and scrap record
    bool m_numberAsField = false;  // scrap record: the number after its caption, apart
    bool m_italicFlag = false;
};

}  // namespace kavina
