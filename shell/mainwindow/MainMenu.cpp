#include "shell/mainwindow/MainMenu.h"

#include <algorithm>

namespace kavina::shell {

namespace {

MenuEntry item(const QString& caption, const QString& handler = {}, const QString& shortcut = {}) {
    MenuEntry e;
    e.caption = caption;
    e.handler = handler;
    e.shortcut = shortcut;
    return e;
}

MenuEntry sub(const QString& caption, std::vector<MenuEntry> children) {
    MenuEntry e;
    e.caption = caption;
    e.submenu = true;
    e.children = std::move(children);
    return e;
}

MenuEntry top(const QString& name, const QString& caption, std::vector<MenuEntry> children) {
    MenuEntry e = sub(caption, std::move(children));
    e.objectName = name;
    return e;
}

MenuEntry separator() {
    MenuEntry e;
    e.separator = true;
    return e;
}

MenuEntry hidden(MenuEntry e) {
    e.hidden = true;
    return e;
}

MenuEntry right(QChar letter, MenuEntry e) {
    e.gate = Gate::Right;
    e.right = letter;
    return e;
}

MenuEntry gate(Gate g, MenuEntry e) {
    e.gate = g;
    return e;
}

// The invoice entries shared by the toolbar's "   Számla   " and the menu's "&Számla"; the
// template that replaces a spoiled invoice is captioned differently in the two places.
std::vector<MenuEntry> invoiceEntries(const QString& fromCancelledCaption) {
    return {
        item("Új számla", "SzamlaNew"),
        item("Helyesbítő számla", "mJovairClick"),
        item("Proforma számla", "bProformaClick"),
        sub("Számla sablon",
            {
                item("Számla árajánlatból", "Szamlaajanlat"),
                item("Számla szállítólevélből", "Szamlaszallito"),
                item(fromCancelledCaption, "mSzamlaStornobolClick"),
                item("Számla korábbi számlából", "mSzamlaKorabbibolClick"),
            }),
    };
}

std::vector<MenuEntry> invoiceMenu() {
    std::vector<MenuEntry> entries = invoiceEntries("Számla stornó számlából");
    entries.push_back(separator());
    entries.push_back(hidden(item("&Befizetés rögzítése", "mBefizetesClick")));
    entries.push_back(hidden(item("Sto&rnó számla", "mStornoClick")));
    entries.push_back(hidden(item("R&ontott számla", "mRontottClick")));
    entries.push_back(hidden(sub("Kintlévőségek kezelése", {})));
    return entries;
}

MenuEntry fileMenu() {
    return top("fileMenu", "&Fájl",
               {
                   item("Felhasználó váltása", "mSelectUserClick"),
                   item("Aktív felhasználók", "mCurrentUserClick"),
                   item("Program zárolása", "TBItem14Click", "F9"),
                   separator(),
                   item("&Nyomtató beállítása", "mPrinterSetupClick"),
                   item("Számológép", "Szamologep", "F3"),
                   separator(),
                   gate(Gate::NotPlainUser, item("Adatok mentése", "mDataSaveClick")),
                   gate(Gate::NotPlainUser, item("Adatok visszatöltése", "mDataLoadClick")),
                   item("Táblák újraindexelése", "reindex"),
                   separator(),
                   item("Hibajelentések áttekintése", "mHibajelentesekClick"),
                   item("Frissítés keresése...", "InternetFriss"),
                   separator(),
                   item("&Kilépés", "mExitApplicationClick"),
               });
}

// The visible entries directly under "&Műveletek" run the commands of gated submenus; they
// carry the same letters, so that a right withheld is withheld everywhere.
MenuEntry operationsMenu() {
    return top(
        "operationsMenu", "&Műveletek",
        {
            right('A', sub("&Árajánlat", {item("Új árajánlat", "AjanlatNew"), item("Módosítás", "mModAjanlatClick")})),
            right('B', sub("&Számla", invoiceMenu())),
            hidden(right('1', sub("&Pénztárgépes értékesítés",
                                  {item("Új eladás", "bEladasClick"), item("Sto&rnó", "pgStornoClick")}))),
            right('1', item("Pénztárgépes értékesítés", "bEladasClick")),
            item("Pénztárgépes kifizetés", "bKifizetesClick"),
            separator(),
            hidden(right('G', sub("&Garancialevél",
                                  {item("Új garancialevél", "GaranciaNew"), item("Módosítás", "mModGaranciaClick")}))),
            right('G', item("Garancialevél", "GaranciaNew")),
            item("Megrendelés szálítótól", "bMegrendelesClick"),
            right('3', item("Bevételezés", "bBevetelClick")),
            hidden(right('3', sub("&Bevételezés",
                                  {item("Új bevételezés", "bBevetelClick"), item("Stornó", "mSzallitoStornoClick")}))),
            hidden(right(
                'F', sub("S&zállítólevél", {item("Új szállítólevél", "mUjSzallitoClick"),
                                            item("Szállítólevél stornó szállítólevélből", "mSzallitoStornobolClick"),
                                            item("Stornó", "mSzallitoStornoClick")}))),
            right('F', item("Szállítólevél", "mUjSzallitoClick")),
            right('4', item("Visszáru", "bVisszaruClick")),
            right('5', item("Selejt", "bSelejtClick")),
            separator(),
            hidden(right(
                'H', sub("&Munkalap", {item("Új munkalap", "MunkalapNew"), item("Módosítás", "mModMunkalapClick")}))),
            right('H', item("Munkalap", "MunkalapNew")),
            separator(),
            sub("Leltár", {item("Leltárfelvételi ív", "bKeszletClick"), hidden(item("Leltártöbblet rögzítése")),
                           hidden(item("Leltárhiány rögzítése")), hidden(item("Jegyzőkönyv nyomtatása"))}),
        });
}

MenuEntry registersMenu() {
    return top("registersMenu", "&Törzsadatok",
               {
                   right('9', item("&Partnerek", "Partnerek")),
                   right('9', item("Partner &csoportok", "mPartnerKategoriaClick")),
                   item("T&elepülések", "TBItem5Click"),
                   separator(),
                   item("Raktárak", "mRaktarClick"),
                   separator(),
                   right('T', item("&Termékek", "Anyagok")),
                   right('T', item("Termék kategóriák", "mAnyagKategoriaClick")),
                   separator(),
                   item("&Mértékegységek", "mMertekegysegekClick"),
                   item("&ÁFA csoportok", "mAfaCsoportClick"),
                   separator(),
                   item("Vonalkód-könyv", "mVonalkodClick"),
               });
}

MenuEntry listsMenu() {
    return top("listsMenu", "&Listák",
               {
                   right('A', item("&Árajánlatok", "AjanlatokMenu")),
                   item("Proforma számlák", "mProformaClick"),
                   right('B', item("&Számlák", "SzamlakMenu")),
                   right('1', item("&Pénztárgépes értékesítések", "mEladasokClick")),
                   right('F', item("Szállítólevelek", "mSzallitokClick")),
                   right('4', item("Visszáruk", "mVisszarukClick")),
                   right('5', item("Selejtezések", "mSelejtekClick")),
                   item("Megrendelések szállítótól", "mMegrendelesekClick"),
                   right('3', item("Bevételezések", "m_bevetelezesekClick")),
                   separator(),
                   right('B', item("&Fizetetlen számlák", "mSzamlakFizetetlenClick")),
                   item("Pénztárgépes kifizetések", "bKifizetClick"),
                   separator(),
                   right('G', item("&Garancia levelek", "GaranciakMenu")),
                   right('H', item("&Munkalapok", "MunkalapokMenu")),
                   separator(),
                   item("&Elfogyóban levő anyagok", "FogyoAnyaglista"),
                   item("&Árlista nyomtatása", "Arlistak"),
                   separator(),
                   right('B', item("Adóhatósági ellenőrzési adatszolgáltatás", "taxAuditExportClick")),
                   right('B', item("Online számla", "mOnlineSzamlaClick")),
               });
}

MenuEntry statisticsMenu() {
    return top("statisticsMenu", "St&atisztika",
               {
                   item("Termék statisztika", "TBItem35Click"),
                   item("Részletes terméklista", "mReszletesTermekClick"),
                   item("Partner statisztika", "TBItem36Click"),
                   item("Pénzügyi statisztika", "TBItem6Click"),
                   separator(),
                   item("Napi forgalomkimutatás haszonszámítással", "TBItem31Click"),
                   item("Forgalomkimutatás haszonszámítással", "TBItem32Click"),
                   item("Időszakos haszonszámítás termékenként", "TBItem38Click"),
                   item("Napi forgalomkimutatás", "TBItem21Click"),
                   item("Napi forgalom kimutatás cikkszám alapján", "TBItem34Click"),
                   separator(),
                   item("Számlák adott szövegrész szerint", "mStatSzamlaSzovegClick"),
               });
}

MenuEntry settingsMenu() {
    return top("settingsMenu", "&Beállítások",
               {
                   gate(Gate::NotPlainUser, item("&Felhasználók", "Felhasznlk1Click")),
                   gate(Gate::OwnUserListed, item("&Jelszó módosítása", "JelszoEditClick")),
                   item("Pluginok", "mPluginClick"),
                   gate(Gate::NotPlainUser, item("Online számla beállítások", "mNavBeallitasClick")),
                   separator(),
                   item("&Beállítások", "SetupMenu"),
               });
}

MenuEntry helpMenu() {
    return top("helpMenu", "&Súgó",
               {
                   item("&A program leírása", "Sugo", "F1"),
                   separator(),
                   item("&Kavina a Weben", "mHomepageClick"),
                   item("Lumetra honlap", "mHomepage2Click"),
                   item("&E-mail küldése", "mSendMailClick"),
                   item("Észrevételek küldése", "mEszrevetelClick"),
                   separator(),
                   item("&Névjegy", "mAboutClick"),
               });
}

MenuEntry serviceMenu() {
    return top(kServiceMenuName, "Szervíz funkciók",
               {
                   item("Táblák megtekintése", "mSzervizTablaClick"),
                   item("Számla újranyomtatása", "mSzervizSzamlaPrintClick"),
                   item("Részletes terméklista excelbe", "TBItem49Click"),
                   item("Régi bizonylatok törlése", "TBItem2Click"),
                   item("Szándékos hiba okozása", "TBItem1Click"),
                   separator(),
                   item("Szervízmenü bezárása", "TBItem8Click"),
               });
}

ToolbarButton button(const QString& name, const QString& caption, const QString& handler, bool switchable,
                     QChar letter = {}) {
    ToolbarButton b;
    b.objectName = name;
    b.caption = caption;
    b.handler = handler;
    b.switchable = switchable;
    if (!letter.isNull()) {
        b.gate = Gate::Right;
        b.right = letter;
    }
    return b;
}

ToolbarButton withMenu(ToolbarButton b, std::vector<MenuEntry> menu) {
    b.menu = std::move(menu);
    return b;
}

ToolbarDef operationsToolbar() {
    return {"operationsToolbar",
            "Műveletek",
            false,
            {
                button("bAjanlat", " Árajánlat ", "AjanlatNew", true, 'A'),
                withMenu(button("bSzamla", "   Számla   ", {}, true, 'B'), invoiceEntries("Számla rontott számlából")),
                button("bEladas", "   Eladás   ", "bEladasClick", true, '1'),
                button("bKifizetes", "Kifizetés", "bKifizetesClick", true),
                button("bGarancia", "Garancia", "GaranciaNew", true, 'G'),
                button("bMegrendeles", "Megrendelés", "bMegrendelesClick", true),
                button("bBevetel", "Bevételezés", "bBevetelClick", true, '3'),
                button("bSzallito", "Szállítólevél", "mUjSzallitoClick", true, 'F'),
                withMenu(button("warehousesButton", " Raktárak ", {}, false),
                         {hidden(item("Raktárak", "mRaktarClick")), hidden(item("Anyag kiadási bizonylat")),
                          hidden(item("Anyag bevételi bizonylat")), hidden(item("Raktárak közötti átadás"))}),
                button("bVisszaru", "Visszáru", "bVisszaruClick", true, '4'),
                button("bSelejt", "Selejt", "bSelejtClick", true, '5'),
                button("bMunkalap", "Munkalap", "MunkalapNew", true, 'H'),
            }};
}

ToolbarDef mastersToolbar() {
    return {"mastersToolbar",
            "Törzsadatok",
            false,
            {
                button("partnersButton", "Partnerek", "Partnerek", false, '9'),
                button("productsButton", "Termékek", "Anyagok", false, 'T'),
                button("stockButton", "Készlet", "bKeszletClick", false),
                button("dailyTurnoverButton", "Napi forgalom", "TBItem21Click", false),
            }};
}

ToolbarDef helperToolbar() {
    return {"helperToolbar", "Segéd", false, {button("settingsButton", "Beállítások", "SetupMenu", false)}};
}

ToolbarDef linksToolbar() {
    return {"linksToolbar",
            "Hivatkozások",
            true,
            {
                button("makerSiteLink", "Lumetra honlap", "mHomepage2Click", false),
                button("productPageLink", "Kavina a Weben", "mHomepageClick", false),
                button("supportMailLink", "E-mail küldése", "mSendMailClick", false),
            }};
}

void collect(const std::vector<MenuEntry>& entries, std::vector<QString>& out) {
    for (const MenuEntry& e : entries) {
        if (!e.handler.isEmpty() && std::find(out.begin(), out.end(), e.handler) == out.end()) out.push_back(e.handler);
        collect(e.children, out);
    }
}

}  // namespace

const std::vector<MenuEntry>& mainMenuBar() {
    static const std::vector<MenuEntry> menus = {fileMenu(),       operationsMenu(), registersMenu(), listsMenu(),
                                                 statisticsMenu(), settingsMenu(),   helpMenu(),      serviceMenu()};
    return menus;
}

const std::vector<ToolbarDef>& mainToolbars() {
    static const std::vector<ToolbarDef> toolbars = {operationsToolbar(), mastersToolbar(), helperToolbar(),
                                                     linksToolbar()};
    return toolbars;
}

std::vector<QString> allHandlers() {
    std::vector<QString> out;
    for (const ToolbarDef& t : mainToolbars())
        for (const ToolbarButton& b : t.buttons) {
            if (!b.handler.isEmpty() && std::find(out.begin(), out.end(), b.handler) == out.end())
                out.push_back(b.handler);
            collect(b.menu, out);
        }
    collect(mainMenuBar(), out);
    return out;
}

}  // namespace kavina::shell
