#include "shell/Rights.h"

#include "foundation/RecordCursor.h"
#include "shell/ShellContext.h"

namespace kavina::shell {
namespace {

constexpr int kOlderFormatFieldCount = 12;

}  // namespace

const std::vector<QString>& roles() {
    static const std::vector<QString> list{kRoleAdministrator, kRoleUser, kRoleSuspended};
    return list;
}

const std::vector<RightLetter>& rightLetters() {
    static const std::vector<RightLetter> letters{
        {QChar('A'), QStringLiteral("Ajánlat")},
        {QChar('B'), QStringLiteral("Számla")},
        {QChar('F'), QStringLiteral("Szállító")},
        {QChar('M'), QStringLiteral("Megrendelő")},
        {QChar('P'), QStringLiteral("Proforma")},
        {QChar('1'), QStringLiteral("Pénztárgépes értékesítés")},
        {QChar('3'), QStringLiteral("Bevételezési bizonylat")},
        {QChar('4'), QStringLiteral("Visszáru")},
        {QChar('5'), QStringLiteral("Selejt")},
        {QChar('9'), QStringLiteral("Partnertörzs")},
        {QChar('T'), QStringLiteral("Terméktörzs")},
        {QChar('U'), QStringLiteral("Termék módosítás")},
        {QChar('V'), QStringLiteral("Termék átárazás")},
        {QChar('W'), QStringLiteral("Termék törlés")},
        {QChar('G'), QStringLiteral("Garancia")},
        {QChar('H'), QStringLiteral("Munkalap")},
    };
    return letters;
}

QString rightsOf(const RecordCursor& users) {
    const int field = users.fieldIndex("jogok");
    if (field < 0) return kFullRights;
    return users.asString(field);
}

bool mainWindowRightsApply(const RecordCursor& users) {
    return users.fieldCount() > kOlderFormatFieldCount;
}

QString rightsFromTicks(const std::vector<bool>& ticked) {
    QString rights;
    const auto& letters = rightLetters();
    for (size_t i = 0; i < letters.size() && i < ticked.size(); ++i)
        if (ticked[i]) rights += letters[i].letter;
    return rights;
}

std::vector<bool> ticksOfRights(const QString& rights) {
    std::vector<bool> ticks;
    for (const RightLetter& r : rightLetters()) ticks.push_back(rights.contains(r.letter));
    return ticks;
}

bool administrationEnabled(const QString& role) {
    return role != kRoleUser;
}

const std::vector<Gate>& mainWindowGates() {
    using E = GatedEntry;
    static const std::vector<Gate> gates{
        {E::OfferButton, 'A'},         {E::OfferMenu, 'A'},          {E::OfferList, 'A'},
        {E::InvoiceButtonMenu, 'B'},   {E::InvoiceMenu, 'B'},        {E::InvoiceList, 'B'},
        {E::UnpaidList, 'B'},          {E::DeliveryNoteButton, 'F'}, {E::DeliveryNoteMenu, 'F'},
        {E::DeliveryNoteList, 'F'},    {E::CashSaleButton, '1'},     {E::CashSaleMenu, '1'},
        {E::CashSaleList, '1'},        {E::ReceiptButton, '3'},      {E::ReceiptMenu, '3'},
        {E::ReceiptList, '3'},         {E::ReturnButton, '4'},       {E::ReturnMenu, '4'},
        {E::ReturnList, '4'},          {E::ScrapButton, '5'},        {E::ScrapMenu, '5'},
        {E::ScrapList, '5'},           {E::PartnerButton, '9'},      {E::PartnerMenu, '9'},
        {E::PartnerGroupMenu, '9'},    {E::ProductButton, 'T'},      {E::ProductMenu, 'T'},
        {E::ProductCategoryMenu, 'T'}, {E::WarrantyButton, 'G'},     {E::WarrantyMenu, 'G'},
        {E::WarrantyList, 'G'},        {E::WorksheetButton, 'H'},    {E::WorksheetMenu, 'H'},
        {E::WorksheetList, 'H'},
    };
    return gates;
}

bool gatedEntryEnabled(GatedEntry entry, const Session& session) {
    if (!session.mainWindowRightsApply) return true;
    for (const Gate& gate : mainWindowGates())
        if (gate.entry == entry) return session.hasRight(gate.letter);
    return true;
}

}  // namespace kavina::shell
