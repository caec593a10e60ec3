// A day at the shop, in order, on one demo folder: every step through the main window's menu
// commands and the real windows they open, with the tables, the printed PDFs and the prompt's
// messages checked after each.

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include "dbase/FolderCheck.h"
#include "e2e/ShopDay.h"
#include "foundation/CatalogueFields.h"
#include "foundation/NewDataFolder.h"
#include "maintenance/backup/DataTransfer.h"
#include "shell/mainwindow/forms/TForm1.h"

namespace kavina::e2e {
namespace {

namespace H = fields::Szamla;
namespace L = fields::Szamla2;
namespace T = fields::Tranzakcio;

class ShopDayTest : public ShopDay {
protected:
    // The lines of a stored document: quantity, VAT rate and name, sorted.
    static QStringList lines(TDataModule1& b, const QString& number) {
        b.SzamlaTable().refresh();
        if (!b.SzamlaTable().locate({{H::SZAMLASZAM, number}})) return {};
        QStringList found = records(b.Szamla2Table(), L::SZAMLASZAM, number, {L::MENNYISEG, L::AFA, L::MEGNEVEZES});
        found.sort();
        return found;
    }
    // The stock movements a document wrote, sorted.
    static QStringList movements(TDataModule1& b, const QString& number) {
        QStringList found =
            records(b.handle(TableId::Tranzakcio), T::bizonylat, number, {T::tipus, T::mennyiseg, T::tetel});
        found.sort();
        return found;
    }
    static double stockOf(TDataModule1& b, const QString& name) {
        TableHandle& products = b.AnyagTable();
        products.refresh();
        if (!products.locate({{fields::Anyag::MEGNEVEZES, name}})) {
            ADD_FAILURE() << "no product " << name.toStdString();
            return -1;
        }
        return products.asFloat(fields::Anyag::MENNYISEG);
    }
    // The built-in printer's message after a print.
    static QString printedText(const QStringList& pdfs) {
        return QStringLiteral("message|information|Nyomtatás|") +
               (pdfs.size() == 1 ? QStringLiteral("A PDF nyomtató ebbe a fájlba nyomtatott:\n")
                                 : QStringLiteral("A PDF nyomtató ezekbe a fájlokba nyomtatott:\n")) +
               pdfs.join(QLatin1Char('\n'));
    }
    static void expectTexts(const QString& text, const QStringList& wanted) {
        // pdftotext lays words out with runs of blanks; one blank is enough to compare.
        const QString simple = QString(text).replace(QRegularExpression(QStringLiteral("[ ]+")), QStringLiteral(" "));
        for (const QString& w : wanted)
            EXPECT_TRUE(simple.contains(w)) << w.toStdString() << " not in\n" << text.toStdString();
    }

    struct Pick {
        int tab;         // the register's tab
        QString search;  // typed into its search box
        QString quantity;
    };
    // "Új tétel" in an editor for each pick: the product register opens as picker, the product
    // is found by the name typed into its search box on its tab and taken with "Elfogad", and its
    // quantity is typed into the line dialog.
    void addLines(QWidget& editor, const std::vector<Pick>& picks) {
        for (const Pick& pick : picks) {
            windows.expect(QStringLiteral("TAnyagForm"), [this, pick](QWidget& picker) {
                child<QTabBar>(picker, QStringLiteral("productTabBar"))->setCurrentIndex(pick.tab);
                child<QLineEdit>(picker, QStringLiteral("searchLineEdit"))->setText(pick.search);
                settle();
                windows.expect(QStringLiteral("TAnyagval"), [quantity = pick.quantity](QWidget& line) {
                    auto* box = child<QLineEdit>(line, QStringLiteral("quantityLineEdit"));
                    box->selectAll();
                    typeInto(*box, quantity);
                    click(line, QStringLiteral("acceptPushButton"));
                });
                click(picker, QStringLiteral("acceptPushButton"));
            });
            click(editor, QStringLiteral("newLinePushButton"));
        }
    }

    // The editor's partner from the partner register opened by a click on the name box: the
    // name typed into its quick search, then "Elfogad".
    void choosePartner(QWidget& editor, const QString& name, bool owesMoney = false, const QString& tab = {}) {
        windows.expect(QStringLiteral("TPartnerForm"), [this, name, owesMoney, tab](QWidget& partners) {
            if (!tab.isEmpty()) {
                auto* tabs = child<QTabBar>(partners, QStringLiteral("groupTabBar"));
                for (int i = 0; i < tabs->count(); ++i)
                    if (tabs->tabText(i) == tab) tabs->setCurrentIndex(i);
                settle();
            }
            // A partner with invoices past their due date is shown them before the choice.
            if (owesMoney)
                windows.expect(QStringLiteral("Ttartozasform"),
                               [](QWidget& debts) { click(debts, QStringLiteral("continuePushButton")); });
            typeInto(*child<QLineEdit>(partners, QStringLiteral("quickSearchLineEdit")), name);
            settle();
            click(partners, QStringLiteral("acceptPushButton"));
        });
        auto* box = child<QLineEdit>(editor, QStringLiteral("partnerNameLineEdit"));
        QTest::mouseClick(box, Qt::LeftButton);
        settle();
    }

    static void choosePayment(QWidget& editor, const QString& method) {
        auto* box = child<QComboBox>(editor, QStringLiteral("paymentComboBox"));
        const int index = box->findText(method);
        ASSERT_GE(index, 0) << method.toStdString();
        box->setCurrentIndex(index);
        emit box->activated(index);
        settle();
    }

    // The preview a statistics window shows next: printed on the built-in printer and closed.
    void expectPrintedFromPreview(const QString& shot = {}, const std::function<void(QWidget&)>& look = {}) {
        windows.expect(QStringLiteral("PreviewWindow"), [this, shot, look](QWidget& preview) {
            if (look) look(preview);
            if (!shot.isEmpty()) screenshot(shot);
            windows.expect(QStringLiteral("printerDialog"),
                           [](QWidget& printer) { click(printer, QStringLiteral("printPushButton")); });
            click(preview, QStringLiteral("printButton"));
            click(preview, QStringLiteral("closeButton"));
        });
    }

    // The prompts of a document printed in one copy and its one file; the document's number, as
    // the file is named after it.
    QString printedOnce(const QStringList& pdfs) {
        expectPrompts({QStringLiteral("copies|none|||2"), printedText(pdfs)});
        EXPECT_EQ(pdfs.size(), 1);
        return QFileInfo(pdfs.value(0))
            .fileName()
            .section(QLatin1Char('_'), 0, 1)
            .replace(QLatin1Char('_'), QLatin1Char('/'));
    }

