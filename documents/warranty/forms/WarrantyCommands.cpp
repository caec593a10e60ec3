#include "documents/warranty/forms/WarrantyCommands.h"

#include "documents/partners/PartnerWindow.h"
#include "documents/partners/forms/TPartnerForm.h"
#include "documents/warranty/WarrantyPrint.h"
#include "documents/warranty/forms/TGaranciaForm.h"
#include "documents/warranty/forms/TGaranciak.h"
#include "report/view/PreviewWindow.h"

namespace kavina::documents {

namespace {

std::unique_ptr<report::Layout> layoutOf(const WarrantyCommandContext& context, WarrantyDocument& certificate) {
    TableHandle& settings = context.data.UserTable();
    settings.refresh();
    settings.first();
    return TGaranciar(certificate, warrantySeller(settings, QString::fromStdString(context.data.dataFolder())),
                      context.currentUser(), context.webAddress);
}

class QtWarrantyWindows final : public WarrantyWindows {
public:
    QtWarrantyWindows(const WarrantyCommandContext& context, QWidget* parent) : m_context(context), m_parent(parent) {}

    bool pickPartner() override {
        PartnerFormOptions options;
        options.caller = PartnerCaller::Warranty;
        options.showPriceGroups = m_context.showPriceGroups();
        options.printing = m_context.printing();
        options.currentUser = m_context.currentUser();
        options.webAddress = m_context.webAddress;
        TPartnerForm form(m_parent, m_context.data, m_context.prompt, options);
        return form.exec() == QDialog::Accepted;
    }
    std::optional<QString> pickInvoice() override {
        return m_context.pickInvoice ? m_context.pickInvoice(m_parent) : std::nullopt;
    }
    bool pickLines(WarrantyDocument& certificate) override {
        return m_context.pickLines && m_context.pickLines(m_parent, certificate);
    }
    void preview(const WarrantyDocument& certificate) override {
        report::PrintService* printing = m_context.printing();
        if (!printing) return;
        WarrantyDocument copy;
        copy.gari.loadAll(const_cast<MemTable&>(certificate.gari));
        copy.gari2.loadAll(const_cast<MemTable&>(certificate.gari2));
        copy.gari.first();
        const report::PreparedReport pages = layoutOf(m_context, copy)->prepare();
        report::PreviewWindow window(pages, m_context.prompt, *printing,
                                     {.pdfFileName = QStringLiteral("garancialevel.pdf")}, m_parent);
        window.exec();
    }
    void print(const QString& number, int copies) override { printWarranty(m_context, number, copies); }

private:
    const WarrantyCommandContext& m_context;
    QWidget* m_parent;
};

}  // namespace

void printWarranty(const WarrantyCommandContext& context, const QString& number, int copies) {
    WarrantyDocument certificate;
    if (!loadWarranty(context.data, number, certificate)) return;
    report::PrinterChoice choice = context.printer();
    choice.documentName = number;
    report::ReportPrinter printer(choice);
    const QStringList files = printer.print(layoutOf(context, certificate)->prepare(), copies);
    if (!files.isEmpty()) context.prompt.information(QStringLiteral("Nyomtatás"), report::pdfPrintedText(files));
}

void runWarrantyEditor(const WarrantyCommandContext& context, QWidget* parent, const QString& number) {
    QtWarrantyWindows windows(context, parent);
    WarrantyEditor editor({context.data, context.prompt, windows, context.currentUser(), context.today});
    if (number.isEmpty())
        editor.openNew();
    else if (!editor.openStored(number))
        return;
    TGaranciaForm form(parent, editor, context.prompt);
    form.exec();
}

void addWarrantyCommands(const AddWarrantyCommand& add, const WarrantyCommandContext& context) {
    add(QStringLiteral("GaranciaNew"), [context] { runWarrantyEditor(context, context.parent()); });
    add(QStringLiteral("mModGaranciaClick"), [context] {
        QString number;
        {
            TGaranciak choice(context.parent(), context, TGaranciak::Mode::Choose);
            if (choice.exec() == QDialog::Accepted) number = choice.currentNumber();
        }
        if (!number.isEmpty()) runWarrantyEditor(context, context.parent(), number);
    });
    add(QStringLiteral("GaranciakMenu"), [context] {
        TGaranciak list(context.parent(), context, TGaranciak::Mode::List);
        list.exec();
    });
}

}  // namespace kavina::documents
