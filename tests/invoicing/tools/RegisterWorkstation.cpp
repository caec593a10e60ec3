// Another workstation for the document register's process tests: opens the data folder as
// the program does and reprints one document again and again from the register, answering
// No to the copy question, so that each reprint raises its serial by one.
//
//     register_workstation <folder> <document number> <reprints>
#include <QCoreApplication>
#include <cstdio>
#include <exception>

#include "foundation/CatalogueFields.h"
#include "foundation/TDataModule1.h"
#include "invoicing/register/DocumentRegister.h"

namespace {

using namespace kavina;
using namespace kavina::invoicing;

class AnswersNo final : public Prompt {
public:
    void message(const QString&, const QString& text, Icon) override {
        std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
    }
    bool askYesNo(const QString&, const QString&, Icon) override { return false; }
    std::optional<QString> askText(const QString&, const QString&, const QString&) override { return std::nullopt; }
    std::optional<int> askCopies(int) override { return std::nullopt; }
    std::optional<QString> chooseFile(const FileChoice&) override { return std::nullopt; }
    std::optional<QString> chooseFolder(const FolderChoice&) override { return std::nullopt; }
};

class NoWindows final : public DocumentWindows {
public:
    bool showRegister(const RegisterRequest&) override { return false; }
    std::optional<AgentData> editAgent(const AgentData&) override { return std::nullopt; }
    void preview(const report::PreparedReport&, const QString&) override {}
    bool print(const report::PreparedReport&, const QString&) override { return false; }
    void printingDone() override {}
    bool cancelCurrent(bool) override { return false; }
    bool payCurrent() override { return false; }
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: register_workstation <folder> <document number> <reprints>\n");
        return 2;
    }
    try {
        TDataModule1 data;
        data.open(args[1].toStdString());
        AnswersNo prompt;
        NoWindows windows;
        RegisterOptions options;
        options.today = [] { return QDate(2008, 3, 15); };
        DocumentRegister documents(data, prompt, windows, {}, options);
        documents.open();
        for (int i = 0; i < args[3].toInt(); ++i) {
            if (!data.SzamlaTable().locate({{fields::Szamla::SZAMLASZAM, args[2]}})) {
                std::fprintf(stderr, "no document numbered %s\n", args[2].toUtf8().constData());
                return 3;
            }
            documents.copy();
        }
        data.close();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