    // The bar chart a preview shows beside its pages: its title, then each series as
    // "name: category=value ...".
    static QStringList barsOf(QWidget& preview) {
        auto* view = preview.findChild<QChartView*>(QStringLiteral("chartView"));
        if (!view) {
            ADD_FAILURE() << "no chart in the preview";
            return {};
        }
        QStringList shown{view->chart()->title()};
        const auto axes = view->chart()->axes(Qt::Horizontal);
        auto* categories = axes.isEmpty() ? nullptr : qobject_cast<QBarCategoryAxis*>(axes.first());
        for (QAbstractSeries* series : view->chart()->series()) {
            auto* bars = qobject_cast<QBarSeries*>(series);
            if (!bars || !categories) continue;
            for (const QBarSet* set : bars->barSets()) {
                QStringList values;
                for (int i = 0; i < set->count(); ++i)
                    values << categories->at(i) + QLatin1Char('=') + QString::number(set->at(i));
                shown << set->label() + QStringLiteral(": ") + values.join(QLatin1Char(' '));
            }
        }
        return shown;
    }

    // "Bevételezés": paint from the wholesaler on its own invoice number; the stock goes up.
    void receiveGoods(shell::TForm1& form) {
        SCOPED_TRACE("goods receipt");
        const double paint = stockOf(*books(), QStringLiteral("Beltéri falfesték, fehér, 5 l"));
        windows.expect(QStringLiteral("Tszlevelform"), [&](QWidget& editor) {
            choosePartner(editor, QStringLiteral("Németh Festék"));
            auto* supplierNumber = child<QLineEdit>(editor, QStringLiteral("partnerNumberLineEdit"));
            typeInto(*supplierNumber, QStringLiteral("NF-2291"));
            QTest::keyClick(supplierNumber, Qt::Key_Tab);
            addLines(editor, {{0, QStringLiteral("Beltéri falfesték, fehér, 5"), QStringLiteral("12")}});
            prompt.answerCopies(1);
            click(editor, QStringLiteral("printPushButton"));
        });
        command(form, QStringLiteral("bBevetelClick"));
        expectWindowsDone();
        const QStringList pdfs = newPdfFiles();
        const QString number = printedOnce(pdfs);
        EXPECT_EQ(number, QStringLiteral("BSZ%1/00001").arg(now.date().year()));
        // A receipt is printed under the supplier's own number.
        expectTexts(
            pdfText(pdfs.value(0)),
            {QStringLiteral("BEVÉTELEZÉS"), QStringLiteral("Németh Festék Nagykereskedés Zrt."),
             QStringLiteral("NF-2291"), QStringLiteral("Beltéri falfesték, fehér, 5 l"), QStringLiteral("12 db")});
        const auto b = books();
        EXPECT_EQ(records(b->SzamlaTable(), H::SZAMLASZAM, number, {H::SZAMLATIP, H::NEV, H::AJANLSZAM}),
                  QStringList(QStringLiteral("SZAMLATIP=3 NEV=Németh Festék Nagykereskedés Zrt. AJANLSZAM=NF-2291")));
        EXPECT_EQ(movements(*b, number),
                  QStringList(QStringLiteral("tipus=BEV mennyiseg=12 tetel=Beltéri falfesték, fehér, 5 l")));
        EXPECT_EQ(stockOf(*b, QStringLiteral("Beltéri falfesték, fehér, 5 l")), paint + 12);
    }

    // A price offer to a buyer, then "Számla árajánlatból": the offer chosen in the register
    // and the invoice saved from its lines; the offer itself moves no stock.
    void offerTurnedIntoInvoice(shell::TForm1& form) {
        SCOPED_TRACE("offer into invoice");
        const double cutters = stockOf(*books(), QStringLiteral("Tapétavágó kés"));
        windows.expect(QStringLiteral("TAjanlatForm"), [&](QWidget& editor) {
            choosePartner(editor, QStringLiteral("Kovács és"), true);
            addLines(editor, {{0, QStringLiteral("Tapétavágó"), QStringLiteral("10")}});
            prompt.answerCopies(1);
            click(editor, QStringLiteral("printPushButton"));
        });
        command(form, QStringLiteral("AjanlatNew"));
        expectWindowsDone();
        QStringList pdfs = newPdfFiles();
        const QString offer = printedOnce(pdfs);
        expectTexts(pdfText(pdfs.value(0)),
                    {offer, QStringLiteral("Tapétavágó kés"), QStringLiteral("Kovács és Társa Kft.")});
        EXPECT_EQ(movements(*books(), offer), QStringList());

        windows.expect(QStringLiteral("TSzamlak"), [&](QWidget& list) {
            child<QLineEdit>(list, QStringLiteral("searchLineEdit"))->setText(offer);
            settle();
            click(list, QStringLiteral("choosePushButton"));
        });
        windows.expect(QStringLiteral("TSzamlaForm"), [&](QWidget& editor) {
            EXPECT_EQ(child<QLineEdit>(editor, QStringLiteral("partnerNameLineEdit"))->text(),
                      QStringLiteral("Kovács és Társa Kft."));
            choosePayment(editor, QStringLiteral("Készpénz"));
            prompt.answerCopies(1);
            click(editor, QStringLiteral("printPushButton"));
        });
        command(form, QStringLiteral("Szamlaajanlat"));
        expectWindowsDone();
        pdfs = newPdfFiles();
        const QString invoice = printedOnce(pdfs);
        const auto b = books();
        EXPECT_EQ(lines(*b, invoice), QStringList(QStringLiteral("MENNYISEG=10 AFA=27 MEGNEVEZES=Tapétavágó kés")));
        EXPECT_EQ(stockOf(*b, QStringLiteral("Tapétavágó kés")), cutters - 10);
    }

