#include "invoicing/register/StoredPrint.h"

#include <QDir>

#include "foundation/CatalogueFields.h"
#include "invoicing/document/DocumentKinds.h"
#include "invoicing/print/TSzamlar.h"

namespace kavina::invoicing {

namespace {

namespace U = fields::User;

const QString kCopyLabel = QStringLiteral("Másolat");

void setUpOther(TSzamlar& layout, const QString& title, const QString& number, const QString& date,
                std::optional<Field> footer) {
    layout.setTitle(title);
    layout.setNumberCaption(number);
    layout.setIssueDateCaption(date);
    layout.setFooterField(footer);
}

void setUpDocument(TSzamlar& layout, QChar type, const QString& state, const OverlayPictures& overlays) {
    const QString documentNumber = QStringLiteral("Bizonylat száma");
    const QString documentDate = QStringLiteral("Bizonylat kelte");
    switch (type.unicode()) {
        case type::Offer:
            setUpOther(layout, QStringLiteral("AJÁNLAT "), QStringLiteral("Ajánlat száma"),
                       QStringLiteral("Ajánlat kelte"), U::LABAJANLAT);
            break;
        case type::DeliveryNote:
            setUpOther(layout, QStringLiteral("SZÁLLÍTÓLEVÉL "), documentNumber, documentDate, U::LABSZALL);
            break;
        case type::GoodsReceipt:
            setUpOther(layout, QStringLiteral("BEVÉTELEZÉS "), documentNumber, documentDate, std::nullopt);
            break;
        case type::Return:
            setUpOther(layout, QStringLiteral("VISSZÁRU "), documentNumber, documentDate, std::nullopt);
            break;
        case type::Corrective: layout.setUp(SalesMode::Corrective); break;
        case type::CashSale: layout.setUp(SalesMode::CashSale); break;
        case type::Scrap: layout.setUp(SalesMode::Scrap); break;
        case type::Cancelled:
            layout.setUp(SalesMode::Invoice);
            layout.setOverlay(state.trimmed() == state::Spoiled ? overlays.spoiled : overlays.storno);
            break;
        default: layout.setUp(SalesMode::Invoice); break;
    }
}

bool printsFor(QChar type, StoredPrintUse use) {
    const QString copies = QStringLiteral("ABJFS1");
    const QString previews = QStringLiteral("ABJ1345FS");
    return (use == StoredPrintUse::Copy ? copies : previews).contains(type);
}

}  // namespace

OverlayPictures loadOverlayPictures(const QString& programFolder) {
    const QDir folder(programFolder);
    return {QImage(folder.filePath(QStringLiteral("storno.gif"))),
            QImage(folder.filePath(QStringLiteral("rontott.gif")))};
}

bool setUpStoredPrint(TSzamlar& layout, QChar type, const QString& state, StoredPrintUse use,
                      const OverlayPictures& overlays) {
    if (!printsFor(type, use)) return false;
    setUpDocument(layout, type, state, overlays);
    // The cash-register and scrap set-ups clear the label; they print none anyway.
    if (type != type::CashSale && type != type::Scrap) layout.setCopyLabel(kCopyLabel);
    return true;
}

std::optional<QString> copyQuestion(QChar type) {
    switch (type.unicode()) {
        case type::Offer: return QStringLiteral("Biztos, hogy újra szeretné nyomtatni az árajánlatot?");
        case type::Invoice:
        case type::Corrective: return QStringLiteral("Biztos, hogy újra szeretné nyomtatni a számlát?");
        case type::DeliveryNote: return QStringLiteral("Biztos, hogy újra szeretné nyomtatni a szállítólevelet?");
        case type::Cancelled: return QStringLiteral("Biztos, hogy újra szeretné nyomtatni a stornó számlát?");
        default: return std::nullopt;
    }
}

bool copyRaisesSerialTwice(QChar type) {
    return QStringLiteral("ABJF").contains(type);
}

}  // namespace kavina::invoicing
