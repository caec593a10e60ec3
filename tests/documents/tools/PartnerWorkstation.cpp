// A second workstation for the partner register's process tests: opens the data folder as the
// program does and deletes or changes one partner, found by its name, while the test's own
// process has the partner dialog open on it.
//
//     partner_workstation <folder> delete <name>
//     partner_workstation <folder> phone <name> <new phone>
#include <QCoreApplication>
#include <cstdio>
#include <exception>
#include <string>

#include "foundation/CatalogueFields.h"
#include "foundation/RecordEdit.h"
#include "foundation/TDataModule1.h"

int main(int argc, char** argv) {
    using namespace kavina;
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4 || (args[2] == "phone" && args.size() < 5)) {
        std::fprintf(stderr, "usage: partner_workstation <folder> delete|phone <name> [phone]\n");
        return 2;
    }
    try {
        TDataModule1 data;
        data.open(args[1].toStdString());
        TableHandle& partners = data.PartnerTable();
        if (!partners.locate({{fields::Partner::NEV, args[3]}}, {})) {
            std::fprintf(stderr, "no partner named %s\n", args[3].toUtf8().constData());
            return 3;
        }
        if (args[2] == "delete") {
            partners.deleteRecord();
        } else {
            RecordEdit change = RecordEdit::edit(partners);
            partners.setString(fields::Partner::TELEFON, args[4]);
            change.post();
        }
        data.close();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
