#pragma once
// The storno dialog ("Stornó") and the spoil dialog ("Rontott"): a document chosen by its
// number or in the register, or handed over by the register, is cancelled on "&Rendben".
#include <QDialog>
#include <optional>

#include "documents/sales/Cancellation.h"
#include "documents/sales/forms/DocumentPickBox.h"

namespace kavina::documents {

class CancelDialog : public QDialog {
    Q_OBJECT

public:
    // handedOver: the register's current document; otherwise the dialog opens empty.
    CancelDialog(QWidget* parent, DocumentCancellation& cancellation, CancelMode mode, CancelKind kind, Prompt& prompt,
                 CancelCopyPrinter& printer, DocumentPickBox::Choose chooseInRegister,
                 std::optional<DocumentSummary> handedOver = std::nullopt);

    // The header line over the box: the storno's by mode, or the spoil dialog's.
    static QString headerText(CancelMode mode, CancelKind kind, bool fromRegister);

    DocumentPickBox* pickBox() const { return m_box; }

private:
    void confirm();

    DocumentCancellation& m_cancellation;
    CancelMode m_mode;
    CancelKind m_kind;
    Prompt& m_prompt;
    CancelCopyPrinter& m_printer;
    DocumentPickBox* m_box;
};

}  // namespace kavina::documents
