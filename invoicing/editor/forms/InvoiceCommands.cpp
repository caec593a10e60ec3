#include "invoicing/editor/forms/InvoiceCommands.h"

#include <memory>

#include "invoicing/editor/forms/QtEditorWindows.h"
#include "invoicing/editor/forms/TSzamlaForm.h"
#include "invoicing/register/DocumentRegister.h"

namespace kavina::invoicing {

namespace {

void openEditor(const InvoiceCommandContext& c, EditorMode mode, SourceKind source = SourceKind::None) {
    const IniSettings& settings = c.settings();
    QtEditorWindowsOptions windows;
    windows.products.window = {.settings = &settings,
                               .rights = c.currentRights(),
                               .currentUser = c.currentUser(),
                               .now = c.now,
                               .rememberedWarehouse = nullptr,
                               .goodsReceiptInProgress = {}};
    windows.products.desktop = &c.desktop;
    windows.lineSetup = {.editor = products::LineEditor::Invoice,
                         .afterPick = false,
                         .negativeStockAllowed = settings.anyagminusz != 0,
                         .remarkShown = settings.szlistmode != 0,
                         .pricesEnabled = c.currentRights().contains(QLatin1Char('V'))};
    windows.printing = c.printing();
    windows.showPriceGroups = settings.tobbar != 0;
    windows.currentUser = c.currentUser();
    windows.save = c.save;
    // The register's warehouse choice lives as long as the editor's picker.
    auto warehouse = std::make_shared<int>(0);
    windows.products.window.rememberedWarehouse = warehouse.get();
    QtEditorWindows editorWindows(c.parent(), c.data, c.document, c.prompt, windows);
    TSzamlaForm form(c.parent(), c.data, c.document, c.prompt, editorWindows,
                     {.mode = mode,
                      .source = source,
                      .settings = &settings,
                      .rights = c.currentRights(),
                      .currentUser = c.currentUser(),
                      .today = [now = c.now] { return now().date(); }});
    editorWindows.setParent(&form);
    if (!form.start()) return;
    form.exec();
}

// The register in selection mode over the list; the editor opens on the document chosen.
void openFromStored(const InvoiceCommandContext& c, EditorMode mode, SourceKind source, ListKind list) {
    if (!c.documentWindows) return;
    const std::unique_ptr<DocumentWindows> windows = c.documentWindows(c.parent());
    RegisterRequest request;
    request.kind = list;
    request.selection = true;
    if (!openRegister(c.data, *windows, request, c.now().date())) return;
    openEditor(c, mode, source);
}

}  // namespace

void addInvoiceCommands(const AddCommand& add, const InvoiceCommandContext& c) {
    add(QStringLiteral("SzamlaNew"), [c] { openEditor(c, EditorMode::Invoice); });
    add(QStringLiteral("bProformaClick"), [c] { openEditor(c, EditorMode::Proforma); });
    add(QStringLiteral("bEladasClick"), [c] { openEditor(c, EditorMode::CashSale); });
    add(QStringLiteral("bSelejtClick"), [c] { openEditor(c, EditorMode::Scrap); });
    add(QStringLiteral("mJovairClick"),
        [c] { openFromStored(c, EditorMode::Corrective, SourceKind::Replacing, ListKind::Invoices); });
    add(QStringLiteral("Szamlaajanlat"),
        [c] { openFromStored(c, EditorMode::Invoice, SourceKind::Template, ListKind::Offers); });
    add(QStringLiteral("Szamlaszallito"),
        [c] { openFromStored(c, EditorMode::Invoice, SourceKind::Replacing, ListKind::DeliveryNotes); });
    add(QStringLiteral("mSzamlaStornobolClick"),
        [c] { openFromStored(c, EditorMode::Invoice, SourceKind::Template, ListKind::Spoiled); });
    add(QStringLiteral("mSzamlaKorabbibolClick"),
        [c] { openFromStored(c, EditorMode::Invoice, SourceKind::Template, ListKind::Invoices); });
}

}  // namespace kavina::invoicing
