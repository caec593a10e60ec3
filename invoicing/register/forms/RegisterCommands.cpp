#include "invoicing/register/forms/RegisterCommands.h"

#include <QWidget>

#include "invoicing/register/forms/InvoiceReprintWindow.h"

namespace kavina::invoicing {

RegisterOptions registerOptions(const RegisterCommandContext& c) {
    const IniSettings& settings = c.settings();
    RegisterOptions options;
    options.today = c.today;
    options.now = [] { return QDateTime::currentDateTime(); };
    options.currentUser = c.currentUser();
    options.colourRows = settings.colorgrid == 1;
    options.szlistmode = settings.szlistmode;
    options.bfont = settings.bfont;
    options.overlays = loadOverlayPictures(c.programFolder);
    return options;
}

namespace {

// caption: the window's, when it is not the list's own.
void addList(const AddCommand& add, const RegisterCommandContext& c, const char* handler, ListKind kind,
             const QString& caption = {}) {
    add(QString::fromLatin1(handler), [c, kind, caption] {
        const std::unique_ptr<QtDocumentWindows> windows = makeDocumentWindows(c.parent(), c);
        RegisterRequest request;
        request.kind = kind;
        request.caption = caption;
        openRegister(c.data, *windows, request, c.today());
    });
}

}  // namespace

std::unique_ptr<QtDocumentWindows> makeDocumentWindows(QWidget* parent, const RegisterCommandContext& c) {
    return std::make_unique<QtDocumentWindows>(
        parent, DocumentWindowsContext{c.data, c.prompt, c.settings(), registerOptions(c), c.printer});
}

void addRegisterCommands(const AddCommand& add, const RegisterCommandContext& c) {
    addList(add, c, "SzamlakMenu", ListKind::Invoices);
    addList(add, c, "mProformaClick", ListKind::Proformas);
    addList(add, c, "mSzamlakFizetetlenClick", ListKind::Unpaid);
    addList(add, c, "mEladasokClick", ListKind::CashSales);
    addList(add, c, "bKifizetClick", ListKind::CashPayouts, QStringLiteral("Pénztárgépes kifizetések"));
    addList(add, c, "AjanlatokMenu", ListKind::Offers);
    addList(add, c, "mSzallitokClick", ListKind::DeliveryNotes);
    addList(add, c, "m_bevetelezesekClick", ListKind::GoodsReceipts);
    addList(add, c, "mVisszarukClick", ListKind::Returns);
    addList(add, c, "mMegrendelesekClick", ListKind::SupplierOrders, QStringLiteral("Megrendelések"));
    addList(add, c, "mSelejtekClick", ListKind::Scrap, QStringLiteral("Selejtezések"));
    add(QStringLiteral("mSzervizSzamlaPrintClick"), [c] {
        const std::unique_ptr<QtDocumentWindows> windows = makeDocumentWindows(c.parent(), c);
        InvoiceReprint reprint(c.data, c.prompt, *windows, registerOptions(c));
        InvoiceReprintWindow window(c.parent(), c.data, c.prompt, reprint);
        window.exec();
        if (window.chosen()) reprint.printChosen();
    });
}

}  // namespace kavina::invoicing