    // A delivery note of four rollers, then "Számla szállítólevélből" with the quantity changed
    // to five on the invoice: the note took four out of stock, the invoice only the fifth.
    void deliveryNoteTurnedIntoInvoice(shell::TForm1& form) {
        SCOPED_TRACE("delivery note into invoice");
        const QString roller = QStringLiteral("Festőhenger 18 cm");
        const double rollers = stockOf(*books(), roller);
        windows.expect(QStringLiteral("Tszlevelform"), [&](QWidget& editor) {
            // The partner register opens on the suppliers for a delivery note.
            choosePartner(editor, QStringLiteral("Kovács és"), true, QStringLiteral("Vevő"));
            addLines(editor, {{0, QStringLiteral("Festőhenger"), QStringLiteral("4")}});
            prompt.answerCopies(1);
            click(editor, QStringLiteral("printPushButton"));
        });
        command(form, QStringLiteral("mUjSzallitoClick"));
        expectWindowsDone();
        QStringList pdfs = newPdfFiles();
        const QString note = printedOnce(pdfs);
        expectTexts(pdfText(pdfs.value(0)), {note, roller, QStringLiteral("4 db")});
        EXPECT_EQ(stockOf(*books(), roller), rollers - 4);

        windows.expect(QStringLiteral("TSzamlak"), [&](QWidget& list) {
            child<QLineEdit>(list, QStringLiteral("searchLineEdit"))->setText(note);
            settle();
            click(list, QStringLiteral("choosePushButton"));
        });
        windows.expect(QStringLiteral("TSzamlaForm"), [&](QWidget& editor) {
            windows.expect(QStringLiteral("TAnyagval"), [](QWidget& line) {
                auto* box = child<QLineEdit>(line, QStringLiteral("quantityLineEdit"));
                box->selectAll();
                typeInto(*box, QStringLiteral("5"));
                click(line, QStringLiteral("acceptPushButton"));
            });
            click(editor, QStringLiteral("changeLinePushButton"));
            choosePayment(editor, QStringLiteral("Készpénz"));
            prompt.answerCopies(1);
            click(editor, QStringLiteral("printPushButton"));
        });
        command(form, QStringLiteral("Szamlaszallito"));
        expectWindowsDone();
        pdfs = newPdfFiles();
        const QString invoice = printedOnce(pdfs);
        const auto b = books();
        EXPECT_EQ(lines(*b, invoice), QStringList(QStringLiteral("MENNYISEG=5 AFA=27 MEGNEVEZES=") + roller));
        EXPECT_EQ(stockOf(*b, roller), rollers - 5);
        EXPECT_EQ(records(b->SzamlaTable(), H::SZAMLASZAM, note, {H::SZAMLATIP, H::ALLAPOT}),
                  QStringList(QStringLiteral("SZAMLATIP=F ALLAPOT=számlázva")));
    }

    // "Helyesbítő számla" of the paid transfer invoice: its lines come reversed, one hammer of the
    // three is sold again; the correction moves stock by its own lines only and marks the source.
    void correctiveInvoice(shell::TForm1& form) {
        SCOPED_TRACE("corrective invoice");
        const QString source = QStringLiteral("SZA%1/00007").arg(now.date().year());
        const QString hammer = QStringLiteral("Kalapács 500 g"), book = QStringLiteral("Barkácskalauz (könyv)");
        const double hammers = stockOf(*books(), hammer), guides = stockOf(*books(), book);
        windows.expect(QStringLiteral("TSzamlak"), [&](QWidget& list) {
            child<QLineEdit>(list, QStringLiteral("searchLineEdit"))->setText(source);
            settle();
            click(list, QStringLiteral("choosePushButton"));
        });
        windows.expect(QStringLiteral("TSzamlaForm"), [&](QWidget& editor) {
            EXPECT_EQ(child<QLineEdit>(editor, QStringLiteral("partnerNameLineEdit"))->text(),
                      QStringLiteral("Kovács és Társa Kft."));
            addLines(editor, {{0, QStringLiteral("Kalapács"), QStringLiteral("1")}});
            screenshot(QStringLiteral("helyesbito-szamla"));
            prompt.answerCopies(1);
            click(editor, QStringLiteral("printPushButton"));
        });
        command(form, QStringLiteral("mJovairClick"));
        expectWindowsDone();
        const QStringList pdfs = newPdfFiles();
        const QString number = printedOnce(pdfs);
        // A correction takes the next invoice number.
        EXPECT_TRUE(number.startsWith(QStringLiteral("SZA%1/").arg(now.date().year()))) << number.toStdString();
        expectTexts(pdfText(pdfs.value(0)), {QStringLiteral("HELYESBÍTŐ SZÁMLA"), number,
                                             QStringLiteral("Készült a %1 számla alapján.").arg(source), hammer, book});
        const auto b = books();
        EXPECT_EQ(records(b->SzamlaTable(), H::SZAMLASZAM, number, {H::SZAMLATIP, H::PARTNERKOD, H::FIZMOD}),
                  QStringList(QStringLiteral("SZAMLATIP=J PARTNERKOD=1 FIZMOD=Átutalás")));
        EXPECT_EQ(lines(*b, number), (QStringList{QStringLiteral("MENNYISEG=-2 AFA=5 MEGNEVEZES=") + book,
                                                  QStringLiteral("MENNYISEG=-3 AFA=27 MEGNEVEZES=") + hammer,
                                                  QStringLiteral("MENNYISEG=1 AFA=27 MEGNEVEZES=") + hammer}));
        EXPECT_EQ(movements(*b, number), (QStringList{QStringLiteral("tipus=JÓV mennyiseg=-2 tetel=") + book,
                                                      QStringLiteral("tipus=JÓV mennyiseg=-3 tetel=") + hammer,
                                                      QStringLiteral("tipus=JÓV mennyiseg=1 tetel=") + hammer}));
        EXPECT_EQ(stockOf(*b, hammer), hammers + 3 - 1);
        EXPECT_EQ(stockOf(*b, book), guides + 2);
        EXPECT_EQ(records(b->SzamlaTable(), H::SZAMLASZAM, source, {H::SZAMLATIP, H::ALLAPOT}),
                  QStringList(QStringLiteral("SZAMLATIP=B ALLAPOT=számlázva")));
    }

    // The numbers a list of the register shows, opened by its main-window command.
    QStringList listed(shell::TForm1& form, const QString& handler, const QString& caption, const QString& shot) {
        QStringList numbers;
        windows.expect(QStringLiteral("TSzamlak"), [&](QWidget& list) {
            EXPECT_EQ(list.windowTitle(), caption);
            const QAbstractItemModel* model = child<QTableView>(list, QStringLiteral("documentGrid"))->model();
            for (int row = 0; row < model->rowCount(); ++row)
                numbers << model->index(row, 1).data().toString().trimmed();
            screenshot(shot);
            click(list, QStringLiteral("closePushButton"));
        });
        command(form, handler);
        expectWindowsDone();
        expectPrompts({});
        return numbers;
    }

    // The register's other lists: today's unpaid invoices, the proformas and the cash sales.
    void registerLists(shell::TForm1& form) {
        SCOPED_TRACE("register lists");
        const int year = now.date().year();
        const QStringList unpaid = listed(form, QStringLiteral("mSzamlakFizetetlenClick"),
                                          QStringLiteral("Fizetetlen számlák"), QStringLiteral("fizetetlen-szamlak"));
        // Paid or cancelled invoices are not owed.
        for (const QString& gone : {QStringLiteral("SZA%1/00007").arg(year), QStringLiteral("SZA%1/00008").arg(year),
                                    QStringLiteral("SZA%1/00009").arg(year)})
            EXPECT_FALSE(unpaid.contains(gone)) << gone.toStdString();
        const auto b = books();
        TableHandle& headers = b->SzamlaTable();
        QStringList owed;
        for (headers.first(); !headers.eof(); headers.next())
            if (headers.asString(H::SZAMLATIP).trimmed() == QStringLiteral("B") && !headers.asLogical(H::FIZETVE))
                owed << headers.asString(H::SZAMLASZAM).trimmed();
        for (const QString& number : owed) EXPECT_TRUE(unpaid.contains(number)) << number.toStdString();
        EXPECT_FALSE(owed.isEmpty());

        const QStringList proformas = listed(form, QStringLiteral("mProformaClick"), QStringLiteral("Proforma számlák"),
                                             QStringLiteral("proformak"));
        EXPECT_TRUE(proformas.contains(QStringLiteral("PRO%1/00002").arg(year))) << proformas.join(u' ').toStdString();
        for (const QString& number : proformas)
            EXPECT_TRUE(number.startsWith(QStringLiteral("PRO"))) << number.toStdString();

        const QStringList sales = listed(form, QStringLiteral("mEladasokClick"),
                                         QStringLiteral("Pénztárgépes értékesítések"), QStringLiteral("eladasok"));
        EXPECT_TRUE(sales.contains(QStringLiteral("PGÉ%1/00003").arg(year))) << sales.join(u' ').toStdString();
    }

