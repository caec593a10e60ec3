#include "products/pickers/PickerProtocol.h"

#include "foundation/CatalogueFields.h"
#include "foundation/RecordEdit.h"
#include "invoicing/document/MemoryDocument.h"
#include "products/pricing/PromotionLookup.h"

namespace kavina::products {

namespace A = fields::Anyag;
namespace L = fields::Szamla2;

int pickPriceGroup(int requested, int tobbar) {
    return tobbar == 0 ? 4 : requested;
}

GroupPrice groupPrice(const RecordCursor& product, int priceGroup) {
    switch (priceGroup) {
        case 1: return {product.asFloat(A::AR1), product.asFloat(A::bar1)};
        case 2: return {product.asFloat(A::AR2), product.asFloat(A::bar2)};
        case 3: return {product.asFloat(A::AR3), product.asFloat(A::bar3)};
        default: return {product.asFloat(A::FIXAR), product.asFloat(A::bfixar)};
    }
}

void fillPickedLine(const RecordCursor& product, RecordCursor& lines, int priceGroup,
                    std::optional<double> promotionGross) {
    GroupPrice price = groupPrice(product, priceGroup);
    if (promotionGross) {
        const PromotionPrices promoted = promotionPrices(*promotionGross, product.asFloat(A::AFAKULCS));
        price = {promoted.net, promoted.gross};
    }
    lines.setFloat(L::EGYSEGAR, price.net);
    lines.setFloat(L::begysegar, price.gross);
    lines.setFloat(L::ANYAGSZAM, product.asFloat(A::ANYAGKOD));
    lines.setString(L::cikkszam, product.asString(A::CIKKSZAM));
    lines.setFloat(L::AFA, product.asFloat(A::AFAKULCS));
    lines.setString(L::EGYSEG, product.asString(A::EGYSEG));
    lines.setString(L::ITJSZAM, product.asString(A::ITJSZAM));
    lines.setString(L::MEGNEVEZES, product.asString(A::MEGNEVEZES));
    lines.setFloat(L::AR1, product.asFloat(A::AR1));
    lines.setFloat(L::AR2, product.asFloat(A::AR2));
    lines.setFloat(L::AR3, product.asFloat(A::AR3));
    lines.setFloat(L::ARE, product.asFloat(A::FIXAR));
    lines.setInteger(L::ARCSOPORT, priceGroup);
    lines.setLogical(L::TERMEK, product.asLogical(A::TERMEK));
    lines.setFloat(L::nbesz, product.asFloat(A::BESZERZAR));
    lines.setFloat(mszamla2Fields::beszerzar, product.asFloat(A::BESZERZAR));
    lines.setFloat(mszamla2Fields::bbesz, product.asFloat(A::bbesz));
}

bool acceptPick(PickerRequest& request, const RecordCursor& product, Prompt& prompt, PickerWindows& windows) {
    if (request.priceGroup < 1 || request.priceGroup > 4) {
        prompt.information(QStringLiteral("Figyelem!"), kMissingPriceGroupMessage);
        return false;
    }
    switch (request.mode) {
        case CallerMode::Register: return false;
        case CallerMode::InvoiceEditor:
        case CallerMode::DeliveryOrOffer: {
            RecordCursor& lines = *request.lines;
            std::optional<double> promotion;
            if (request.promotions) {
                if (const auto running = promotionOn(*request.promotions, product.asFloat(A::ANYAGKOD), request.today))
                    promotion = running->gross;
            }
            RecordEdit change = RecordEdit::edit(lines);
            fillPickedLine(product, lines, request.priceGroup, promotion);
            change.post();
            LineDialogSetup setup = request.lineSetup;
            setup.afterPick = true;
            if (!windows.editLine(lines, setup)) return false;
            break;
        }
        case CallerMode::Warranty:
            if (!windows.pickWarrantyLines(product, request.priceGroup)) return false;
            break;
        case CallerMode::BarcodeBook: break;
    }
    request.chosen = true;
    return true;
}

}  // namespace kavina::products
