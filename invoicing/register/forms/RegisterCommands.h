#pragma once
// The main window's list commands of the document register (every entry of "&Listák" that
// lists stored documents: invoices, proformas, unpaid invoices, cash sales and payouts,
// offers, delivery notes, goods receipts, returns, supplier orders and scrap records) and the
// service reprint ("Számla újranyomtatása"). The program registers them under the main
// window's handler names.

#include <QDate>
#include <QString>
#include <functional>
#include <memory>

#include "invoicing/register/forms/QtDocumentWindows.h"

class QWidget;

namespace kavina::invoicing {

struct RegisterCommandContext {
    TDataModule1& data;
    Prompt& prompt;
    std::function<QWidget*()> parent;  // the main window
    std::function<QString()> currentUser;
    std::function<const IniSettings&()> settings;
    std::function<QDate()> today;
    QString programFolder;                           // where the overlay pictures lie
    std::function<report::PrinterChoice()> printer;  // the printer of the settings
};

using AddCommand = std::function<void(const QString& handler, std::function<void()> command)>;

// The register's options of the run as they are now.
RegisterOptions registerOptions(const RegisterCommandContext& context);
// The register's windows over the parent, with the options of the run as they are now.
std::unique_ptr<QtDocumentWindows> makeDocumentWindows(QWidget* parent, const RegisterCommandContext& context);

// Adds "SzamlakMenu", "mProformaClick", "mSzamlakFizetetlenClick", "mEladasokClick",
// "bKifizetClick", "AjanlatokMenu", "mSzallitokClick", "m_bevetelezesekClick",
// "mVisszarukClick", "mMegrendelesekClick", "mSelejtekClick" and "mSzervizSzamlaPrintClick".
void addRegisterCommands(const AddCommand& add, const RegisterCommandContext& context);

}  // namespace kavina::invoicing
