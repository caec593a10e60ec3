#include "shell/mainwindow/Platform.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "foundation/IniSettings.h"

namespace kavina::shell {

namespace {

const QString kCaption = QStringLiteral("Figyelem!");

QString keyOr(const IniFile& ini, const char* key, const QString& fallback) {
    const QString value = ini.readString(kIniSection, key).trimmed();
    return value.isEmpty() ? fallback : value;
}

}  // namespace

PlatformSettings loadPlatformSettings(const IniFile& ini) {
    PlatformSettings s;
    s.calculator = keyOr(ini, "calculator", s.calculator);
    s.dateCommand = keyOr(ini, "datecommand", s.dateCommand);
    s.makerSite = keyOr(ini, "makersite", s.makerSite);
    s.productPage = keyOr(ini, "productpage", s.productPage);
    s.supportMail = keyOr(ini, "supportmail", s.supportMail);
    return s;
}

const QStringList& desktopCalculators() {
    static const QStringList list = {"gnome-calculator", "kcalc", "mate-calc", "galculator", "qalculate-gtk", "xcalc"};
    return list;
}

const QStringList& dateSettingsCommands() {
    static const QStringList list = {"gnome-control-center datetime", "systemsettings kcm_clock", "time-admin"};
    return list;
}

QString SystemProgramStarter::findProgram(const QString& name) const {
    const QFileInfo direct(name);
    if (name.contains('/')) return direct.isFile() && direct.isExecutable() ? direct.absoluteFilePath() : QString();
    return QStandardPaths::findExecutable(name);
}

bool SystemProgramStarter::start(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

Platform::Platform(PlatformSettings settings, QString programFolder, Desktop& desktop, ProgramStarter& starter,
                   Prompt& prompt)
    : m_settings(std::move(settings)),
      m_programFolder(std::move(programFolder)),
      m_desktop(desktop),
      m_starter(starter),
      m_prompt(prompt) {}

bool Platform::startFirst(const QStringList& commandLines) {
    for (const QString& line : commandLines) {
        QStringList words = QProcess::splitCommand(line);
        if (words.isEmpty()) continue;
        const QString program = m_starter.findProgram(words.takeFirst());
        if (!program.isEmpty() && m_starter.start(program, words)) return true;
    }
    return false;
}

void Platform::startCalculator() {
    if (!m_settings.calculator.isEmpty()) {
        if (!startFirst({m_settings.calculator}))
            m_prompt.warning(kCaption, "A számológép nem indítható el: " + m_settings.calculator);
        return;
    }
    if (!startFirst(desktopCalculators()))
        m_prompt.warning(kCaption,
                         "Nem található számológép program a gépen.\n"
                         "A kavinaextra.ini fájl calculator kulcsában megadhatja, melyiket indítsa a program.");
}

void Platform::openDateSettings() {
    const QStringList commands =
        m_settings.dateCommand.isEmpty() ? dateSettingsCommands() : QStringList{m_settings.dateCommand};
    if (!startFirst(commands))
        m_prompt.warning(kCaption,
                         "A dátum és idő beállításai nem nyithatók meg.\n"
                         "A kavinaextra.ini fájl datecommand kulcsában megadhatja a parancsot.");
}

void Platform::openHelp() {
    const QString path = QDir(m_programFolder).filePath(kHelpFileName);
    if (!QFileInfo(path).isFile()) {
        m_prompt.warning(kCaption, "A program leírása (" + kHelpFileName + ") nem található a program mappájában:\n" +
                                       QDir::toNativeSeparators(m_programFolder));
        return;
    }
    if (!m_desktop.openFile(path))
        m_prompt.warning(kCaption,
                         "A program leírása nem nyitható meg: nincs a gépen olyan program, "
                         "amely a " +
                             kHelpFileName + " fájlt megjeleníti.");
}

void Platform::openAddress(const QString& address) {
    if (!m_desktop.openFile(address)) m_prompt.warning(kCaption, "A hivatkozás nem nyitható meg: " + address);
}

void Platform::openMakerSite() {
    openAddress(m_settings.makerSite);
}

void Platform::openProductPage() {
    openAddress(m_settings.productPage);
}

void Platform::mailSupport() {
    openAddress("mailto:" + m_settings.supportMail + "?subject=Kavina");
}

}  // namespace kavina::shell
