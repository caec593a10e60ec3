#pragma once
// The window "Törlés" of "Régi bizonylatok törlése": the warning text, the cut-off date box
// (starting with 2008.01.01), the progress label and two bars (headers, log rows), and the
// buttons "Törlés" and "Mégsem". "Törlés" runs the deletion through the command boundary with
// both buttons disabled; the window closes when it ran and stays open after a refusal.

#include <QDialog>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace kavina {
class Prompt;
}

namespace kavina::maintenance {

class OldDocumentDeletion;

class TRegiTorlesForm : public QDialog {
    Q_OBJECT

public:
    TRegiTorlesForm(OldDocumentDeletion& deletion, Prompt& prompt, QWidget* parent = nullptr);

protected:
    void reject() override;

private:
    void deleteDocuments();

    OldDocumentDeletion& m_deletion;
    Prompt& m_prompt;
    QLineEdit* m_date;
    QLabel* m_progressLabel;
    QProgressBar* m_headers;
    QProgressBar* m_logRows;
    QPushButton* m_delete;
    QPushButton* m_cancel;
    bool m_working = false;
};

}  // namespace kavina::maintenance