    // "Partner statisztika": today's invoices of the business buyer, chosen in the partner
    // register from the name box, collected, then printed from the preview.
    void partnerStatistics(shell::TForm1& form) {
        SCOPED_TRACE("partner statistics");
        QStringList shown;
        QString total;
        windows.expect(QStringLiteral("TPartnerStatForm"), [&](QWidget& window) {
            child<QTabWidget>(window, QStringLiteral("tabs"))->setCurrentIndex(1);
            settle();
            windows.expect(QStringLiteral("TPartnerForm"), [this](QWidget& partners) {
                // The buyer's overdue invoices are shown at the choice here too.
                windows.expect(QStringLiteral("Ttartozasform"),
                               [](QWidget& debts) { click(debts, QStringLiteral("continuePushButton")); });
                typeInto(*child<QLineEdit>(partners, QStringLiteral("quickSearchLineEdit")),
                         QStringLiteral("Kovács és"));
                settle();
                click(partners, QStringLiteral("acceptPushButton"));
            });
            QTest::mouseClick(child<QLineEdit>(window, QStringLiteral("invoicesPartnerName")), Qt::LeftButton);
            settle();
            EXPECT_EQ(child<QLineEdit>(window, QStringLiteral("invoicesPartnerName"))->text(),
                      QStringLiteral("Kovács és Társa Kft."));
            click(window, QStringLiteral("invoicesCollect"));
            const QAbstractItemModel* model = child<QTableView>(window, QStringLiteral("invoicesGrid"))->model();
            for (int row = 0; row < model->rowCount(); ++row) shown << model->index(row, 0).data().toString().trimmed();
            total = child<QLabel>(window, QStringLiteral("invoicesTotal"))->text();
            screenshot(QStringLiteral("partner-statisztika"));
            expectPrintedFromPreview();
            click(window, QStringLiteral("invoicesPrint"));
            click(window, QStringLiteral("invoicesClose"));
        });
        command(form, QStringLiteral("TBItem36Click"));
        expectWindowsDone();
        const QStringList pdfs = newPdfFiles();
        expectPrompts({printedText(pdfs)});
        // The buyer's standing invoices of today, read from the tables: storno, corrective and
        // cash-register documents are not its invoices.
        const auto b = books();
        TableHandle& headers = b->SzamlaTable();
        QStringList invoices;
        double net = 0;
        for (headers.first(); !headers.eof(); headers.next())
            if (headers.asString(H::SZAMLATIP).trimmed() == QStringLiteral("B") &&
                headers.asString(H::PARTNERKOD).trimmed() == QStringLiteral("1") &&
                headers.asDate(H::KIALLIT) == now.date()) {
                invoices << headers.asString(H::SZAMLASZAM).trimmed();
                net += headers.asFloat(H::AFAALAP);
            }
        const int year = now.date().year();
        EXPECT_TRUE(invoices.contains(QStringLiteral("SZA%1/00007").arg(year)));
        EXPECT_FALSE(invoices.contains(QStringLiteral("SZA%1/00008").arg(year)));
        shown.sort();
        invoices.sort();
        EXPECT_EQ(shown, invoices);
        EXPECT_EQ(QString(total).remove(QLatin1Char(' ')).remove(QChar(0xA0)), QString::number(qRound64(net)));
        ASSERT_EQ(pdfs.size(), 1);
        expectTexts(pdfText(pdfs.value(0)), QStringList{QStringLiteral("Kovács és Társa Kft.")} + invoices);
    }

    // "Garancialevél" from the transfer invoice, picked by a double click on the invoice box: the
    // buyer and one line a piece of its goods are copied, and the certificate is printed.
    void warrantyCertificate(shell::TForm1& form) {
        SCOPED_TRACE("warranty certificate");
        const QString invoice = QStringLiteral("SZA%1/00007").arg(now.date().year());
        windows.expect(QStringLiteral("TGaranciaForm"), [&](QWidget& editor) {
            windows.expect(QStringLiteral("TSzamlak"), [&](QWidget& list) {
                child<QLineEdit>(list, QStringLiteral("searchLineEdit"))->setText(invoice);
                settle();
                click(list, QStringLiteral("choosePushButton"));
            });
            QTest::mouseDClick(child<QLineEdit>(editor, QStringLiteral("invoiceLineEdit")), Qt::LeftButton);
            settle();
            EXPECT_EQ(child<QLineEdit>(editor, QStringLiteral("invoiceLineEdit"))->text(), invoice);
            EXPECT_EQ(child<QLineEdit>(editor, QStringLiteral("partnerLineEdit"))->text(),
                      QStringLiteral("Kovács és Társa Kft."));
            screenshot(QStringLiteral("garancialevel"));
            prompt.answerCopies(1);
            click(editor, QStringLiteral("printPushButton"));
        });
        command(form, QStringLiteral("GaranciaNew"));
        expectWindowsDone();
        const QStringList pdfs = newPdfFiles();
        const QString number = printedOnce(pdfs);
        namespace G = fields::Garancia;
        namespace G2 = fields::Garancia2;
        const auto b = books();
        EXPECT_EQ(records(b->GaranciaTable(), G::SZAMLASZAM, invoice, {G::SORSZAM, G::NEV}),
                  QStringList(QStringLiteral("SORSZAM=%1 NEV=Kovács és Társa Kft.").arg(number)));
        QStringList pieces = records(b->Garancia2Table(), G2::SORSZAM, number, {G2::MENNYISEG, G2::MEGNEVEZES});
        pieces.sort();
        EXPECT_EQ(pieces, (QStringList{QStringLiteral("MENNYISEG=1 MEGNEVEZES=Barkácskalauz (könyv)"),
                                       QStringLiteral("MENNYISEG=1 MEGNEVEZES=Barkácskalauz (könyv)"),
                                       QStringLiteral("MENNYISEG=1 MEGNEVEZES=Kalapács 500 g"),
                                       QStringLiteral("MENNYISEG=1 MEGNEVEZES=Kalapács 500 g"),
                                       QStringLiteral("MENNYISEG=1 MEGNEVEZES=Kalapács 500 g")}));
        expectTexts(pdfText(pdfs.value(0)),
                    {number, invoice, QStringLiteral("Kovács és Társa Kft."), QStringLiteral("Kalapács 500 g"),
                     QStringLiteral("Barkácskalauz (könyv)")});
    }

