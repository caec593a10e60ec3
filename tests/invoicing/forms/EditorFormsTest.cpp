// The invoice editor on its real windows, offscreen: the editor, the product register as
// picker and the line dialog, driven key by key and click by click as a clerk at the till
// would; every message checked.

#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <functional>

#include "common/ScriptedPrompt.h"
#include "dbase/TestFolder.h"
#include "documents/partners/PartnerWindow.h"
#include "foundation/CatalogueFields.h"
#include "foundation/NewDataFolder.h"
#include "invoicing/editor/forms/QtEditorWindows.h"
#include "invoicing/editor/forms/TSzamlaForm.h"
#include "products/pickers/forms/ProductPicker.h"
#include "products/pickers/forms/TAnyagval.h"
#include "products/pricing/PriceRules.h"
#include "report/PreparedReport.h"

namespace kavina::invoicing {
namespace {

namespace A = fields::Anyag;
namespace H = fields::Szamla;
namespace P = fields::Partner;

class NoDesktop : public Desktop {
public:
    bool openFile(const QString&) override { return false; }
};

template <typename T>
T* child(QWidget& w, const char* name) {
    T* found = w.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

void activate(QWidget& w) {
    w.show();
    QApplication::setActiveWindow(&w);
    QApplication::processEvents();
}

// What the clerk does in one line dialog: the texts typed into the quantity box, one after
// another, each followed by a click on "&Elfogad"; an empty script cancels.
using LineScript = QStringList;

// The line dialog, shown and driven instead of run modally.
class DrivenPickerWindows : public products::PickerWindows {
public:
    DrivenPickerWindows(Prompt& prompt, std::string folder) : m_prompt(prompt), m_folder(std::move(folder)) {}
    std::deque<LineScript> scripts;
    QStringList captions;

    bool editLine(RecordCursor& lines, const products::LineDialogSetup& setup) override {
        products::LineDialog logic(
            lines, products::readLineProduct(m_folder, lines.asFloat(fields::Szamla2::ANYAGSZAM)), m_prompt, setup);
        products::TAnyagval dialog(nullptr, logic, m_prompt);
        activate(dialog);
        captions << dialog.windowTitle();
        const LineScript script = scripts.empty() ? LineScript{} : scripts.front();
        if (!scripts.empty()) scripts.pop_front();
        auto* quantity = child<QLineEdit>(dialog, "quantityLineEdit");
        for (const QString& typed : script) {
            quantity->selectAll();
            QTest::keyClicks(quantity, typed);
            QTest::mouseClick(child<QPushButton>(dialog, "acceptPushButton"), Qt::LeftButton);
            if (dialog.result() == QDialog::Accepted) break;
        }
        if (dialog.result() != QDialog::Accepted) dialog.reject();
        return dialog.result() == QDialog::Accepted;
    }
    bool pickWarrantyLines(const RecordCursor&, int) override { return false; }

private:
    Prompt& m_prompt;
    std::string m_folder;
};

// The partner and product windows of the editor: the product register shown as picker and
// driven by its search box and "Elfogad"; the partner picker goes to the partner named.
class DrivenEditorWindows : public EditorWindows {
public:
    DrivenEditorWindows(TDataModule1& data, MemoryDocument& doc, Prompt& prompt, const IniSettings& settings,
                        NoDesktop& desktop)
        : lineWindows(prompt, data.dataFolder()), m_data(data), m_doc(doc), m_prompt(prompt), m_settings(settings) {
        products::AnyagFormOptions options;
        options.window = {.settings = &settings,
                          .rights = QStringLiteral("TUVW"),
                          .currentUser = QStringLiteral("Kovács Anna"),
                          .now = [] { return QDateTime(QDate(2008, 3, 3), QTime(9, 0), Qt::UTC); },
                          .rememberedWarehouse = &m_warehouse,
                          .goodsReceiptInProgress = {}};
        options.desktop = &desktop;
        m_picker = std::make_unique<products::ProductPicker>(nullptr, data, prompt, options, lineWindows);
    }

    DrivenPickerWindows lineWindows;
    QString partner;  // picked from the partner register
    // The register's tab chosen and the text typed into its search box, one per pick.
    std::deque<std::pair<int, QString>> products;
    std::vector<report::PreparedReport> previews;

    bool pickPartner() override { return !partner.isEmpty() && m_data.PartnerTable().locate({{P::NEV, partner}}); }
    bool findPartnerByCode(const QString& code) override {
        return documents::choosePartnerByCode(m_data.PartnerTable(), m_prompt, code);
    }
    bool pickLine(int priceGroup) override {
        products::PickerRequest& request = m_picker->request();
        request.mode = products::CallerMode::InvoiceEditor;
        request.priceGroup = products::pickPriceGroup(priceGroup, m_settings.tobbar);
        request.lines = &m_doc.mszamla2;
        request.lineSetup = {.editor = products::LineEditor::Invoice,
                             .negativeStockAllowed = m_settings.anyagminusz != 0,
                             .pricesEnabled = true};
        request.promotions = &m_data.akcio();
        request.today = QDate(2008, 3, 3);
        products::TAnyagForm& form = m_picker->prepare();
        activate(form);
        if (!products.empty()) {
            child<QTabBar>(form, "productTabBar")->setCurrentIndex(products.front().first);
            child<QLineEdit>(form, "searchLineEdit")->setText(products.front().second);
            products.pop_front();
            QTest::mouseClick(child<QPushButton>(form, "acceptPushButton"), Qt::LeftButton);
        }
        if (form.isVisible()) form.reject();
        return request.chosen;
    }
    bool editLine() override { return lineWindows.editLine(m_doc.mszamla2, {.pricesEnabled = true}); }
    std::optional<QString> editRemark(const QString&) override { return std::nullopt; }
    void preview(const report::PreparedReport& pages) override { previews.push_back(pages); }
    double grossOf(double net, double rate) override { return products::grossOf(net, rate); }
    // The program's own save, the copies recorded by their labels.
    bool saveDocument(SalesMode mode, SourceKind source, const QString& number, EditorFocus& focus) override {
        IniFile ini(QString::fromStdString(m_data.dataFolder() + "kavina.ini"));
        documents::SalesSaveContext context{m_data, ini, savedDates, QStringLiteral("Kovács Anna")};
        context.now = [] { return QDateTime(QDate(2008, 3, 3), QTime(10, 0)); };
        return saveEditorDocument(m_doc, m_prompt, context, copies, mode, source, number, focus);
    }
    struct Copies : documents::SalesCopyPrinter {
        void printCopy(const documents::StoredSale& sale, SalesMode, const QString& label, int) override {
            printed << sale.number + QStringLiteral(" ") + label;
        }
        QStringList printed;
    } copies;
    IniSettings savedDates;

private:
    TDataModule1& m_data;
    MemoryDocument& m_doc;
    Prompt& m_prompt;
    const IniSettings& m_settings;
    int m_warehouse = 0;
    std::unique_ptr<products::ProductPicker> m_picker;
};

class EditorFormsTest : public ::testing::Test {
protected:
    testing_support::TestFolder dir;
    TDataModule1 data;
    MemoryDocument doc;
    ScriptedPrompt prompt;
    IniSettings settings;
    NoDesktop desktop;

    void SetUp() override {
        createDataFolder(dir.path());
        data.open(dir.path());
        TableHandle& user = data.UserTable();
        user.append();
        user.setString(fields::User::SELO, QStringLiteral("SZA"));
        user.setString(fields::User::USER1, QStringLiteral("Próba Bolt Kft."));
        user.setInteger(fields::User::SZAMLASZ, 12);
        user.post();
        TableHandle& p = data.PartnerTable();
        p.append();
        p.setInteger(P::PARTNERKOD, 1);
        p.setString(P::NEV, QStringLiteral("Kiss Kft."));
        p.setString(P::VAROS, QStringLiteral("Budapest"));
        p.setString(P::FIZMOD, QStringLiteral("Készpénz"));
        p.setInteger(P::ARCSOPORT, 1);
        p.setFloat(P::OSSZESBIZM, 5);
        p.post();
        addProduct(1, QStringLiteral("Kalapacs"), 1000, 5, false);
        addProduct(2, QStringLiteral("Csavar"), 12.5, 100, false);
        addProduct(3, QStringLiteral("Szereles"), 4000, 0, true);
    }
    void TearDown() override { EXPECT_TRUE(prompt.failures().isEmpty()) << prompt.failures().join('\n').toStdString(); }

    void addProduct(double code, const QString& name, double net, double stock, bool service) {
        TableHandle& t = data.AnyagTable();
        t.append();
        t.setFloat(A::ANYAGKOD, code);
        t.setString(A::MEGNEVEZES, name);
        t.setString(A::ITJSZAM, QStringLiteral("82%1").arg(code));
        t.setString(A::EGYSEG, service ? QStringLiteral("óra") : QStringLiteral("db"));
        t.setString(A::KATEGORIA, QStringLiteral("Bolt"));
        t.setFloat(A::MENNYISEG, stock);
        t.setFloat(A::AFAKULCS, 27);
        t.setLogical(A::TERMEK, service);
        for (auto [netField, grossField] : {std::pair{A::AR1, A::bar1}, {A::FIXAR, A::bfixar}}) {
            t.setFloat(netField, net);
            t.setFloat(grossField, products::grossOf(net, 27));
        }
        t.post();
    }
    InvoiceEditorOptions options(EditorMode mode) {
        return {.mode = mode,
                .source = SourceKind::None,
                .settings = &settings,
                .rights = QStringLiteral("BV"),
                .currentUser = QStringLiteral("Kovács Anna"),
                .today = [] { return QDate(2008, 3, 3); }};
    }
    QStringList messages() const {
        QStringList texts;
        for (const auto& e : prompt.entries()) texts << e.caption + QStringLiteral(" | ") + e.text;
        return texts;
    }
};

TEST_F(EditorFormsTest, ClerkMakesACashInvoiceWithThreeLinesADiscountAndAPreview) {
    settings.anyagminusz = 0;
    DrivenEditorWindows windows(data, doc, prompt, settings, desktop);
    TSzamlaForm form(nullptr, data, doc, prompt, windows, options(EditorMode::Invoice));
    ASSERT_TRUE(form.start());
    activate(form);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Számla"));
    EXPECT_EQ(child<QLabel>(form, "headerLabel")->text(), QStringLiteral("        Számla készítése"));
    auto* name = child<QLineEdit>(form, "partnerNameLineEdit");
    EXPECT_TRUE(name->hasFocus());
    EXPECT_TRUE(child<QPushButton>(form, "printPushButton")->isEnabled());

    // Enter in the empty name box opens the partner picker.
    windows.partner = QStringLiteral("Kiss Kft.");
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(name->text(), QStringLiteral("Kiss Kft."));
    EXPECT_EQ(child<QComboBox>(form, "paymentComboBox")->currentText(), QStringLiteral("Készpénz"));
    EXPECT_EQ(child<QSpinBox>(form, "discountSpinBox")->value(), 5);
    EXPECT_TRUE(child<QTableView>(form, "linesTableView")->hasFocus());

    // Three lines through the picker and the line dialog: a refused zero and a refused stock
    // before the hammers go in, then screws, then an hour of fitting (a service: no stock).
    windows.products = {
        {0, QStringLiteral("Kalapacs")}, {0, QStringLiteral("Csavar")}, {3, QStringLiteral("Szereles")}};
    windows.lineWindows.scripts = {{QStringLiteral("0"), QStringLiteral("6"), QStringLiteral("2")},
                                   {QStringLiteral("10")},
                                   {QStringLiteral("1,5")}};
    for (int i = 0; i < 3; ++i) QTest::keyClick(child<QTableView>(form, "linesTableView"), Qt::Key_Insert);
    EXPECT_EQ(windows.lineWindows.captions,
              (QStringList{QStringLiteral("821 - Kalapacs"), QStringLiteral("822 - Csavar"),
                           QStringLiteral("823 - Szereles")}));
    ASSERT_EQ(doc.mszamla2.recordCount(), 3u);
    // The grid shows the amounts as the printed invoice does.
    QAbstractItemModel* grid = child<QTableView>(form, "linesTableView")->model();
    EXPECT_EQ(grid->index(0, 9).data().toString(), QStringLiteral("2 540,00 Ft"));
    EXPECT_EQ(grid->index(1, 4).data().toString(), QStringLiteral("12,50 Ft"));
    EXPECT_EQ(grid->index(2, 2).data().toString(), QStringLiteral("1,5"));
    // 2 × 1 270 + 10 × 15.875 + 1.5 × 5 080 = 10 318.75 gross, less 5 % = 9 802.81 -> 9 805 in cash.
    EXPECT_EQ(child<QLabel>(form, "payableLabel")->text(), QStringLiteral("9 805"));
    EXPECT_EQ(child<QLabel>(form, "netTotalLabel")->text(), QStringLiteral("7 719"));

    // The discount changes the totals as it is typed.
    auto* discount = child<QSpinBox>(form, "discountSpinBox");
    discount->selectAll();
    QTest::keyClicks(discount, QStringLiteral("10"));
    EXPECT_EQ(doc.mszamla.asInteger(H::KEDVEZMENY), 10);
    EXPECT_EQ(child<QLabel>(form, "payableLabel")->text(), QStringLiteral("9 285"));  // 9 286.88 -> 9 285
    QTest::keyClicks(child<QLineEdit>(form, "handedOverLineEdit"), QStringLiteral("10000"));
    EXPECT_EQ(child<QLabel>(form, "changeLabel")->text(), QStringLiteral(" 715"));

    QTest::mouseClick(child<QPushButton>(form, "previewPushButton"), Qt::LeftButton);
    ASSERT_EQ(windows.previews.size(), 1u);
    EXPECT_EQ(windows.previews[0].pageCount(), 1);

    // Leaving asks first; "Nem" keeps the editor, "Igen" empties the document.
    prompt.answerYesNo(false);
    prompt.answerYesNo(true);
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_TRUE(form.isVisible());
    QTest::mouseClick(child<QPushButton>(form, "closePushButton"), Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(doc.mszamla2.isEmpty());
    EXPECT_EQ(messages(), (QStringList{QStringLiteral("Kavina | A kiválasztott mennyiség nem lehet NULLA!"),
                                       QStringLiteral("Kavina | Nincs ennyi termék a készleten!"),
                                       QStringLiteral("Figyelem ! | Biztos benne, hogy kilép mentés nélkül a számla "
                                                      "szerkesztéséből? "),
                                       QStringLiteral("Figyelem ! | Biztos benne, hogy kilép mentés nélkül a számla "
                                                      "szerkesztéséből? ")}));
}

TEST_F(EditorFormsTest, F10StoresTheInvoiceAndClosesOrPutsTheFocusOnTheBoxItRefuses) {
    DrivenEditorWindows windows(data, doc, prompt, settings, desktop);
    TSzamlaForm form(nullptr, data, doc, prompt, windows, options(EditorMode::Invoice));
    ASSERT_TRUE(form.start());
    activate(form);
    windows.partner = QStringLiteral("Kiss Kft.");
    QTest::keyClick(child<QLineEdit>(form, "partnerNameLineEdit"), Qt::Key_Return);
    windows.products = {{0, QStringLiteral("Kalapacs")}};
    windows.lineWindows.scripts = {{QStringLiteral("2")}};
    QTest::keyClick(child<QTableView>(form, "linesTableView"), Qt::Key_Insert);

    // An invoice dated before the last one is refused, and the issue date takes the focus.
    QPushButton* print = child<QPushButton>(form, "printPushButton");
    EXPECT_EQ(print->shortcut(), QKeySequence(Qt::Key_F10));
    const auto pressF10 = [&] { QTest::mouseClick(print, Qt::LeftButton); };
    windows.savedDates.szamDate = QDate(2008, 3, 5);
    pressF10();
    EXPECT_TRUE(form.isVisible());
    ASSERT_FALSE(prompt.entries().empty());
    EXPECT_EQ(prompt.entries().back().text, QStringLiteral("A számla dátuma nem lehet korábbi az utolsó számlánál!"));
    EXPECT_EQ(form.focusWidget(), child<QDateEdit>(form, "issueDateEdit"));

    windows.savedDates.szamDate = QDate(2008, 3, 1);
    prompt.answerCopies(2);
    pressF10();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_TRUE(doc.mszamla2.isEmpty());
    EXPECT_EQ(windows.copies.printed, (QStringList{QStringLiteral("SZA2008/00012 Eredeti példány"),
                                                   QStringLiteral("SZA2008/00012 Másolati példány")}));
    TableHandle& stored = data.SzamlaTable();
    stored.refresh();
    ASSERT_TRUE(stored.locate({{H::SZAMLASZAM, QStringLiteral("SZA2008/00012")}}));
    EXPECT_EQ(stored.asString(H::NEV).trimmed(), QStringLiteral("Kiss Kft."));
    EXPECT_TRUE(stored.asLogical(H::FIZETVE));
    EXPECT_EQ(stored.asInteger(H::PRINT), 2);
    TableHandle& goods = data.AnyagTable();
    goods.refresh();
    ASSERT_TRUE(goods.locate({{A::ANYAGKOD, QStringLiteral("1")}}));
    EXPECT_EQ(goods.asFloat(A::MENNYISEG), 3);  // 5 less the 2 hammers
}

TEST_F(EditorFormsTest, TillModesHideTheBuyerAndStartInTheLinesAndRightsGateTheDiscount) {
    settings.tobbar = 0;
    DrivenEditorWindows windows(data, doc, prompt, settings, desktop);
    InvoiceEditorOptions o = options(EditorMode::CashSale);
    o.rights = QStringLiteral("B");
    TSzamlaForm form(nullptr, data, doc, prompt, windows, o);
    ASSERT_TRUE(form.start());
    activate(form);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Pénztárgépes értékesítés"));
    EXPECT_FALSE(child<QWidget>(form, "partnerPanel")->isVisible());
    EXPECT_FALSE(child<QWidget>(form, "datesPanel")->isVisible());
    EXPECT_TRUE(child<QTableView>(form, "linesTableView")->hasFocus());
    EXPECT_FALSE(child<QSpinBox>(form, "discountSpinBox")->isEnabled());
    EXPECT_TRUE(child<QComboBox>(form, "priceGroupComboBox")->isHidden());
    // A double click below the lines adds one; without price levels it is priced at the fixed
    // price. Delete asks before it removes the line.
    windows.products = {{0, QStringLiteral("Kalapacs")}};
    windows.lineWindows.scripts = {{QStringLiteral("1")}};
    auto* lines = child<QTableView>(form, "linesTableView");
    QTest::mouseDClick(lines->viewport(), Qt::LeftButton, {}, QPoint(20, lines->viewport()->height() - 5));
    ASSERT_EQ(doc.mszamla2.recordCount(), 1u);
    EXPECT_EQ(doc.mszamla2.asInteger(fields::Szamla2::ARCSOPORT), 4);
    EXPECT_EQ(child<QLabel>(form, "payableLabel")->text(), QStringLiteral("1 270"));
    prompt.answerYesNo(true);
    QTest::keyClick(lines, Qt::Key_Delete);
    EXPECT_TRUE(doc.mszamla2.isEmpty());
    EXPECT_EQ(child<QLabel>(form, "payableLabel")->text(), QStringLiteral("0"));
    EXPECT_EQ(messages(), QStringList{QStringLiteral("Figyelem ! | Biztos benne, hogy  törli a kijelölt tételt? ")});
    prompt.answerYesNo(true);
    form.reject();
}

TEST_F(EditorFormsTest, PickerTakesThePriceGroupFromTheColumnTitleClicked) {
    DrivenPickerWindows lineWindows(prompt, data.dataFolder());
    products::AnyagFormOptions o;
    int warehouse = 0;
    o.window = {.settings = &settings,
                .rights = QStringLiteral("TUVW"),
                .currentUser = QStringLiteral("Kovács Anna"),
                .now = [] { return QDateTime(QDate(2008, 3, 3), QTime(9, 0), Qt::UTC); },
                .rememberedWarehouse = &warehouse,
                .goodsReceiptInProgress = {}};
    o.desktop = &desktop;
    products::ProductPicker picker(nullptr, data, prompt, o, lineWindows);
    doc.mszamla2.append();
    doc.mszamla2.post();
    picker.request() = {.mode = products::CallerMode::InvoiceEditor, .priceGroup = 0, .lines = &doc.mszamla2};
    products::TAnyagForm& form = picker.prepare();
    activate(form);
    auto* accept = child<QPushButton>(form, "acceptPushButton");
    EXPECT_TRUE(accept->isVisible());
    child<QLineEdit>(form, "searchLineEdit")->setText(QStringLiteral("Kalapacs"));
    QTest::mouseClick(accept, Qt::LeftButton);
    ASSERT_EQ(prompt.entries().size(), 1u);
    EXPECT_TRUE(prompt.entries()[0].text.startsWith(QStringLiteral("Kérem  válassza ki,  melyik árcsoportban")));
    auto* grid = child<QTableView>(form, "productGrid");
    const int fixedColumn = 8;
    QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(grid->horizontalHeader()->sectionViewportPosition(fixedColumn) + 5, 5));
    EXPECT_EQ(picker.request().priceGroup, 4);
    EXPECT_EQ(grid->model()->headerData(fixedColumn, Qt::Horizontal, Qt::ForegroundRole).value<QColor>(),
              QColor(Qt::red));
    lineWindows.scripts = {{QStringLiteral("1")}};
    QTest::mouseClick(accept, Qt::LeftButton);
    EXPECT_TRUE(picker.request().chosen);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(doc.mszamla2.asInteger(fields::Szamla2::ARCSOPORT), 4);
}

}  // namespace
}  // namespace kavina::invoicing
