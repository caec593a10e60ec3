#pragma once
// The logic of the settings dialog TSetup: what it shows when it opens, the closing check on
// the document number affixes, the logo choice, and what "&Elfogad" stores in the settings
// record and the ini file. The form (forms/TSetup.h) only shows and collects SetupValues.
//
// The dialog reaches the data folder through SetupData, so the same logic runs over the data
// module in the program and over a plain record in tests.
#include <QSize>
#include <QString>
#include <QStringList>

#include "foundation/IniFile.h"
#include "foundation/IniSettings.h"
#include "foundation/Prompt.h"
#include "foundation/SettingsRecord.h"

namespace kavina {

// The fields of the settings record (user.dbf) that the dialog shows or sets.
struct SetupRecord {
    QString USER1, USER2, CIM, TELEFON, EMAIL, WEBLAP, ADOSZAM, SZAMLASZAM, VALLALK_IG, LABLEC1;
    QString SELO, SUTO, AELO, AUTO, GELO, GUTO, MELO, MUTO, FELO, FUTO;
    int PRNSZAMLA = 0, PRNAJANLAT = 0, PRNGARANC = 0, PRNMUNKA = 0, PRNSZL = 0;
    QString MEGJEGYZES;  // copies of cash-register sales, an integer written as text
    QString LABSZAMLA, LABAJANLAT, LABGARANC, LABMUNKA, LABSZALL, LABPARTNER, LABARLISTA, LAPLABLEC;
    double SZORZO1 = 0, SZORZO2 = 0, SZORZO3 = 0;
    int SELOTAG = 0;
    QString LOGOKEP;

    bool operator==(const SetupRecord&) const = default;
};

// Each member of SetupRecord with the settings field it is stored in, by kind.
template <typename T>
struct SetupField {
    T SetupRecord::*member;
    Field field;
};
const std::vector<SetupField<QString>>& setupTextFields();
const std::vector<SetupField<int>>& setupIntegerFields();
const std::vector<SetupField<double>>& setupNumberFields();

// The data-folder side of the dialog.
class SetupData {
public:
    virtual ~SetupData() = default;
    virtual QString dataFolder() const = 0;
    // Re-reads the settings record from disk.
    virtual SetupRecord readRecord() = 0;
    // Stores the fields in the settings record (edit, set, post).
    virtual void writeRecord(const SetupRecord& record) = 0;
    // AFA.dbf MEGNEVEZES and Fizmod.dbf FIZMOD, in their tables' order.
    virtual QStringList vatGroups() = 0;
    virtual QStringList paymentMethods() = 0;
    // Re-reads the product categories (Kategoria.dbf).
    virtual void rereadCategories() = 0;
};

// Everything the dialog shows: the record, the workstation settings (of which it edits the
// keys of writeSetupKeys) and the lists.
struct SetupValues {
    SetupRecord record;
    int cashCopies = 2;  // MEGJEGYZES as a number
    bool useLogo = false;
    IniSettings settings;
    QStringList printers;
    QStringList vatGroups;
    QStringList paymentMethods;
};

// The warning of the closing check.
QString affixWarning();
// Whether one of the five affix pairs of invoices, offers, warranty certificates, worksheets
// and delivery notes has both members empty.
bool affixPairMissing(const SetupRecord& record);

// The logo's shown size: the picture divided by the larger of width/105 and height/100.
QSize logoDisplaySize(const QSize& picture);

// Copies a picture into the data folder under its own file name, replacing a file of that
// name, and returns the name. A picture already in the data folder stays as it is. Throws
// std::runtime_error with a Hungarian text when the copy fails; a file of that name in the
// data folder is then left as it was.
QString copyLogoIntoDataFolder(const QString& picture, const QString& dataFolder);

class SetupLogic {
public:
    // The printers are the names of the printer list in its order (the system's printers and
    // the program's PDF printer).
    SetupLogic(SetupData& data, IniSettings& settings, IniFile& ini, Prompt& prompt, QStringList printers);

    // What the dialog shows when it opens: the record re-read (a cash-sale copies count that is
    // found empty is set to 2 and stored), the workstation values, the lists, and the VAT
    // group and payment method located by name or else the first of their list.
    SetupValues open();

    enum class Outcome { Closed, StayOpen, ShowDocumentsPage };
    // "&Elfogad": refuses (warning, documents page) while an affix pair is empty in the boxes,
    // and (warning) while a text holds a letter the tables cannot store; otherwise re-reads the categories, stores the
    // record with SELOTAG, LOGOKEP (emptied when the logo is not used) and MEGJEGYZES, then sets and writes the
    // workstation keys. A failed ini write is shown and keeps the dialog open with the record already stored.
    Outcome accept(const SetupValues& values);
    // "&Kilépés", Esc or the close box: discards what was typed, but refuses (warning,
    // documents page) while the stored record has an empty affix pair.
    Outcome leave();

    // "Logó választása": asks for a picture, copies it into the data folder and makes it the
    // logo. False when nothing was chosen or the copy failed (shown).
    bool chooseLogo(SetupValues& values);
    // Ticking "szeretnék logót használni" without a logo chooses one at once; when none is
    // chosen the box is unticked again.
    void logoTicked(SetupValues& values);
    // The backup folder browse button.
    void chooseBackupFolder(SetupValues& values);
    // The logo's file, or empty when no logo is used.
    QString logoPath(const SetupValues& values) const;
    // The prompt the dialog's commands report through.
    Prompt& prompt() const { return m_prompt; }

private:
    SetupData& m_data;
    IniSettings& m_settings;
    IniFile& m_ini;
    Prompt& m_prompt;
    QStringList m_printers;
    SetupRecord m_opened;
};

}  // namespace kavina