    // "Leltárfelvételi ív": the stock sheet printed from its preview carries the day's stock.
    void stockReport(shell::TForm1& form) {
        SCOPED_TRACE("stock report");
        expectPrintedFromPreview(QStringLiteral("leltar"));
        command(form, QStringLiteral("bKeszletClick"));
        expectWindowsDone();
        const QStringList pdfs = newPdfFiles();
        expectPrompts({printedText(pdfs)});
        ASSERT_EQ(pdfs.size(), 1);
        // The hammers and guides after the sale and its correction, as the products hold them.
        const auto b = books();
        expectTexts(
            pdfText(pdfs[0]),
            {QStringLiteral("Készletjelentés / leltárfelvételi ív"),
             QStringLiteral("KSZ-0001 Kalapács 500 g 3001 %1 db").arg(stockOf(*b, QStringLiteral("Kalapács 500 g"))),
             QStringLiteral("KIA-0001 Barkácskalauz (könyv) 4200 %1 db")
                 .arg(stockOf(*b, QStringLiteral("Barkácskalauz (könyv)")))});
    }

    // "Munkalap": a repair call written up and kept with "Kilépés mentéssel".
    void worksheet(shell::TForm1& form) {
        SCOPED_TRACE("worksheet");
        windows.expect(QStringLiteral("TMunkalapForm"), [this](QWidget& sheet) {
            // The partner box opens the partner register.
            windows.expect(QStringLiteral("TPartnerForm"), [](QWidget& partners) {
                typeInto(*child<QLineEdit>(partners, QStringLiteral("quickSearchLineEdit")), QStringLiteral("Varga"));
                settle();
                click(partners, QStringLiteral("acceptPushButton"));
            });
            QTest::mouseClick(child<QLineEdit>(sheet, QStringLiteral("partnerLineEdit")), Qt::LeftButton);
            settle();
            typeInto(*child<QWidget>(sheet, QStringLiteral("faultTextEdit")), QStringLiteral("A fúró nem indul."));
            typeInto(*child<QWidget>(sheet, QStringLiteral("workTextEdit")), QStringLiteral("Kapcsoló cseréje."));
            typeInto(*child<QLineEdit>(sheet, QStringLiteral("hoursLineEdit")), QStringLiteral("2"));
            click(sheet, QStringLiteral("savePushButton"));
        });
        command(form, QStringLiteral("MunkalapNew"));
        expectWindowsDone();
        expectPrompts({});
        namespace M = fields::Munkalap;
        EXPECT_EQ(records(books()->handle(TableId::Munkalap), M::HIBA, QStringLiteral("A fúró nem indul."),
                          {M::SORSZAM, M::NEV, M::VAROS, M::MUNKA, M::MUNKAORA, M::UGYINT}),
                  QStringList(QStringLiteral("SORSZAM=MUN%1/00001 NEV=Varga Ferencné VAROS=Miskolc "
                                             "MUNKA=Kapcsoló cseréje. MUNKAORA=2 UGYINT=Rendszergazda")
                                  .arg(now.date().year())));
    }

    // "Partnerek", "Új partner": a new business buyer typed in and accepted; it takes the next
    // partner code and the group of the list's tab.
    void newPartner(shell::TForm1& form) {
        SCOPED_TRACE("new partner");
        windows.expect(QStringLiteral("TPartnerForm"), [this](QWidget& partners) {
            windows.expect(QStringLiteral("TPartnerSzerk"), [](QWidget& editor) {
                typeInto(*child<QLineEdit>(editor, QStringLiteral("nameLineEdit")),
                         QStringLiteral("Fehér Bútorműhely Kft."));
                typeInto(*child<QLineEdit>(editor, QStringLiteral("billingPostcodeLineEdit")), QStringLiteral("6725"));
                typeInto(*child<QLineEdit>(editor, QStringLiteral("billingTownLineEdit")), QStringLiteral("Szeged"));
                typeInto(*child<QLineEdit>(editor, QStringLiteral("billingStreetLineEdit")),
                         QStringLiteral("Kossuth Lajos sugárút 12."));
                typeInto(*child<QLineEdit>(editor, QStringLiteral("taxNumberLineEdit")),
                         QStringLiteral("24681353-2-06"));
                click(editor, QStringLiteral("acceptPushButton"));
            });
            click(partners, QStringLiteral("newPushButton"));
            click(partners, QStringLiteral("closePushButton"));
        });
        command(form, QStringLiteral("Partnerek"));
        expectWindowsDone();
        expectPrompts({});
        EXPECT_EQ(records(books()->PartnerTable(), fields::Partner::NEV, QStringLiteral("Fehér Bútorműhely Kft."),
                          {fields::Partner::PARTNERKOD, fields::Partner::IRSZAM, fields::Partner::VAROS,
                           fields::Partner::UTCA, fields::Partner::ADOSZAM}),
                  QStringList(QStringLiteral("PARTNERKOD=13 IRSZAM=6725 VAROS=Szeged UTCA=Kossuth Lajos sugárút 12. "
                                             "ADOSZAM=24681353-2-06")));
    }

    // "Termékek", "Új": a new product typed in and accepted; it takes the next product code.
    void newProduct(shell::TForm1& form) {
        SCOPED_TRACE("new product");
        windows.expect(QStringLiteral("TAnyagForm"), [this](QWidget& products) {
            windows.expect(QStringLiteral("TAnyagSzerk"), [](QWidget& editor) {
                auto* name = child<QLineEdit>(editor, QStringLiteral("nameLineEdit"));
                name->clear();
                typeInto(*name, QStringLiteral("Csiszolópapír P120, 10 ív"));
                auto* unit = child<QComboBox>(editor, QStringLiteral("unitComboBox"));
                unit->setCurrentIndex(unit->findText(QStringLiteral("csomag")));
                typeInto(*child<QLineEdit>(editor, QStringLiteral("minimumLineEdit")), QStringLiteral("5"));
                click(editor, QStringLiteral("acceptPushButton"));
            });
            // A new product is offered for receiving at once; it comes with tomorrow's delivery.
            windows.expect(QStringLiteral("TBevetelez"),
                           [](QWidget& receipt) { click(receipt, QStringLiteral("rejectPushButton")); });
            click(products, QStringLiteral("newPushButton"));
            click(products, QStringLiteral("closePushButton"));
        });
        command(form, QStringLiteral("Anyagok"));
        expectWindowsDone();
        expectPrompts({});
        EXPECT_EQ(records(books()->AnyagTable(), fields::Anyag::MEGNEVEZES, QStringLiteral("Csiszolópapír P120, 10 ív"),
                          {fields::Anyag::ANYAGKOD, fields::Anyag::EGYSEG, fields::Anyag::MINMENNY,
                           fields::Anyag::AFAKULCS, fields::Anyag::MENNYISEG}),
                  QStringList(QStringLiteral("ANYAGKOD=52 EGYSEG=csomag MINMENNY=5 AFAKULCS=27 MENNYISEG=0")));
    }

