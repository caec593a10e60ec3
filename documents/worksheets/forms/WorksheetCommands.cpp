#include "documents/worksheets/forms/WorksheetCommands.h"

#include "documents/partners/PartnerWindow.h"
#include "documents/partners/forms/TPartnerForm.h"
#include "documents/worksheets/WorksheetList.h"
#include "documents/worksheets/WorksheetPrint.h"
#include "documents/worksheets/forms/TMunkalapForm.h"
#include "documents/worksheets/forms/TMunkalapok.h"
#include "foundation/CommandBoundary.h"
#include "report/view/PreviewWindow.h"

namespace kavina::documents {

namespace {

std::unique_ptr<report::Layout> layoutOf(const WorksheetCommandContext& context, const WorksheetValues& worksheet) {
    TableHandle& settings = context.data.UserTable();
    settings.refresh();
    settings.first();
    return TMunkalapr(worksheet, worksheetCompany(settings, QString::fromStdString(context.data.dataFolder())),
                      context.webAddress);
}

class QtWorksheetWindows final : public WorksheetWindows {
public:
    QtWorksheetWindows(const WorksheetCommandContext& context, QWidget* parent)
        : m_context(context), m_parent(parent) {}

    bool pickPartner() override { return runPartners(PartnerCaller::Worksheet) == QDialog::Accepted; }

    // The partner window however it closes; its current partner is taken.
    bool addPartner() override {
        runPartners(PartnerCaller::None);
        return !m_context.data.PartnerTable().isEmpty() && !m_context.data.PartnerTable().eof();
    }

    void preview(const WorksheetValues& worksheet) override {
        report::PrintService* printing = m_context.printing();
        if (!printing) return;
        const report::PreparedReport pages = layoutOf(m_context, worksheet)->prepare();
        report::PreviewWindow window(pages, m_context.prompt, *printing,
                                     {.pdfFileName = QStringLiteral("munkalap.pdf")}, m_parent);
        window.exec();
    }

    void print(const WorksheetValues& worksheet, int copies) override { printWorksheets(m_context, worksheet, copies); }

private:
    int runPartners(PartnerCaller caller) {
        PartnerFormOptions options;
        options.caller = caller;
        options.showPriceGroups = m_context.showPriceGroups();
        options.printing = m_context.printing();
        options.currentUser = m_context.currentUser();
        options.webAddress = m_context.webAddress;
        TPartnerForm form(m_parent, m_context.data, m_context.prompt, options);
        return form.exec();
    }

    const WorksheetCommandContext& m_context;
    QWidget* m_parent;
};

}  // namespace

void printWorksheets(const WorksheetCommandContext& context, const WorksheetValues& worksheet, int copies) {
    report::PrinterChoice choice = context.printer();
    choice.documentName = worksheet.number;
    report::ReportPrinter printer(choice);
    const QStringList files = printer.print(layoutOf(context, worksheet)->prepare(), copies);
    if (!files.isEmpty()) context.prompt.information(QStringLiteral("Nyomtatás"), report::pdfPrintedText(files));
}

void runWorksheetEditor(const WorksheetCommandContext& context, QWidget* parent, bool current) {
    QtWorksheetWindows windows(context, parent);
    WorksheetEditor editor({context.data, context.prompt, windows, context.currentUser(), context.today});
    if (current)
        editor.openCurrent();
    else
        editor.openNew();
    TMunkalapForm form(parent, editor, context.prompt);
    form.exec();
}

void addWorksheetCommands(const AddWorksheetCommand& add, const WorksheetCommandContext& context) {
    add(QStringLiteral("MunkalapNew"), [context] { runWorksheetEditor(context, context.parent(), false); });
    add(QStringLiteral("mModMunkalapClick"), [context] {
        bool chosen = false;
        {
            TMunkalapok choice(context.parent(), context, TMunkalapok::Mode::Choose);
            chosen = choice.exec() == QDialog::Accepted;
        }
        if (chosen) runWorksheetEditor(context, context.parent(), true);
    });
    add(QStringLiteral("MunkalapokMenu"), [context] {
        TMunkalapok list(context.parent(), context, TMunkalapok::Mode::List);
        list.exec();
    });
}

}  // namespace kavina::documents
