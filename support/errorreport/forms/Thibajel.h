#pragma once
// Thibajel, the review of the error reports ("Hibajelentések"): the reports of the program
// folder in a grid with the buttons "Megtekintés", "Törlés", "Mindent töröl" and "Kilépés".

#include <QDialog>
#include <memory>

#include "support/errorreport/ErrorReportList.h"

namespace kavina::widgets {
class RecordGrid;
}

namespace kavina::support {

class Thibajel : public QDialog {
    Q_OBJECT

public:
    Thibajel(ErrorReportList& list, Prompt& prompt, QWidget* parent = nullptr);
    ~Thibajel() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    ErrorReportList& m_list;
    Prompt& m_prompt;
    std::unique_ptr<widgets::RecordGrid> m_grid;
};

}  // namespace kavina::support