    void transferInvoice(shell::TForm1& form) {
        SCOPED_TRACE("invoice by transfer");
        windows.expect(QStringLiteral("TSzamlaForm"), [this](QWidget& editor) {
            choosePartner(editor, QStringLiteral("Kovács és"), true);
            choosePayment(editor, QStringLiteral("Átutalás"));
            child<QSpinBox>(editor, QStringLiteral("discountSpinBox"))->setValue(10);
            addLines(editor, {{0, QStringLiteral("Kalapács"), QStringLiteral("3")},
                              {0, QStringLiteral("Barkácskalauz"), QStringLiteral("2")}});
            // Nothing is handed over for a transfer invoice, so no change is due.
            EXPECT_EQ(child<QLabel>(editor, QStringLiteral("changeLabel"))->text(), QStringLiteral("0"));
            screenshot(QStringLiteral("szamla-szerkeszto"));
            windows.expect(QStringLiteral("PreviewWindow"), [this](QWidget& preview) {
                screenshot(QStringLiteral("szamla-elonezet"));
                click(preview, QStringLiteral("closeButton"));
            });
            click(editor, QStringLiteral("previewPushButton"));
            prompt.answerCopies(2);
            click(editor, QStringLiteral("printPushButton"));
        });
        command(form, QStringLiteral("SzamlaNew"));
        expectWindowsDone();
        const QString number = QStringLiteral("SZA%1/00007").arg(now.date().year());
        const QString today = now.date().toString(QStringLiteral("yyyy.MM.dd"));
        const QStringList pdfs = newPdfFiles();
        expectPrompts({QStringLiteral("copies|none|||2"), printedText(pdfs)});
        ASSERT_EQ(pdfs.size(), 2);
        for (const auto& [pdf, copy] : {std::pair{pdfs[0], "Eredeti példány"}, {pdfs[1], "Másolati példány"}})
            expectTexts(pdfText(pdf), {QString::fromUtf8(copy), number, QStringLiteral("Kovács és Társa Kft."),
                                       QStringLiteral("Átutalás"), QStringLiteral("Kalapács 500 g"),
                                       QStringLiteral("Barkácskalauz (könyv)"), QStringLiteral("Kedvezmény"),
                                       QStringLiteral("15 034 Ft"), QStringLiteral("azaz tizenötezer-harmincnégy Ft")});
        const auto b = books();
        EXPECT_EQ(records(b->SzamlaTable(), H::SZAMLASZAM, number,
                          {H::SZAMLATIP, H::PARTNERKOD, H::FIZMOD, H::KIALLIT, H::AFAALAP, H::FIZETENDO, H::FIZETVE,
                           H::KEDVEZMENY, H::PRINT}),
                  QStringList(QStringLiteral("SZAMLATIP=B PARTNERKOD=1 FIZMOD=Átutalás KIALLIT=%1 AFAALAP=13035 "
                                             "FIZETENDO=15034 FIZETVE=F KEDVEZMENY=10 PRINT=2")
                                  .arg(today)));
        EXPECT_EQ(lines(*b, number), (QStringList{QStringLiteral("MENNYISEG=2 AFA=5 MEGNEVEZES=Barkácskalauz (könyv)"),
                                                  QStringLiteral("MENNYISEG=3 AFA=27 MEGNEVEZES=Kalapács 500 g")}));
        EXPECT_EQ(movements(*b, number),
                  (QStringList{QStringLiteral("tipus=ELS mennyiseg=2 tetel=Barkácskalauz (könyv)"),
                               QStringLiteral("tipus=ELS mennyiseg=3 tetel=Kalapács 500 g")}));
        EXPECT_EQ(stockOf(*b, QStringLiteral("Kalapács 500 g")), 24 - 3);
        EXPECT_EQ(stockOf(*b, QStringLiteral("Barkácskalauz (könyv)")), 10 - 2);
    }

    void cashSale(shell::TForm1& form) {
        SCOPED_TRACE("cash sale");
        const auto before = books();
        const double screws = stockOf(*before, QStringLiteral("Hatlapfejű csavar M8x40"));
        QString payable, change;
        windows.expect(QStringLiteral("TSzamlaForm"), [&](QWidget& editor) {
            addLines(editor, {{0, QStringLiteral("Hatlapfejű csavar"), QStringLiteral("1,3")}});
            auto* handed = child<QLineEdit>(editor, QStringLiteral("handedOverLineEdit"));
            typeInto(*handed, QStringLiteral("5000"));
            settle();
            screenshot(QStringLiteral("penztargepes-eladas"));
            payable = child<QLabel>(editor, QStringLiteral("payableLabel"))->text();
            change = child<QLabel>(editor, QStringLiteral("changeLabel"))->text();
            prompt.answerCopies(1);
            click(editor, QStringLiteral("printPushButton"));
        });
        command(form, QStringLiteral("bEladasClick"));
        expectWindowsDone();
        // 1,3 kg at 3 795 Ft gross is 4 933,50 Ft, paid in cash to the nearest 5 Ft.
        EXPECT_EQ(payable, QStringLiteral("4 935"));
        EXPECT_EQ(change, QStringLiteral("65"));
        const QString number = QStringLiteral("PGÉ%1/00003").arg(now.date().year());
        const QStringList pdfs = newPdfFiles();
        expectPrompts({QStringLiteral("copies|none|||2"), printedText(pdfs)});
        ASSERT_EQ(pdfs.size(), 1);
        expectTexts(pdfText(pdfs.value(0)),
                    {QStringLiteral("Pénztárgépes értékesítés"), number, QStringLiteral("Hatlapfejű csavar M8x40"),
                     QStringLiteral("4 933,50 Ft"), QStringLiteral("kerekítésből adódó eltérés: 1,50 Ft"),
                     QStringLiteral("Fizetendő: 4 935 Ft")});
        const auto b = books();
        EXPECT_EQ(records(b->SzamlaTable(), H::SZAMLASZAM, number, {H::SZAMLATIP, H::FIZMOD, H::FIZETENDO, H::FIZETVE}),
                  QStringList(QStringLiteral("SZAMLATIP=1 FIZMOD= FIZETENDO=4935 FIZETVE=T")));
        EXPECT_EQ(movements(*b, number),
                  QStringList(QStringLiteral("tipus=ELT mennyiseg=1.3 tetel=Hatlapfejű csavar M8x40")));
        EXPECT_DOUBLE_EQ(stockOf(*b, QStringLiteral("Hatlapfejű csavar M8x40")), screws - 1.3);
    }

