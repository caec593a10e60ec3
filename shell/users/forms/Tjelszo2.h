#pragma once
// Tjelszo2, the lock prompt "Jelszó kérés": a password box and "Belépés" (Enter acts as it).
// It cannot be closed by any means (close box, Esc, closing the application's windows) until
// the typed text equals the signed-in user's password exactly, letter case included.

#include <QDialog>

class QLineEdit;

namespace kavina {
class Prompt;
}

namespace kavina::shell {

struct Session;

class Tjelszo2 : public QDialog {
    Q_OBJECT

public:
    Tjelszo2(const Session& session, Prompt& prompt, QWidget* parent = nullptr);

    // "Belépés": closes on the right password; a wrong one is told and the box emptied.
    void tryUnlock();
    bool unlocked() const { return m_unlocked; }

    void done(int result) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    const Session& m_session;
    Prompt& m_prompt;
    QLineEdit* m_password;
    bool m_unlocked = false;
};

}  // namespace kavina::shell
