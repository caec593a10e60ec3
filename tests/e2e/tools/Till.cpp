// One till of the two-till test: a workstation of its own on a data folder that stores a
// scripted run of documents through the program's own saves (invoices, cash-register sales,
// goods receipts and stornos of its own invoices), as the clerk's F10 and the register's
// storno store them.
//
//   till FOLDER NAME COUNT SEED PRODUCTS...
//
// NAME is the clerk written into the documents; PRODUCTS the product codes the lines take.
// Each finished document is counted in FOLDER/../NAME.done (one line per document), so that
// a till killed and started again does only what is left. Exits 0 when every document was
// stored, 1 on an error (written to standard error).

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "documents/delivery/DeliverySave.h"
#include "documents/sales/Cancellation.h"
#include "documents/sales/SalesSave.h"
#include "foundation/CatalogueFields.h"
#include "foundation/RuleError.h"
#include "foundation/TDataModule1.h"

namespace {

using namespace kavina;
using namespace kavina::documents;
namespace H = fields::Szamla;
namespace L = fields::Szamla2;

constexpr auto kPatience = std::chrono::milliseconds(60000);

struct Product {
    int code;
    QString name;  // the stock moves for the product of this code and name
};

void fill(MemoryDocument& doc, const QString& partner, const QString& payment, const std::vector<Product>& products,
          std::mt19937& random) {
    doc.emptyAll();
    doc.mszamla.append();
    doc.mszamla.setString(H::NEV, partner);
    doc.mszamla.setString(H::CIM, QStringLiteral("Fő utca 1."));
    doc.mszamla.setString(H::FIZMOD, payment);
    doc.mszamla.setDate(H::KIALLIT, QDate::currentDate());
    doc.mszamla.setDate(H::TELJESIT, QDate::currentDate());
    doc.mszamla.setDate(H::FIZHAT, QDate::currentDate());
    doc.mszamla.post();
    std::uniform_int_distribution<size_t> pick(0, products.size() - 1);
    std::uniform_int_distribution<int> quantity(1, 3);
    const int lines = 1 + int(random() % 3);
    for (int i = 0; i < lines; ++i) {
        const Product& product = products[pick(random)];
        doc.mszamla2.append();
        doc.mszamla2.setFloat(L::ANYAGSZAM, product.code);
        doc.mszamla2.setString(L::MEGNEVEZES, product.name);
        doc.mszamla2.setFloat(L::MENNYISEG, quantity(random));
        doc.mszamla2.setFloat(L::EGYSEGAR, 1000);
        doc.mszamla2.setFloat(L::AFA, 27);
        doc.mszamla2.post();
    }
}

int doneSoFar(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return 0;
    return int(file.readAll().count('\n'));
}

void markDone(const QString& path) {
    QFile file(path);
    if (file.open(QIODevice::Append)) file.write("1\n");
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 6) {
        std::fprintf(stderr, "till FOLDER NAME COUNT SEED PRODUCTS...\n");
        return 2;
    }
    const std::string folder = argv[1];
    const QString name = QString::fromUtf8(argv[2]);
    const int count = std::atoi(argv[3]);
    const QString donePath = QString::fromStdString(folder) + QStringLiteral("/../") + name + QStringLiteral(".done");
    // A restarted till goes on from where it was stopped, with a run of its own.
    const int start = doneSoFar(donePath);
    std::mt19937 random(uint32_t(std::atoi(argv[4]) + start));
    try {
        TDataModule1 data;
        data.open(folder);
        std::vector<Product> products;
        for (int i = 5; i < argc; ++i) {
            TableHandle& register_ = data.AnyagTable();
            if (!register_.locate({{fields::Anyag::ANYAGKOD, QString::fromLatin1(argv[i])}}))
                throw std::runtime_error(std::string("no product ") + argv[i]);
            products.push_back({std::atoi(argv[i]), register_.asString(fields::Anyag::MEGNEVEZES).trimmed()});
        }
        IniFile ini(QString::fromStdString(folder) + QStringLiteral("/../") + name + QStringLiteral(".ini"));
        IniSettings settings;
        SalesSaveContext sales{data, ini, settings, name};
        sales.lockPatience = kPatience;
        SalesStore salesStore(sales);
        DeliverySaveContext receipts{data, name};
        receipts.lockPatience = kPatience;
        DeliveryStore receiptStore(receipts);
        DocumentCancellation cancellation(data, kPatience);
        MemoryDocument doc;
        std::vector<QString> ownInvoices;
        for (int i = start; i < count; ++i) {
            const int kind = int(random() % 10);
            if (kind == 9 && !ownInvoices.empty()) {
                const QString number = ownInvoices[random() % ownInvoices.size()];
                const auto target = cancellation.find(number);
                if (!target) throw std::runtime_error("stored invoice not found: " + number.toStdString());
                try {
                    cancellation.cancel(*target, CancelMode::Invoice, CancelKind::Storno);
                } catch (const RuleError& refused) {
                    if (refused.message() != kAlreadyCancelled) throw;
                }
            } else if (kind >= 7) {
                fill(doc, QStringLiteral("Szállító Kft."), QStringLiteral("Átutalás"), products, random);
                receiptStore.store(doc, DeliveryKind::GoodsReceipt);
            } else if (kind >= 4) {
                fill(doc, QString(), QStringLiteral("Készpénz"), products, random);
                salesStore.store(doc, SalesMode::CashSale, {});
            } else {
                fill(doc, QStringLiteral("Mérleg Kft."), QStringLiteral("Készpénz"), products, random);
                ownInvoices.push_back(salesStore.store(doc, SalesMode::Invoice, {}).number);
            }
            markDone(donePath);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "till %s: %s\n", argv[2], e.what());
        return 1;
    }
    return 0;
}