    // A proforma to a business buyer: numbered in its own series, moves no stock.
    void proforma(shell::TForm1& form) {
        SCOPED_TRACE("proforma");
        windows.expect(QStringLiteral("TSzamlaForm"), [&](QWidget& editor) {
            choosePartner(editor, QStringLiteral("Szabó Épít"), true);
            addLines(editor, {{0, QStringLiteral("Ütvefúrógép"), QStringLiteral("1")}});
            prompt.answerCopies(1);
            click(editor, QStringLiteral("printPushButton"));
        });
        const double drills = stockOf(*books(), QStringLiteral("Ütvefúrógép 750 W"));
        command(form, QStringLiteral("bProformaClick"));
        expectWindowsDone();
        const QStringList pdfs = newPdfFiles();
        expectPrompts({QStringLiteral("copies|none|||2"), printedText(pdfs)});
        ASSERT_EQ(pdfs.size(), 1);
        const QString number = QStringLiteral("PRO%1/00002").arg(now.date().year());
        expectTexts(pdfText(pdfs.value(0)),
                    {number, QStringLiteral("Szabó Építőipari Bt."), QStringLiteral("Ütvefúrógép 750 W")});
        const auto b = books();
        EXPECT_EQ(records(b->SzamlaTable(), H::SZAMLASZAM, number, {H::SZAMLATIP, H::PARTNERKOD}),
                  QStringList(QStringLiteral("SZAMLATIP=P PARTNERKOD=2")));
        EXPECT_EQ(movements(*b, number), QStringList());
        EXPECT_EQ(stockOf(*b, QStringLiteral("Ütvefúrógép 750 W")), drills);
    }

    // "Számlák" from the main window's list menu: the invoice found by its number typed into the
    // search box, the work done on it, then the register closed.
    void inRegister(shell::TForm1& form, const QString& number, const std::function<void(QWidget&)>& work) {
        windows.expect(QStringLiteral("TSzamlak"), [&, number](QWidget& list) {
            child<QLineEdit>(list, QStringLiteral("searchLineEdit"))->setText(number);
            settle();
            screenshot(QStringLiteral("szamlak"));
            work(list);
            click(list, QStringLiteral("closePushButton"));
        });
        command(form, QStringLiteral("SzamlakMenu"));
        expectWindowsDone();
    }

    void payTransferInvoice(shell::TForm1& form) {
        SCOPED_TRACE("payment");
        const QString number = QStringLiteral("SZA%1/00007").arg(now.date().year());
        const QString today = now.date().toString(QStringLiteral("yyyy.MM.dd"));
        inRegister(form, number, [&](QWidget& list) {
            windows.expect(QStringLiteral("paymentDialog"), [&](QWidget& dialog) {
                EXPECT_EQ(child<QLineEdit>(dialog, QStringLiteral("numberLineEdit"))->text(), number);
                auto* date = child<QLineEdit>(dialog, QStringLiteral("paymentDateLineEdit"));
                date->selectAll();
                typeInto(*date, today);
                click(dialog, QStringLiteral("acceptPushButton"));
            });
            click(list, QStringLiteral("paymentPushButton"));
        });
        expectPrompts({});
        EXPECT_EQ(records(books()->SzamlaTable(), H::SZAMLASZAM, number, {H::FIZETVE, H::FIZDATUM}),
                  QStringList(QStringLiteral("FIZETVE=T FIZDATUM=%1").arg(today)));
    }

    // "&Másolat" in the register: one more copy of the invoice, its serial raised.
    void reprintCopy(shell::TForm1& form) {
        SCOPED_TRACE("copy");
        const QString number = QStringLiteral("SZA%1/00007").arg(now.date().year());
        inRegister(form, number, [&](QWidget& list) {
            prompt.answerYesNo(true);
            click(list, QStringLiteral("copyPushButton"));
        });
        const QStringList pdfs = newPdfFiles();
        ASSERT_EQ(pdfs.size(), 1);
        const QStringList seen = prompt.transcript().mid(int(prompt.transcript().size()) - 2);
        expectPrompts({seen.value(0), printedText(pdfs)});
        EXPECT_TRUE(seen.value(0).startsWith(QStringLiteral("yes/no|"))) << seen.value(0).toStdString();
        // An invoice's copy counts twice: the copy printed and the one kept with it.
        expectTexts(pdfText(pdfs.value(0)),
                    {number, QStringLiteral("Másolat"), QStringLiteral("Az eredetivel megegyező hiteles másolat"),
                     QStringLiteral("4. példány"), QStringLiteral("15 034 Ft")});
        EXPECT_EQ(records(books()->SzamlaTable(), H::SZAMLASZAM, number, {H::PRINT}),
                  QStringList(QStringLiteral("PRINT=4")));
    }

    // "Napi forgalomkimutatás" of today: the statistics shown in the preview and printed from it
    // on the built-in PDF printer.
    void dailyTurnover(shell::TForm1& form) {
        SCOPED_TRACE("daily turnover");
        QStringList chart;
        windows.expect(QStringLiteral("TurnoverWindow"), [&](QWidget& window) {
            expectPrintedFromPreview(QStringLiteral("napi-forgalom"),
                                     [&](QWidget& preview) { chart = barsOf(preview); });
            click(window, QStringLiteral("runButton"));
            click(window, QStringLiteral("quitButton"));
        });
        command(form, QStringLiteral("TBItem21Click"));
        expectWindowsDone();
        const QStringList pdfs = newPdfFiles();
        expectPrompts({printedText(pdfs)});
        ASSERT_EQ(pdfs.size(), 1);
        const int year = now.date().year();
        // Today's standing documents by payment: the cancelled invoices are left out.
        const QString text = pdfText(pdfs.value(0));
        // The transfer invoice's VAT breakdown is after its 10 % discount, as on the invoice.
        expectTexts(
            text,
            {QStringLiteral("Átutalásos számlák"), QStringLiteral("SZA%1/00007").arg(year),
             QStringLiteral("Összesen: 15 034,00 Ft"), QStringLiteral("6912 5 345,6 7257,6"),
             QStringLiteral("6122,8346 27 1653,1654 7776"), QStringLiteral("ÖSSZESÍTÉS 13034,8346 1998,7654 15033,6"),
             QStringLiteral("Pénztárgépes értékesítések"), QStringLiteral("PGÉ%1/00003").arg(year),
             QStringLiteral("Összesen: 4 935,00 Ft"), QStringLiteral("Készpénzes forgalom összesen 4 935,00 Ft")});
        for (const QString& cancelled :
             {QStringLiteral("SZA%1/00008").arg(year), QStringLiteral("SZA%1/00009").arg(year)})
            EXPECT_FALSE(text.contains(cancelled)) << cancelled.toStdString();
        // The chart beside the pages: the day's gross takings by payment, as the pages sum them.
        EXPECT_EQ(chart, (QStringList{QStringLiteral("Forgalom fizetési módonként, %1")
                                          .arg(now.date().toString(QStringLiteral("yyyy.MM.dd"))),
                                      QStringLiteral("Bruttó összeg: Átutalás=15034 Készpénz=0 Pénztárgép=4935")}));
    }

