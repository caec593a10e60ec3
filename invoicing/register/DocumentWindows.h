#pragma once
// The windows the document register's logic opens, as it opens them: each call shows its
// window modally and returns what the clerk accepted. The Qt implementation is in forms/
// (QtDocumentWindows); tests answer from a script. Messages and questions go through the
// Prompt, never through here.
//
// The register itself is opened through showRegister: a caller (a main-window list, the
// partner register, an editor picking a source document) filters the documents, asks for the
// register, and finds the chosen document current afterwards (openRegister() of
// DocumentRegister.h does the filtering and the clean-up around it).

#include <QString>
#include <optional>

#include "invoicing/register/DocumentList.h"

namespace kavina::report {
class PreparedReport;
}

namespace kavina::invoicing {

// How the register is opened.
struct RegisterRequest {
    ListKind kind = ListKind::Invoices;
    // The window's caption; the header shows it after eight blanks. Empty: the list caption.
    QString caption;
    // The partner register opened it: only that partner's documents.
    std::optional<PartnerKey> partner;
    // "&Választ" is shown and a double click chooses.
    bool selection = false;
    // A double click chooses although "&Választ" is not shown (the delivery-note editor is open).
    bool chooseOnDoubleClick = false;
};

// What the "Üzletkötő" dialog edits on a document.
struct AgentData {
    QString name;     // PNEV
    int64_t fee = 0;  // POSSZEG, forints
    QString remark;   // TARGY
    bool operator==(const AgentData&) const = default;
};

class DocumentWindows {
public:
    virtual ~DocumentWindows() = default;

    // TSzamlak over the documents as the caller filtered them. True when the clerk chose a
    // document ("&Választ" or a double click in selection mode); the documents handle then
    // stands on it.
    virtual bool showRegister(const RegisterRequest& request) = 0;
    // The "Üzletkötő" dialog: the data as accepted with "&Elfogad", or nothing for "&Kilépés".
    virtual std::optional<AgentData> editAgent(const AgentData& data) = 0;
    // The preview window over the pages; pdfName is proposed when they are saved as a PDF.
    virtual void preview(const report::PreparedReport& pages, const QString& pdfName) = 0;
    // Prints the pages once on the printer of the settings, without asking. True when they
    // went out; a failure is told to the clerk here and gives false.
    virtual bool print(const report::PreparedReport& pages, const QString& documentName) = 0;
    // After a command's prints: tells the clerk, once, the files the built-in PDF printer
    // wrote since the last call.
    virtual void printingDone() = 0;
    // The storno dialog ("Stornó") or the spoil dialog ("Rontott", spoil true) over the
    // documents handle's current document. True when the document was cancelled.
    virtual bool cancelCurrent(bool spoil) = 0;
    // The payment dialog ("Befizetve") over the current document. True when a payment was
    // stored.
    virtual bool payCurrent() = 0;
};

}  // namespace kavina::invoicing
