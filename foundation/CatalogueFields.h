#pragma once
// The field constants of every catalogue table, one namespace per table named as its TableId,
// each constant named and spelled exactly as the field (case included), in physical order.
// The catalogue builds its table definitions from these constants, so they cannot drift from
// the tables; everything else names fields through them.
//
//     const QString name = partners.asString(fields::Partner::NEV);
//     settlements.setOrder(fields::Telep::TELEPULES);

#include "foundation/Field.h"

namespace kavina::fields {

namespace Partner {
inline constexpr std::string_view kTable = "Partner.DBF";
inline constexpr Field PARTNERKOD{kTable, "PARTNERKOD"};
inline constexpr Field NEV{kTable, "NEV"};
inline constexpr Field NEV2{kTable, "NEV2"};
inline constexpr Field KAPCSNEV{kTable, "KAPCSNEV"};
inline constexpr Field PCSOPORT{kTable, "PCSOPORT"};
inline constexpr Field IRSZAM{kTable, "IRSZAM"};
inline constexpr Field VAROS{kTable, "VAROS"};
inline constexpr Field UTCA{kTable, "UTCA"};
inline constexpr Field TELJESCIM{kTable, "TELJESCIM"};
inline constexpr Field LEVIR{kTable, "LEVIR"};
inline constexpr Field LEVVAROS{kTable, "LEVVAROS"};
inline constexpr Field LEVUTCA{kTable, "LEVUTCA"};
inline constexpr Field TELEFON{kTable, "TELEFON"};
inline constexpr Field FAX{kTable, "FAX"};
inline constexpr Field EMAIL{kTable, "EMAIL"};
inline constexpr Field ADOSZAM{kTable, "ADOSZAM"};
inline constexpr Field BANKFIOK{kTable, "BANKFIOK"};
inline constexpr Field BANKSZAMLA{kTable, "BANKSZAMLA"};
inline constexpr Field FIZMOD{kTable, "FIZMOD"};
inline constexpr Field ARCSOPORT{kTable, "ARCSOPORT"};
inline constexpr Field OSSZESBIZF{kTable, "OSSZESBIZF"};
inline constexpr Field OSSZESBIZM{kTable, "OSSZESBIZM"};
inline constexpr Field VONALKOD{kTable, "VONALKOD"};
// The buyer's VAT status for the tax authority's invoice data, one letter of partnerVat below;
// empty in records written before the status existed (read as domestic when ADOSZAM is filled,
// as a private person otherwise).
inline constexpr Field VATSTATUS{kTable, "VATSTATUS"};
// The community (EU) tax number, country code first (ATU12345678).
inline constexpr Field EUVATNUM{kTable, "EUVATNUM"};
}  // namespace Partner

namespace Anyag {
inline constexpr std::string_view kTable = "Anyag.dbf";
inline constexpr Field ANYAGKOD{kTable, "ANYAGKOD"};
inline constexpr Field KATEGORIA{kTable, "KATEGORIA"};
inline constexpr Field ITJSZAM{kTable, "ITJSZAM"};
inline constexpr Field CIKKSZAM{kTable, "CIKKSZAM"};
inline constexpr Field MEGNEVEZES{kTable, "MEGNEVEZES"};
inline constexpr Field EGYSEG{kTable, "EGYSEG"};
inline constexpr Field MENNYISEG{kTable, "MENNYISEG"};
inline constexpr Field MINMENNY{kTable, "MINMENNY"};
inline constexpr Field BESZERZAR{kTable, "BESZERZAR"};
inline constexpr Field AR1{kTable, "AR1"};
inline constexpr Field AR2{kTable, "AR2"};
inline constexpr Field AR3{kTable, "AR3"};
inline constexpr Field SZ1{kTable, "SZ1"};
inline constexpr Field SZ2{kTable, "SZ2"};
inline constexpr Field SZ3{kTable, "SZ3"};
inline constexpr Field AFAKULCS{kTable, "AFAKULCS"};
inline constexpr Field MEGJEGYZES{kTable, "MEGJEGYZES"};
inline constexpr Field LISTA{kTable, "LISTA"};
inline constexpr Field NINCSANYAG{kTable, "NINCSANYAG"};
inline constexpr Field KEP{kTable, "KEP"};
inline constexpr Field TERMEK{kTable, "TERMEK"};
inline constexpr Field KEVES{kTable, "KEVES"};
inline constexpr Field FIXAR{kTable, "FIXAR"};
inline constexpr Field bar1{kTable, "bar1"};
inline constexpr Field bar2{kTable, "bar2"};
inline constexpr Field bar3{kTable, "bar3"};
inline constexpr Field bfixar{kTable, "bfixar"};
inline constexpr Field bbesz{kTable, "bbesz"};
inline constexpr Field szavatossag{kTable, "szavatossag"};
inline constexpr Field VONALKOD{kTable, "VONALKOD"};
}  // namespace Anyag

namespace Kategoria {
inline constexpr std::string_view kTable = "Kategoria.dbf";
inline constexpr Field KATEGORIA{kTable, "KATEGORIA"};
}  // namespace Kategoria

namespace PCsoport {
inline constexpr std::string_view kTable = "PCsoport.dbf";
inline constexpr Field PCSOPORT{kTable, "PCSOPORT"};
}  // namespace PCsoport

namespace Telep {
inline constexpr std::string_view kTable = "Telep.dbf";
inline constexpr Field TELEPULES{kTable, "TELEPULES"};
inline constexpr Field IRSZAM{kTable, "IRSZAM"};
}  // namespace Telep

namespace Fizmod {
inline constexpr std::string_view kTable = "Fizmod.dbf";
inline constexpr Field FIZMOD{kTable, "FIZMOD"};
inline constexpr Field HATARIDO{kTable, "HATARIDO"};
// The tax authority's payment method: TRANSFER, CASH, CARD, VOUCHER or OTHER.
inline constexpr Field NAVPAYMENT{kTable, "NAVPAYMENT"};
}  // namespace Fizmod

namespace Szamla {
inline constexpr std::string_view kTable = "Szamla.dbf";
inline constexpr Field AJANLSZAM{kTable, "AJANLSZAM"};
inline constexpr Field SZAMLASZAM{kTable, "SZAMLASZAM"};
inline constexpr Field GARANCIASZ{kTable, "GARANCIASZ"};
inline constexpr Field SZAMLATIP{kTable, "SZAMLATIP"};
inline constexpr Field ALLAPOT{kTable, "ALLAPOT"};
inline constexpr Field PARTNERKOD{kTable, "PARTNERKOD"};
inline constexpr Field NEV{kTable, "NEV"};
inline constexpr Field NEV1{kTable, "NEV1"};
inline constexpr Field IRSZAM{kTable, "IRSZAM"};
inline constexpr Field VAROS{kTable, "VAROS"};
inline constexpr Field CIM{kTable, "CIM"};
inline constexpr Field FIZMOD{kTable, "FIZMOD"};
inline constexpr Field KIALLIT{kTable, "KIALLIT"};
inline constexpr Field TELJESIT{kTable, "TELJESIT"};
inline constexpr Field FIZHAT{kTable, "FIZHAT"};
inline constexpr Field TARGY{kTable, "TARGY"};
inline constexpr Field AFAALAP{kTable, "AFAALAP"};
inline constexpr Field AFA{kTable, "AFA"};
inline constexpr Field AFAFT{kTable, "AFAFT"};
inline constexpr Field FIZETENDO{kTable, "FIZETENDO"};
inline constexpr Field FIZETVE{kTable, "FIZETVE"};
inline constexpr Field FIZDATUM{kTable, "FIZDATUM"};
inline constexpr Field ARCSOPORT{kTable, "ARCSOPORT"};
inline constexpr Field KEDVEZMENY{kTable, "KEDVEZMENY"};
inline constexpr Field UGYINTEZO{kTable, "UGYINTEZO"};
inline constexpr Field PRINT{kTable, "PRINT"};
inline constexpr Field MEGJEGYZES{kTable, "MEGJEGYZES"};
inline constexpr Field PNEV{kTable, "PNEV"};
inline constexpr Field POSSZEG{kTable, "POSSZEG"};
inline constexpr Field PFIZETVE{kTable, "PFIZETVE"};
inline constexpr Field PEGYEB{kTable, "PEGYEB"};
inline constexpr Field TELJESCIM{kTable, "TELJESCIM"};
inline constexpr Field szlnetto{kTable, "szlnetto"};
inline constexpr Field szlbrutto{kTable, "szlbrutto"};
// The buyer as the document was issued to it, kept by the save of invoices, corrective
// invoices and proformas: its tax number, its EU tax number and its VAT status (a letter of
// partnerVat), so that the invoice data and a reprint never follow later changes of the partner.
inline constexpr Field BUYERTAX{kTable, "BUYERTAX"};
inline constexpr Field BUYEREU{kTable, "BUYEREU"};
inline constexpr Field BUYERSTAT{kTable, "BUYERSTAT"};
// A corrective invoice: the number of the invoice it corrects in the end (the first invoice of
// a chain of corrections), which its invoice data modifies.
inline constexpr Field BASEINV{kTable, "BASEINV"};
}  // namespace Szamla

namespace Szamla2 {
inline constexpr std::string_view kTable = "Szamla2.dbf";
inline constexpr Field SZAMLASZAM{kTable, "SZAMLASZAM"};
inline constexpr Field ANYAGSZAM{kTable, "ANYAGSZAM"};
inline constexpr Field MENNYISEG{kTable, "MENNYISEG"};
inline constexpr Field EGYSEG{kTable, "EGYSEG"};
inline constexpr Field AR1{kTable, "AR1"};
inline constexpr Field AR2{kTable, "AR2"};
inline constexpr Field AR3{kTable, "AR3"};
inline constexpr Field ARE{kTable, "ARE"};
inline constexpr Field EGYSEGAR{kTable, "EGYSEGAR"};
inline constexpr Field ITJSZAM{kTable, "ITJSZAM"};
inline constexpr Field MEGNEVEZES{kTable, "MEGNEVEZES"};
inline constexpr Field NETTOAR{kTable, "NETTOAR"};
inline constexpr Field AFA{kTable, "AFA"};
inline constexpr Field AFAFT{kTable, "AFAFT"};
inline constexpr Field OSSZESEN{kTable, "OSSZESEN"};
inline constexpr Field ARCSOPORT{kTable, "ARCSOPORT"};
inline constexpr Field TERMEK{kTable, "TERMEK"};
inline constexpr Field MEGJEGYZES{kTable, "MEGJEGYZES"};
inline constexpr Field bar1{kTable, "bar1"};
inline constexpr Field bar2{kTable, "bar2"};
inline constexpr Field bar3{kTable, "bar3"};
inline constexpr Field bfixar{kTable, "bfixar"};
inline constexpr Field begysegar{kTable, "begysegar"};
inline constexpr Field bruttoar{kTable, "bruttoar"};
inline constexpr Field cikkszam{kTable, "cikkszam"};
inline constexpr Field nbesz{kTable, "nbesz"};
inline constexpr Field haszon{kTable, "haszon"};
}  // namespace Szamla2

namespace AFA {
inline constexpr std::string_view kTable = "AFA.dbf";
inline constexpr Field AFA{kTable, "AFA"};
inline constexpr Field MEGNEVEZES{kTable, "MEGNEVEZES"};
// What the group is for the tax authority: empty or "P" a percentage (AFA), "E" an exemption,
// "O" out of the scope of VAT; for the last two the case code (AAM, TAM, KBAET, ATK, EUE, HO...)
// and the legal reason printed in the remarks.
inline constexpr Field VATKIND{kTable, "VATKIND"};
inline constexpr Field VATCASE{kTable, "VATCASE"};
inline constexpr Field VATREASON{kTable, "VATREASON"};
}  // namespace AFA

namespace Egyseg {
inline constexpr std::string_view kTable = "Egyseg.dbf";
inline constexpr Field EGYSEG{kTable, "EGYSEG"};
// The tax authority's unit (PIECE, KILOGRAM, HOUR...), or OWN, when EGYSEG goes as its own name.
inline constexpr Field NAVUNIT{kTable, "NAVUNIT"};
}  // namespace Egyseg

namespace Garancia {
inline constexpr std::string_view kTable = "garancia.dbf";
inline constexpr Field SORSZAM{kTable, "SORSZAM"};
inline constexpr Field SZAMLASZAM{kTable, "SZAMLASZAM"};
inline constexpr Field PARTNERKOD{kTable, "PARTNERKOD"};
inline constexpr Field NEV{kTable, "NEV"};
inline constexpr Field NEV1{kTable, "NEV1"};
inline constexpr Field IRSZ{kTable, "IRSZ"};
inline constexpr Field VAROS{kTable, "VAROS"};
inline constexpr Field CIM{kTable, "CIM"};
inline constexpr Field UGYINTEZO{kTable, "UGYINTEZO"};
inline constexpr Field VASARLAS{kTable, "VASARLAS"};
inline constexpr Field GARKEZD{kTable, "GARKEZD"};
inline constexpr Field GARLEJAR{kTable, "GARLEJAR"};
inline constexpr Field TULJAV{kTable, "TULJAV"};
}  // namespace Garancia

namespace Garancia2 {
inline constexpr std::string_view kTable = "garancia2.DBF";
inline constexpr Field SORSZAM{kTable, "SORSZAM"};
inline constexpr Field ANYAGKOD{kTable, "ANYAGKOD"};
inline constexpr Field MEGNEVEZES{kTable, "MEGNEVEZES"};
inline constexpr Field GYARISZAM{kTable, "GYARISZAM"};
inline constexpr Field MENNYISEG{kTable, "MENNYISEG"};
inline constexpr Field EGYSEG{kTable, "EGYSEG"};
inline constexpr Field NETTO_AR{kTable, "NETTO_AR"};
}  // namespace Garancia2

namespace Arcsoport {
inline constexpr std::string_view kTable = "arcsoport.dbf";
inline constexpr Field ID{kTable, "ID"};
inline constexpr Field ARCSOPORT{kTable, "ARCSOPORT"};
}  // namespace Arcsoport

namespace Munkalap {
inline constexpr std::string_view kTable = "munkalap.dbf";
inline constexpr Field SORSZAM{kTable, "SORSZAM"};
inline constexpr Field DATUM{kTable, "DATUM"};
inline constexpr Field NEV{kTable, "NEV"};
inline constexpr Field NEV1{kTable, "NEV1"};
inline constexpr Field IRSZAM{kTable, "IRSZAM"};
inline constexpr Field VAROS{kTable, "VAROS"};
inline constexpr Field CIM{kTable, "CIM"};
inline constexpr Field TEL{kTable, "TEL"};
inline constexpr Field KAPCST{kTable, "KAPCST"};
inline constexpr Field UGYINT{kTable, "UGYINT"};
inline constexpr Field ERKEZETT{kTable, "ERKEZETT"};
inline constexpr Field TAVOZOTT{kTable, "TAVOZOTT"};
inline constexpr Field MUNKAORA{kTable, "MUNKAORA"};
inline constexpr Field UTIDO{kTable, "UTIDO"};
inline constexpr Field KILOMETER{kTable, "KILOMETER"};
inline constexpr Field RENDSZAM{kTable, "RENDSZAM"};
inline constexpr Field UTKOLTSEG{kTable, "UTKOLTSEG"};
inline constexpr Field SZALLASKTS{kTable, "SZALLASKTS"};
inline constexpr Field SZALLHELY{kTable, "SZALLHELY"};
inline constexpr Field EGYEBKTS{kTable, "EGYEBKTS"};
inline constexpr Field EGYEB{kTable, "EGYEB"};
inline constexpr Field HIBA{kTable, "HIBA"};
inline constexpr Field MUNKA{kTable, "MUNKA"};
}  // namespace Munkalap

namespace Raktar {
inline constexpr std::string_view kTable = "raktar.dbf";
inline constexpr Field AZON{kTable, "AZON"};
inline constexpr Field MEGNEVEZES{kTable, "MEGNEVEZES"};
inline constexpr Field CIM{kTable, "CIM"};
}  // namespace Raktar

namespace Akcio {
inline constexpr std::string_view kTable = "akcio.dbf";
inline constexpr Field kod{kTable, "kod"};
inline constexpr Field mettol{kTable, "mettol"};
inline constexpr Field meddig{kTable, "meddig"};
inline constexpr Field bruttoar{kTable, "bruttoar"};
}  // namespace Akcio

namespace Tranzakcio {
inline constexpr std::string_view kTable = "tranzakcio.dbf";
inline constexpr Field cikkszam{kTable, "cikkszam"};
inline constexpr Field tipus{kTable, "tipus"};
inline constexpr Field datum{kTable, "datum"};
inline constexpr Field ido{kTable, "ido"};
inline constexpr Field bizonylat{kTable, "bizonylat"};
inline constexpr Field partner{kTable, "partner"};
inline constexpr Field tetel{kTable, "tetel"};
inline constexpr Field mennyiseg{kTable, "mennyiseg"};
inline constexpr Field ugyintezo{kTable, "ugyintezo"};
}  // namespace Tranzakcio

namespace Vonalkod {
inline constexpr std::string_view kTable = "vonalkod.dbf";
inline constexpr Field megnevezes{kTable, "megnevezes"};
inline constexpr Field me{kTable, "me"};
inline constexpr Field vonalkod{kTable, "vonalkod"};
inline constexpr Field kep{kTable, "kep"};
}  // namespace Vonalkod

namespace User {
inline constexpr std::string_view kTable = "user.dbf";
inline constexpr Field USER1{kTable, "USER1"};
inline constexpr Field USER2{kTable, "USER2"};
inline constexpr Field CIM{kTable, "CIM"};
inline constexpr Field TELEFON{kTable, "TELEFON"};
inline constexpr Field ADOSZAM{kTable, "ADOSZAM"};
inline constexpr Field SZAMLASZAM{kTable, "SZAMLASZAM"};
inline constexpr Field VALLALK_IG{kTable, "VALLALK_IG"};
inline constexpr Field WEBLAP{kTable, "WEBLAP"};
inline constexpr Field EMAIL{kTable, "EMAIL"};
inline constexpr Field LABLEC1{kTable, "LABLEC1"};
inline constexpr Field LABLEC2{kTable, "LABLEC2"};
inline constexpr Field LABSZAMLA{kTable, "LABSZAMLA"};
inline constexpr Field LABAJANLAT{kTable, "LABAJANLAT"};
inline constexpr Field LABSZALL{kTable, "LABSZALL"};
inline constexpr Field LABGARANC{kTable, "LABGARANC"};
inline constexpr Field LABMUNKA{kTable, "LABMUNKA"};
inline constexpr Field LABARLISTA{kTable, "LABARLISTA"};
inline constexpr Field LABPARTNER{kTable, "LABPARTNER"};
inline constexpr Field LAPLABLEC{kTable, "LAPLABLEC"};
inline constexpr Field LOGOKEP{kTable, "LOGOKEP"};
inline constexpr Field MEGJEGYZES{kTable, "MEGJEGYZES"};
inline constexpr Field HATARIDO{kTable, "HATARIDO"};
inline constexpr Field SZORZO1{kTable, "SZORZO1"};
inline constexpr Field SZORZO2{kTable, "SZORZO2"};
inline constexpr Field SZORZO3{kTable, "SZORZO3"};
inline constexpr Field PARTNERKOD{kTable, "PARTNERKOD"};
inline constexpr Field ANYAGKOD{kTable, "ANYAGKOD"};
inline constexpr Field SZAMLASZ{kTable, "SZAMLASZ"};
inline constexpr Field AJANLATSZ{kTable, "AJANLATSZ"};
inline constexpr Field MUNKASZ{kTable, "MUNKASZ"};
inline constexpr Field GARLEVSZAM{kTable, "GARLEVSZAM"};
inline constexpr Field SZLEVSZ{kTable, "SZLEVSZ"};
inline constexpr Field VISSZA{kTable, "VISSZA"};
inline constexpr Field SELEJT{kTable, "SELEJT"};
inline constexpr Field MEGRENDELO{kTable, "MEGRENDELO"};
inline constexpr Field IDEIGLENES{kTable, "IDEIGLENES"};
inline constexpr Field ELOLEG{kTable, "ELOLEG"};
inline constexpr Field PROFORMA{kTable, "PROFORMA"};
inline constexpr Field PKIF{kTable, "PKIF"};
inline constexpr Field JOVAIR{kTable, "JOVAIR"};
inline constexpr Field DEFUSER{kTable, "DEFUSER"};
inline constexpr Field DEFUSERN{kTable, "DEFUSERN"};
inline constexpr Field SELOTAG{kTable, "SELOTAG"};
inline constexpr Field SUTOTAG{kTable, "SUTOTAG"};
inline constexpr Field SELO{kTable, "SELO"};
inline constexpr Field SUTO{kTable, "SUTO"};
inline constexpr Field AELO{kTable, "AELO"};
inline constexpr Field AUTO{kTable, "AUTO"};
inline constexpr Field FELO{kTable, "FELO"};
inline constexpr Field FUTO{kTable, "FUTO"};
inline constexpr Field GELO{kTable, "GELO"};
inline constexpr Field GUTO{kTable, "GUTO"};
inline constexpr Field MELO{kTable, "MELO"};
inline constexpr Field MUTO{kTable, "MUTO"};
inline constexpr Field PRNSZAMLA{kTable, "PRNSZAMLA"};
inline constexpr Field PRNAJANLAT{kTable, "PRNAJANLAT"};
inline constexpr Field PRNMUNKA{kTable, "PRNMUNKA"};
inline constexpr Field PRNGARANC{kTable, "PRNGARANC"};
inline constexpr Field PRNSZL{kTable, "PRNSZL"};
}  // namespace User

namespace Jogok {
inline constexpr std::string_view kTable = "Jogok.dbf";
inline constexpr Field FELHASZNAL{kTable, "FELHASZNAL"};
inline constexpr Field JELSZO{kTable, "JELSZO"};
inline constexpr Field JOGOSULT{kTable, "JOGOSULT"};
inline constexpr Field DATUM{kTable, "DATUM"};
inline constexpr Field JDATUM{kTable, "JDATUM"};
inline constexpr Field ajanlat{kTable, "ajanlat"};
inline constexpr Field szamla{kTable, "szamla"};
inline constexpr Field arlista{kTable, "arlista"};
inline constexpr Field partner{kTable, "partner"};
inline constexpr Field anyag{kTable, "anyag"};
inline constexpr Field garancia{kTable, "garancia"};
inline constexpr Field szerviz{kTable, "szerviz"};
inline constexpr Field JOGOK{kTable, "JOGOK"};
}  // namespace Jogok

namespace Userlog {
inline constexpr std::string_view kTable = "userlog.dbf";
inline constexpr Field USER{kTable, "USER"};
inline constexpr Field DATE{kTable, "DATE"};
inline constexpr Field TIME{kTable, "TIME"};
}  // namespace Userlog

namespace Tmp1 {
inline constexpr std::string_view kTable = "tmp1.dbf";
inline constexpr Field SZAMLASZAM{kTable, "SZAMLASZAM"};
inline constexpr Field NEV{kTable, "NEV"};
inline constexpr Field CIM{kTable, "CIM"};
inline constexpr Field FIZMOD{kTable, "FIZMOD"};
inline constexpr Field KIALLIT{kTable, "KIALLIT"};
inline constexpr Field FIZETVE{kTable, "FIZETVE"};
inline constexpr Field UGYINTEZO{kTable, "UGYINTEZO"};
inline constexpr Field MEGJEGYZES{kTable, "MEGJEGYZES"};
inline constexpr Field FIZETENDO{kTable, "FIZETENDO"};
}  // namespace Tmp1

namespace Tmp2 {
inline constexpr std::string_view kTable = "tmp2.dbf";
inline constexpr Field SZAMLASZAM{kTable, "SZAMLASZAM"};
inline constexpr Field MENNYISEG{kTable, "MENNYISEG"};
inline constexpr Field EGYSEG{kTable, "EGYSEG"};
inline constexpr Field EGYSEGAR{kTable, "EGYSEGAR"};
inline constexpr Field ITJSZAM{kTable, "ITJSZAM"};
inline constexpr Field MEGNEVEZES{kTable, "MEGNEVEZES"};
inline constexpr Field TERMEK{kTable, "TERMEK"};
inline constexpr Field MEGJEGYZES{kTable, "MEGJEGYZES"};
}  // namespace Tmp2

// The queue of the tax authority's invoice data (NavQueue.dbf): one row per invoice data, written
// in state W by the save or cancellation of the document in the same transaction, so no stored
// invoice lacks its row; the sender moves it on.
//   INVNUMBER  the invoice data's own invoice number (a storno: the cancelled number + "-S")
//   OPERATION  CREATE, MODIFY or STORNO
//   BASENUMBER MODIFY/STORNO: the number of the invoice modified (empty for CREATE)
//   MODINDEX   MODIFY/STORNO: the modification index, from 1 per base invoice, never reused
//   STATE      W waiting, S sent, D done, DW done with warnings, A aborted (navQueueState)
//   TRANSID    the transaction id the authority gave the batch
//   XML        the exact invoiceData XML (UTF-8) that is sent, validated before it was kept
//   XMLHASH    upper-case hex SHA3-512 of XML's bytes
//   CREATED    when the row was written; SENT when its batch went; FINISHED when the state
//              became final (D, DW or A)
//   MESSAGES   the authority's messages on it, one a line
//   BATCHIDX   the row's index inside its batch (1..100)
namespace NavQueue {
inline constexpr std::string_view kTable = "NavQueue.dbf";
inline constexpr Field INVNUMBER{kTable, "INVNUMBER"};
inline constexpr Field OPERATION{kTable, "OPERATION"};
inline constexpr Field BASENUMBER{kTable, "BASENUMBER"};
inline constexpr Field MODINDEX{kTable, "MODINDEX"};
inline constexpr Field STATE{kTable, "STATE"};
inline constexpr Field TRANSID{kTable, "TRANSID"};
inline constexpr Field XML{kTable, "XML"};
inline constexpr Field XMLHASH{kTable, "XMLHASH"};
inline constexpr Field CREATED{kTable, "CREATED"};
inline constexpr Field SENT{kTable, "SENT"};
inline constexpr Field FINISHED{kTable, "FINISHED"};
inline constexpr Field MESSAGES{kTable, "MESSAGES"};
inline constexpr Field BATCHIDX{kTable, "BATCHIDX"};
}  // namespace NavQueue

// The short codes stored in the fields above.
namespace partnerVat {
inline constexpr char Domestic = 'D';
inline constexpr char PrivatePerson = 'P';
inline constexpr char Eu = 'E';
inline constexpr char Other = 'O';
}  // namespace partnerVat

namespace navQueueState {
inline constexpr std::string_view Waiting = "W";
inline constexpr std::string_view Sent = "S";
inline constexpr std::string_view Done = "D";
inline constexpr std::string_view DoneWithWarnings = "DW";
inline constexpr std::string_view Aborted = "A";
}  // namespace navQueueState

}  // namespace kavina::fields
