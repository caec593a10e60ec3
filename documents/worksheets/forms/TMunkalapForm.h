#pragma once
// TMunkalapForm, the worksheet editor ("Munkalap"): the boxes of one worksheet, the customer
// from the partner picker, and "Nyomtatás", "Nyomtatási ké&p", "Kilépés mentéssel",
// "&Kilépés". The logic is WorksheetEditor; the window only shows and reads its values.

#include <QDialog>

#include "documents/worksheets/WorksheetEditor.h"

class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace kavina::documents {

class TMunkalapForm final : public QDialog {
    Q_OBJECT

public:
    // The editor is opened (new or on a worksheet) before the window is made.
    TMunkalapForm(QWidget* parent, WorksheetEditor& editor, Prompt& prompt);

    // The window's commands, for the buttons and the tests.
    void pickPartner();
    void print();
    void saveAndClose();
    void preview();
    void reject() override;  // "&Kilépés" and Esc

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* customerBox();
    QWidget* workBox();
    QWidget* buttonRow();
    void showValues();
    // Reads the boxes into the editor's values; false (with the box focused) when a number
    // box holds no number.
    bool readValues();
    void run(const std::function<void()>& work);

    WorksheetEditor& m_editor;
    Prompt& m_prompt;
    QLabel* m_number = nullptr;
    QLineEdit* m_partner = nullptr;
    QLineEdit* m_address = nullptr;
    QDateEdit* m_printDate = nullptr;
    QDateEdit* m_started = nullptr;
    QDateEdit* m_finished = nullptr;
    QLineEdit *m_hours = nullptr, *m_travelHours = nullptr, *m_kilometres = nullptr, *m_plate = nullptr;
    QLineEdit *m_travelCost = nullptr, *m_lodgingCost = nullptr, *m_lodging = nullptr;
    QLineEdit *m_otherCost = nullptr, *m_other = nullptr;
    QPlainTextEdit* m_fault = nullptr;
    QPlainTextEdit* m_work = nullptr;
};

}  // namespace kavina::documents
