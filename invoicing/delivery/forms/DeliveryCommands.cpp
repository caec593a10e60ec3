#include "invoicing/delivery/forms/DeliveryCommands.h"

#include "invoicing/delivery/forms/QtDeliveryWindows.h"
#include "invoicing/delivery/forms/Tszlevelform.h"
#include "invoicing/register/DocumentRegister.h"

namespace kavina::invoicing {

namespace {

products::LineEditor lineEditorOf(DeliveryKind kind) {
    switch (kind) {
        case DeliveryKind::GoodsReceipt: return products::LineEditor::GoodsReceipt;
        case DeliveryKind::Return: return products::LineEditor::Return;
        case DeliveryKind::SupplierOrder: return products::LineEditor::SupplierOrder;
        case DeliveryKind::CashPayout: return products::LineEditor::CashPayout;
        case DeliveryKind::Offer: return products::LineEditor::Offer;
        case DeliveryKind::DeliveryNote: break;
    }
    return products::LineEditor::DeliveryNote;
}

void openEditor(const InvoiceCommandContext& c, DeliveryKind kind, bool reissue = false) {
    const IniSettings& settings = c.settings();
    QtDeliveryWindowsOptions windows;
    windows.editor.products.window = {
        .settings = &settings,
        .rights = c.currentRights(),
        .currentUser = c.currentUser(),
        .now = c.now,
        .rememberedWarehouse = nullptr,
        // A receipt made here brings the quantity in: the register's receiving changes prices only.
        .goodsReceiptInProgress = [kind] { return kind == DeliveryKind::GoodsReceipt; }};
    windows.editor.products.desktop = &c.desktop;
    windows.editor.lineSetup = {.editor = lineEditorOf(kind),
                                .afterPick = false,
                                .negativeStockAllowed = settings.anyagminusz != 0,
                                .remarkShown = settings.szlistmode != 0,
                                .pricesEnabled = c.currentRights().contains(QLatin1Char('V'))};
    windows.editor.printing = c.printing();
    windows.editor.showPriceGroups = settings.tobbar != 0;
    windows.editor.currentUser = c.currentUser();
    windows.editor.save = c.save;
    windows.editor.pickerMode = products::CallerMode::DeliveryOrOffer;
    windows.editor.deliveryNotePartner = kind != DeliveryKind::Offer;
    windows.editor.offerPartner = kind == DeliveryKind::Offer;
    windows.today = [now = c.now] { return now().date(); };
    windows.documentWindows = c.documentWindows;
    auto warehouse = std::make_shared<int>(0);
    windows.editor.products.window.rememberedWarehouse = warehouse.get();
    QtDeliveryWindows deliveryWindows(c.parent(), c.data, c.document, c.prompt, windows);
    Tszlevelform form(c.parent(), c.data, c.document, c.prompt, deliveryWindows,
                      {.kind = kind,
                       .reissue = reissue,
                       .settings = &settings,
                       .currentUser = c.currentUser(),
                       .today = [now = c.now] { return now().date(); }});
    deliveryWindows.setParent(&form);
    if (!form.start()) return;
    form.exec();
}

// The register over this year's cancelled delivery notes; the editor opens on the one chosen.
void reissue(const InvoiceCommandContext& c) {
    if (!c.documentWindows) return;
    const std::unique_ptr<DocumentWindows> windows = c.documentWindows(c.parent());
    RegisterRequest request;
    request.kind = ListKind::CancelledDeliveryNotes;
    request.caption = QStringLiteral("Kérem válasszon...");
    request.selection = true;
    if (!openRegister(c.data, *windows, request, c.now().date())) return;
    openEditor(c, DeliveryKind::DeliveryNote, true);
}

// "Módosítás": this year's offers in the register; the editor opens on the one chosen and
// replaces it under its number.
void modifyOffer(const InvoiceCommandContext& c) {
    if (!c.documentWindows) return;
    const std::unique_ptr<DocumentWindows> windows = c.documentWindows(c.parent());
    RegisterRequest request;
    request.kind = ListKind::Offers;
    request.caption = QStringLiteral("Árajánlatok");
    request.selection = true;
    if (!openRegister(c.data, *windows, request, c.now().date())) return;
    openEditor(c, DeliveryKind::Offer, true);
}

}  // namespace

void addDeliveryCommands(const AddCommand& add, const InvoiceCommandContext& c) {
    add(QStringLiteral("mUjSzallitoClick"), [c] { openEditor(c, DeliveryKind::DeliveryNote); });
    add(QStringLiteral("bBevetelClick"), [c] { openEditor(c, DeliveryKind::GoodsReceipt); });
    add(QStringLiteral("bVisszaruClick"), [c] { openEditor(c, DeliveryKind::Return); });
    add(QStringLiteral("bMegrendelesClick"), [c] { openEditor(c, DeliveryKind::SupplierOrder); });
    add(QStringLiteral("bKifizetesClick"), [c] { openEditor(c, DeliveryKind::CashPayout); });
    add(QStringLiteral("mSzallitoStornobolClick"), [c] { reissue(c); });
    add(QStringLiteral("AjanlatNew"), [c] { openEditor(c, DeliveryKind::Offer); });
    add(QStringLiteral("mModAjanlatClick"), [c] { modifyOffer(c); });
}

}  // namespace kavina::invoicing
