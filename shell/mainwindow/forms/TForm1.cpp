#include "shell/mainwindow/forms/TForm1.h"

#include "shell/mainwindow/SessionActions.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QShowEvent>
#include <QStatusBar>
#include <QVBoxLayout>

#include "foundation/SettingsRecord.h"
#include "shell/mainwindow/OverlayPictures.h"
#include "shell/mainwindow/StatusBarTexts.h"
#include "shell/mainwindow/forms/MainWindowFocus.h"
#include "shell/mainwindow/forms/MainWindowIdleLock.h"
#include "shell/mainwindow/forms/StatusBarPanels.h"
#include "shell/mainwindow/forms/ToolbarIcons.h"
#include "shell/users/Users.h"

namespace kavina::shell {

namespace {

const QString kProgramCaption = QStringLiteral("Kavina");

QWidget* makeWorkArea(QWidget* parent) {
    auto* area = new QWidget(parent);
    area->setObjectName("workArea");
    area->setAutoFillBackground(true);
    QPalette palette = area->palette();
    palette.setColor(QPalette::Window, QColor(236, 240, 246));
    area->setPalette(palette);
    auto* layout = new QVBoxLayout(area);
    auto* picture = new QLabel(area);
    picture->setObjectName("workPicture");
    picture->setPixmap(workAreaPicture());
    // The layout keeps the picture in the middle at every size of the window.
    layout->addWidget(picture, 0, Qt::AlignCenter);
    return area;
}

}  // namespace

TForm1::TForm1(TDataModule1& data, Session& session, ShellActions& actions, const MainWindowSettings& settings,
               Prompt& prompt, QWidget* parent)
    : QMainWindow(parent),
      m_data(data),
      m_session(session),
      m_actions(actions),
      m_settings(settings),
      m_prompt(prompt),
      m_commands(prompt),
      m_builder([this](const QString& handler) { runEntry(handler); }),
      m_runDialog([](QDialog& dialog) { return dialog.exec(); }) {
    setObjectName("TForm1");
    setWindowTitle(kProgramCaption);
    resize(1180, 760);
    buildWindow();
    registerCommands();
    buildTimers();
    connect(&m_data, &TDataModule1::recordWritten, this, &TForm1::recordWritten);
    applyMenusAndRights();
    refreshStatusBar();
}

TForm1::~TForm1() {
    detachHooks();
}

void TForm1::buildWindow() {
    m_menus = m_builder.buildMenuBar(menuBar());
    m_toolbars = buildToolbars(*this, m_builder, [this](const QString& handler) { runEntry(handler); });
    setCentralWidget(makeWorkArea(this));
    m_status = std::make_unique<StatusBarPanels>(*statusBar());
    auto* escape = new QAction(this);
    escape->setObjectName("escapeAction");
    escape->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(escape, &QAction::triggered, this, &QWidget::close);
    addAction(escape);
}

void TForm1::buildTimers() {
    // Children of the window, so that tests and tools find them by name.
    for (QTimer* timer : {&m_startupTimer, &m_statusTimer, &m_saveTimer, &m_dateTimer}) timer->setParent(this);
    m_startupTimer.setObjectName("startupTimer");
    m_startupTimer.setSingleShot(true);
    m_startupTimer.setInterval(100);
    connect(&m_startupTimer, &QTimer::timeout, this, [this] { guarded([this] { m_actions.runStartupTasks(); }); });

    m_statusTimer.setObjectName("statusTimer");
    m_statusTimer.setInterval(10000);
    connect(&m_statusTimer, &QTimer::timeout, this, &TForm1::statusTick);
    m_statusTimer.start();

    m_saveTimer.setObjectName("saveIndicatorTimer");
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(500);
    connect(&m_saveTimer, &QTimer::timeout, this, [this] {
        m_status->showSaveIndicator(false);
        m_status->setText(3, kSavingPanelText);
    });

    m_dateTimer.setObjectName("dateCheckTimer");
    m_dateTimer.setSingleShot(true);
    m_dateTimer.setInterval(1000);
    connect(&m_dateTimer, &QTimer::timeout, this, &TForm1::checkSystemDate);
    m_dateTimer.start();

    m_idle = new MainWindowIdleLock(
        m_settings.ini.jelszokeres,
        [this] {
            if (isVisible()) guarded([this] { m_actions.idleLock(); });
        },
        this);
    m_focus =
        new MainWindowFocus({[this] { runEntry("Szamologep"); }, [this] { runEntry("TBItem14Click"); }}, *m_idle, this);
}

void TForm1::detachHooks() {
    if (m_focus) m_focus->detach();
}

void TForm1::runEntry(const QString& handler) {
    m_commands.run(handler);
}

void TForm1::guarded(const std::function<void()>& work) {
    m_commands.guard(work);
}

void TForm1::applyMenusAndRights() {
    m_builder.apply({m_session, userListed(m_data.JogTable(), m_session.currentUser)}, m_commands);
    applyToolbarSwitches(m_toolbars, m_settings.ini);
    m_menus[kServiceMenuName]->menuAction()->setVisible(m_settings.ini.zirma == 1 && !m_serviceMenuClosed);
    applyMenuFont();
}

bool TForm1::serviceMenuShown() const {
    const auto menu = m_menus.find(kServiceMenuName);
    return menu != m_menus.end() && menu->second->menuAction()->isVisible();
}

void TForm1::applyMenuFont() {
    QFont font = menuBar()->font();
    font.setPointSize(std::max(1, m_settings.ini.menufontsize));
    menuBar()->setFont(font);
    for (QMenu* menu : menuBar()->findChildren<QMenu*>()) menu->setFont(font);
}

void TForm1::refreshCaption() {
    if (!m_data.UserTable().isOpen()) {
        setWindowTitle(kProgramCaption);
        return;
    }
    SettingsRecord record(m_data.UserTable());
    record.reread();
    setWindowTitle(record.exists() ? kProgramCaption + " - " + record.text(fields::User::USER1) + " " +
                                         record.text(fields::User::USER2)
                                   : kProgramCaption);
}

void TForm1::restartStartupTimer() {
    m_startupTimer.start();
}

void TForm1::restartStatusTimer() {
    refreshStatusBar();
    m_statusTimer.start();
}

void TForm1::applySettings() {
    refreshCaption();
    m_idle->setMinutes(m_settings.ini.jelszokeres);
    // A printer set up with "&Nyomtató beállítása" keeps its set-up unless another one was chosen.
    if (m_printer && m_printerIndex != m_settings.ini.printer) m_printer.reset();
}

void TForm1::refreshStatusBar() {
    m_status->setText(0, clerkPanelText(m_session));
    m_status->setText(1, versionPanelText(m_session.buildDate));
    m_status->setText(3, databasePanelText(m_session));
}

void TForm1::statusTick() {
    refreshStatusBar();
    if (isVisible()) guarded([this] { m_actions.signOfLife(); });
}

void TForm1::recordWritten(const QString& handleName) {
    // The user, rights and sign-in tables are the main window's own: the sign of life every
    // ten seconds must not flash the indicator.
    if (!showsSaveIndicator(handleName)) return;
    m_status->showSaveIndicator(true);
    m_saveTimer.start();
}

void TForm1::checkSystemDate() {
    if (m_settings.today() < m_settings.ini.szamDate)
        m_prompt.warning("Figyelem!", "A rendszerdátum korábbi az utolsó számla készítésének dátumánál!");
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_shown && !event->spontaneous()) {
        m_shown = true;
        firstShown();
    }
}

void TForm1::firstShown() {
    if (m_settings.ini.datumkeres == 1) m_settings.platform.openDateSettings();
    m_startupTimer.start();
    refreshStatusBar();
    writeOverlayPictures();
    m_idle->start();
    guarded([this] { fillEmptyCashSaleCopies(m_data.UserTable()); });
}

void TForm1::writeOverlayPictures() {
    // A program folder the user may not write to still prints the overlays: the print layout
    // then takes the pictures the program carries.
    writeMissingOverlayPictures(m_settings.programFolder);
    const QString file = m_settings.programFolder + "/" + kStornoPicture;
    if (!m_stornoPicture.load(file)) m_stornoPicture.loadFromData(overlayPictureBytes(kStornoPicture), "GIF");
    m_stornoPicture = m_stornoPicture.convertToFormat(QImage::Format_ARGB32);
}

void TForm1::closeEvent(QCloseEvent* event) {
    bool leave = false;
    guarded([&] { leave = m_actions.confirmExit(); });
    if (!leave) {
        event->ignore();
        return;
    }
    guarded([this] { m_actions.signOut(); });
    event->accept();
}

}  // namespace kavina::shell