    // "Adatok mentése": the archive's name answered in the file dialog, the backup window runs
    // by itself. Then the archive restored into a new folder of its own with the restore the
    // "Adatok visszatöltése" window runs (the program restores only into its own folder), and
    // every table, memo and index file compared with the working folder's.
    void backupAndRestore(shell::TForm1& form) {
        SCOPED_TRACE("backup and restore");
        const QString archive = QString::fromStdString(program.path()) + QStringLiteral("/mentes.kvb");
        prompt.answerFile(archive);
        windows.expect(QStringLiteral("Tdbsave"), [](QWidget&) {});
        command(form, QStringLiteral("mDataSaveClick"));
        expectWindowsDone();
        ASSERT_TRUE(QFileInfo::exists(archive));
        expectPrompts({QStringLiteral("file|none|Adatok mentése|Kavina backup (*.kvb);;Minden fájl (*)")});

        const std::string copy = program.path() + "/visszatoltve";
        createDataFolder(copy);
        TDataModule1 restored;
        restored.open(copy);
        ScriptedPrompt restorePrompt;
        EXPECT_TRUE(maintenance::DataRestore(restored, restorePrompt).run(archive));
        EXPECT_EQ(restorePrompt.transcript(), QStringList());
        restored.close();
        const QDir working(dataFolder()), copied(QString::fromStdString(copy));
        const QStringList tables{QStringLiteral("*.dbf"), QStringLiteral("*.dbt"), QStringLiteral("*.mdx")};
        const QStringList names = working.entryList(tables, QDir::Files, QDir::Name);
        EXPECT_EQ(copied.entryList(tables, QDir::Files, QDir::Name), names);
        for (const QString& name : names)
            EXPECT_EQ(fileBytes(working.filePath(name)), fileBytes(copied.filePath(name))) << name.toStdString();
        EXPECT_EQ(testing_support::checkAllTables(copy), std::vector<std::string>{});
    }

    static QByteArray fileBytes(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // "Táblák újraindexelése": the reindex window runs by itself.
    void reindex(shell::TForm1& form) {
        SCOPED_TRACE("reindex");
        windows.expect(QStringLiteral("Tindexform"), [](QWidget&) {});
        command(form, QStringLiteral("reindex"));
        expectWindowsDone();
        expectPrompts({});
    }

    // An invoice of one line to the first buyer, paid in cash; its number.
    QString quickInvoice(shell::TForm1& form, const QString& product, const QString& quantity) {
        windows.expect(QStringLiteral("TSzamlaForm"), [&](QWidget& editor) {
            choosePartner(editor, QStringLiteral("Kovács és"), true);
            choosePayment(editor, QStringLiteral("Készpénz"));
            addLines(editor, {{0, product, quantity}});
            prompt.answerCopies(1);
            click(editor, QStringLiteral("printPushButton"));
        });
        command(form, QStringLiteral("SzamlaNew"));
        expectWindowsDone();
        return printedOnce(newPdfFiles());
    }

    // Storno or spoiling of a stored invoice through its window: the invoice takes the
    // cancelled type and its goods come back into stock.
    void cancelInvoice(shell::TForm1& form, const QString& number, bool spoil) {
        SCOPED_TRACE(spoil ? "spoil" : "storno");
        auto b = books();
        const QStringList soldLines = lines(*b, number);
        ASSERT_FALSE(soldLines.isEmpty());
        std::map<QString, double> stockBefore;
        for (const QString& line : soldLines) {
            const QString name = line.section(QStringLiteral("MEGNEVEZES="), 1);
            stockBefore[name] = stockOf(*b, name);
        }
        inRegister(form, number, [&](QWidget& list) {
            windows.expect(spoil ? QStringLiteral("spoilDialog") : QStringLiteral("stornoDialog"),
                           [&](QWidget& dialog) {
                               EXPECT_EQ(child<QLineEdit>(dialog, QStringLiteral("numberLineEdit"))->text(), number);
                               prompt.answerCopies(1);
                               click(dialog, QStringLiteral("acceptPushButton"));
                           });
            click(list, spoil ? QStringLiteral("spoilPushButton") : QStringLiteral("stornoPushButton"));
        });
        const QStringList pdfs = newPdfFiles();
        expectPrompts({QStringLiteral("copies|none|||2"), printedText(pdfs)});
        ASSERT_EQ(pdfs.size(), 1);
        expectTexts(pdfText(pdfs.value(0)), {number, QStringLiteral("Másolati példány")});
        b = books();
        EXPECT_EQ(records(b->SzamlaTable(), H::SZAMLASZAM, number, {H::SZAMLATIP}),
                  QStringList(QStringLiteral("SZAMLATIP=S")));
        for (const QString& line : soldLines) {
            const QString name = line.section(QStringLiteral("MEGNEVEZES="), 1);
            const double quantity = line.section(QLatin1Char(' '), 0, 0).section(QLatin1Char('='), 1).toDouble();
            EXPECT_DOUBLE_EQ(stockOf(*b, name), stockBefore[name] + quantity) << name.toStdString();
        }
    }
};

TEST_F(ShopDayTest, ADayAtTheShopWithEveryDocument) {
    runDay([&](shell::TForm1& form) {
        screenshot(QStringLiteral("fomenu"));
        receiveGoods(form);
        newPartner(form);
        newProduct(form);
        transferInvoice(form);
        cashSale(form);
        proforma(form);
        payTransferInvoice(form);
        reprintCopy(form);
        const QString toCancel = quickInvoice(form, QStringLiteral("Mérőszalag"), QStringLiteral("2"));
        EXPECT_EQ(toCancel, QStringLiteral("SZA%1/00008").arg(now.date().year()));
        cancelInvoice(form, toCancel, false);
        const QString toSpoil = quickInvoice(form, QStringLiteral("Vízmérték"), QStringLiteral("1"));
        EXPECT_EQ(toSpoil, QStringLiteral("SZA%1/00009").arg(now.date().year()));
        cancelInvoice(form, toSpoil, true);
        dailyTurnover(form);
        offerTurnedIntoInvoice(form);
        deliveryNoteTurnedIntoInvoice(form);
        correctiveInvoice(form);
        registerLists(form);
        partnerStatistics(form);
        warrantyCertificate(form);
        stockReport(form);
        worksheet(form);
        backupAndRestore(form);
        reindex(form);
    });
    EXPECT_EQ(testing_support::checkAllTables(data.path()), std::vector<std::string>{});
}

}  // namespace
}  // namespace kavina::e2e
