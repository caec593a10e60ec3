#pragma once
// "Online számla beállítások": the technical user, its password (typed only; the stored hash is
// kept when the box stays empty), the signing and exchange keys, the tax number, the software
// identifier and the environment. "Elfogad" stores through NavSetup, which refuses wrong fields.

#include <QDialog>

#include "support/nav/NavSetup.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace kavina::nav {

class NavSetupDialog final : public QDialog {
    Q_OBJECT

public:
    NavSetupDialog(QWidget* parent, NavSetup& logic);

private:
    void accept() override;

    NavSetup& m_logic;
    QLineEdit *m_login, *m_password, *m_signingKey, *m_exchangeKey, *m_taxNumber, *m_softwareId;
    QComboBox* m_environment;
};

}  // namespace kavina::nav
