#pragma once
// TSetup, the settings dialog "Beállítások": four pages over the settings record and the
// workstation keys. The form shows SetupValues and hands every decision to SetupLogic; the
// footer buttons open the formatted-text editor.
#include <QDialog>
#include <memory>

#include "foundation/Setup.h"

namespace Ui {
class TSetup;
}

namespace kavina {

class TSetup : public QDialog {
    Q_OBJECT
public:
    enum class Page { Owner = 0, Documents = 1, Printing = 2, Other = 3 };

    TSetup(QWidget* parent, SetupLogic& logic);
    ~TSetup() override;

    // Loads the values (SetupLogic::open) and shows the page; the caller then runs exec().
    void prepare(Page page);
    // What the boxes hold now.
    SetupValues values() const;

    // "&Elfogad" and "&Kilépés" (also Esc and the close box), each through the logic, which
    // may keep the dialog open.
    void accept() override;
    void reject() override;

private:
    void bindButtons();
    void display(const SetupValues& values);
    void showLogo();
    void showMultipliersState();
    void editFooter(QString SetupRecord::*field, const QString& caption);
    void logoChosen(const SetupValues& values);

    std::unique_ptr<Ui::TSetup> m_ui;
    SetupLogic& m_logic;
    SetupValues m_values;  // as loaded, with the footers and the logo as edited since
};

}  // namespace kavina
