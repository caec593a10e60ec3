#pragma once
// The worksheet editor's logic ("Munkalap készítése"). A worksheet is one record of
// munkalap.dbf: no lines, prices or stock. A new worksheet's record is appended when the editor
// opens, without a number; the number is taken, and the counter raised, under the settings
// record's lock in the transaction that first stores the worksheet, so two workstations that
// open new worksheets at the same time still get different numbers. An abandoned new worksheet
// removes the very record this editor appended, and nothing else.
//
// The editor keeps the typed values itself and writes them when the worksheet is stored; it
// finds its record again by its record number, never by where the shared handle stands.

#include <QDate>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "foundation/TDataModule1.h"

namespace kavina {
class OpenedRecord;
class Prompt;
}  // namespace kavina

namespace kavina::documents {

// The values of a worksheet, as typed and as printed.
struct WorksheetValues {
    QString number;  // SORSZAM
    QDate printDate;
    QString name, name2, postcode, town, address;
    QString phone, contact;  // not edited by the editor
    QString clerk;           // UGYINT
    QDate started, finished;
    double hours = 0, travelHours = 0, kilometres = 0;
    QString plate;
    double travelCost = 0, lodgingCost = 0, otherCost = 0;
    QString lodging, other;
    QString fault, work;  // the memos
};

WorksheetValues readWorksheet(const RecordCursor& worksheet);
void writeWorksheet(RecordCursor& worksheet, const WorksheetValues& values);

// What the editor opens and prints through.
class WorksheetWindows {
public:
    virtual ~WorksheetWindows() = default;
    // The partner picker; true when a partner was picked (the partner handle stands on it).
    virtual bool pickPartner() = 0;
    // The partner window for a new partner; the partner handle then stands on the partner it
    // left current (false when the table is empty).
    virtual bool addPartner() = 0;
    // The print layout of the values, in the preview.
    virtual void preview(const WorksheetValues& values) = 0;
    // Prints the values copies times. Throws when the printer fails.
    virtual void print(const WorksheetValues& values, int copies) = 0;
};

struct WorksheetContext {
    TDataModule1& data;
    Prompt& prompt;
    WorksheetWindows& windows;
    QString currentUser;
    std::function<QDate()> today;
};

class WorksheetEditor {
public:
    explicit WorksheetEditor(WorksheetContext context);
    ~WorksheetEditor();

    // A new worksheet: its record appended, stamped with today and the user; the number shown
    // is the one the counter would give now.
    void openNew();
    // The worksheet the handle stands on; today and the user are stamped on it when stored.
    void openCurrent();

    bool isNew() const { return m_new; }
    WorksheetValues& values() { return m_values; }
    // The number to show: the stored one, or on a new worksheet the one it would get now.
    QString shownNumber() const;

    // The customer from the picker, the partner window, or (leaving the name box) the one
    // picked last in this editor; stored into the record at once. False when nothing changed.
    bool pickPartner();
    bool addPartner();
    bool repeatLastPartner();

    // "Kilépés mentéssel": true when stored (the editor closes).
    bool saveAndClose();
    // "Nyomtatás": stores, then the copies dialog and the print; true when stored.
    bool printAndClose();
    void preview();
    // "&Kilépés" and Esc: the question; true when the editor may close. An abandoned new
    // worksheet's record is removed.
    bool leave();

private:
    void takePartner();
    // Writes the values in one transaction, taking the number first on a new worksheet.
    bool store();
    void storeInPlace();
    void removeOwnRecord();

    WorksheetContext m_context;
    WorksheetValues m_values;
    std::unique_ptr<OpenedRecord> m_record;
    std::optional<WorksheetValues> m_lastPartner;
    bool m_new = false;
    bool m_saved = false;
};

QString leaveNewWorksheetQuestion();
QString leaveWorksheetQuestion();

}  // namespace kavina::documents
