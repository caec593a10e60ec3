#pragma once
// TLogo, the login window "Jogosultság ellenőrzése": the user picker over Jogok.dbf, the
// password box, the build date, the program's picture (a click opens the maker's web site)
// and "&Belépés" / "&Kilépés". The same window, without its buttons, is the splash of
// start-up with its progress bar.
//
// One second after it is created, an empty Jogok.dbf gets its first user, who is signed in
// at once. Closing the window any other way than by a sign-in leaves signedIn() false.

#include <QDialog>
#include <QUrl>
#include <memory>

namespace Ui {
class TLogo;
}

namespace kavina {
class Desktop;
}

namespace kavina::shell {

struct SessionState;

class TLogo : public QDialog {
    Q_OBJECT

public:
    static constexpr int kFirstUserDelayMs = 1000;
    static constexpr int kSplashStepMs = 15;

    TLogo(SessionState& state, Desktop& desktop, QUrl webSite, QWidget* parent = nullptr);
    ~TLogo() override;

    bool signedIn() const { return m_signedIn; }
    // "&Belépés" with the picker's text and the typed password.
    void signIn();
    // The splash: the buttons hidden, the signed-in user in the picker, the progress bar
    // stepping from 1 to 100 with a repaint at each step. Returns with the window still shown.
    void runSplash();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillUsers();
    void createFirstUser();

    std::unique_ptr<Ui::TLogo> m_ui;
    SessionState& m_state;
    Desktop& m_desktop;
    QUrl m_webSite;
    bool m_signedIn = false;
};

// The program's picture of the login window and the splash.
QPixmap logoPicture();

}  // namespace kavina::shell
