#include "invoicing/navdata/forms/TaxAuditDialog.h"

#include <QApplication>
#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QProgressDialog>
#include <QRadioButton>
#include <QVBoxLayout>

#include "foundation/CommandBoundary.h"
#include "foundation/Prompt.h"
#include "foundation/TDataModule1.h"
#include "invoicing/navdata/TaxAuditExport.h"

namespace kavina::invoicing {

namespace {

const QString kCaption = QStringLiteral("Adóhatósági ellenőrzési adatszolgáltatás");

// The range the clerk chose; nothing when the dialog was left.
std::optional<nav::AuditRange> askRange(QWidget* parent, const QDate& today) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("TaxAuditDialog"));
    dialog.setWindowTitle(kCaption);
    auto* layout = new QVBoxLayout(&dialog);
    auto* byDate = new QRadioButton(QStringLiteral("Kiállítás dátuma szerint"));
    byDate->setObjectName(QStringLiteral("byDateRadioButton"));
    byDate->setChecked(true);
    auto* byNumber = new QRadioButton(QStringLiteral("Számlaszám szerint"));
    byNumber->setObjectName(QStringLiteral("byNumberRadioButton"));
    auto* from = new QDateEdit(QDate(today.year(), today.month(), 1));
    auto* to = new QDateEdit(today);
    for (QDateEdit* d : {from, to}) {
        d->setDisplayFormat(QStringLiteral("yyyy.MM.dd"));
        d->setCalendarPopup(true);
    }
    from->setObjectName(QStringLiteral("fromDateEdit"));
    to->setObjectName(QStringLiteral("toDateEdit"));
    auto* first = new QLineEdit;
    first->setObjectName(QStringLiteral("firstNumberLineEdit"));
    auto* last = new QLineEdit;
    last->setObjectName(QStringLiteral("lastNumberLineEdit"));
    auto* form = new QFormLayout;
    form->addRow(byDate);
    form->addRow(QStringLiteral("Kezdő dátum:"), from);
    form->addRow(QStringLiteral("Záró dátum:"), to);
    form->addRow(byNumber);
    form->addRow(QStringLiteral("Első számlaszám:"), first);
    form->addRow(QStringLiteral("Utolsó számlaszám:"), last);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("&Rendben"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("&Mégse"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    const auto enable = [=] {
        from->setEnabled(byDate->isChecked());
        to->setEnabled(byDate->isChecked());
        first->setEnabled(byNumber->isChecked());
        last->setEnabled(byNumber->isChecked());
    };
    QObject::connect(byDate, &QRadioButton::toggled, &dialog, enable);
    enable();
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return nav::AuditRange{byNumber->isChecked(), from->date(), to->date(), first->text().trimmed(),
                           last->text().trimmed()};
}

void runExport(const RegisterCommandContext& context) {
    QWidget* parent = context.parent();
    const std::optional<nav::AuditRange> range = askRange(parent, context.today());
    if (!range) return;
    FileChoice choice;
    choice.caption = kCaption;
    choice.filter = QStringLiteral("Zip fájlok (*.zip)");
    choice.save = true;
    choice.fileName = QStringLiteral("adoellenorzes.zip");
    const std::optional<QString> path = context.prompt.chooseFile(choice);
    if (!path) return;
    QProgressDialog progress(QStringLiteral("Számlaadatok összeállítása..."), QString(), 0, 100, parent);
    progress.setWindowTitle(kCaption);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    const nav::AuditResult result =
        nav::exportTaxAudit(context.data.dataFolder(), *range, *path, [&progress](int done, int count) {
            progress.setMaximum(count);
            progress.setValue(done);
            QApplication::processEvents();
        });
    progress.close();
    QString text = QStringLiteral("%1 számlaadat fájl elkészült:\n%2").arg(result.files).arg(*path);
    if (!result.skipped.isEmpty())
        text +=
            QStringLiteral("\n\nNem készült adat a következő számlákról:\n") + result.skipped.join(QLatin1Char('\n'));
    context.prompt.information(kCaption, text);
}

}  // namespace

void addTaxAuditCommand(const AddCommand& add, const RegisterCommandContext& context) {
    add(QStringLiteral("taxAuditExportClick"), [context] { runCommand(context.prompt, [&] { runExport(context); }); });
}

}  // namespace kavina::invoicing
