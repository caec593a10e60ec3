#include "foundation/IniSettings.h"

#include <QDir>

namespace kavina {
namespace {

template <typename T>
struct Key {
    const char* section;
    const char* name;
    T IniSettings::*member;
};

const Key<int> kIntegerKeys[] = {
    {kIniSection, "kilepett", &IniSettings::kilepett},
    {kIniSection, "autoindex", &IniSettings::autoindex},
    {kIniSection, "nologo", &IniSettings::nologo},
    {kIniSection, "spack", &IniSettings::spack},
    {kIniSection, "pkod", &IniSettings::pkod},
    {kIniSection, "nszam", &IniSettings::nszam},
    {kIniSection, "rkod", &IniSettings::rkod},
    {kIniSection, "zebragrid", &IniSettings::zebragrid},
    {kIniSection, "colorgrid", &IniSettings::colorgrid},
    {kIniSection, "extgridcolor", &IniSettings::extgridcolor},
    {kIniSection, "gridfontsize", &IniSettings::gridfontsize},
    {kIniSection, "menufontsize", &IniSettings::menufontsize},
    {kIniSection, "dbrowselect", &IniSettings::dbrowselect},
    {kIniSection, "norefresh", &IniSettings::norefresh},
    {kIniSection, "szlistmode", &IniSettings::szlistmode},
    {kIniSection, "tobbar", &IniSettings::tobbar},
    {kIniSection, "automataar", &IniSettings::automataar},
    {kIniSection, "tsorrend", &IniSettings::tsorrend},
    {kIniSection, "cikk_min", &IniSettings::cikk_min},
    {kIniSection, "cikk_max", &IniSettings::cikk_max},
    {kIniSection, "anyagminusz", &IniSettings::anyagminusz},
    {kIniSection, "bfont", &IniSettings::bfont},
    {kIniSection, "printer", &IniSettings::printer},
    {kIniSection, "datumkeres", &IniSettings::datumkeres},
    {kIniSection, "jelszokeres", &IniSettings::jelszokeres},
    {kIniSection, "zirma", &IniSettings::zirma},
    {kToolbarSection, "bAjanlat", &IniSettings::bAjanlat},
    {kToolbarSection, "bSzamla", &IniSettings::bSzamla},
    {kToolbarSection, "bEladas", &IniSettings::bEladas},
    {kToolbarSection, "bKifizetes", &IniSettings::bKifizetes},
    {kToolbarSection, "bGarancia", &IniSettings::bGarancia},
    {kToolbarSection, "bBevetel", &IniSettings::bBevetel},
    {kToolbarSection, "bMegrendeles", &IniSettings::bMegrendeles},
    {kToolbarSection, "bSzallito", &IniSettings::bSzallito},
    {kToolbarSection, "bVisszaru", &IniSettings::bVisszaru},
    {kToolbarSection, "bSelejt", &IniSettings::bSelejt},
    {kToolbarSection, "bMunkalap", &IniSettings::bMunkalap},
};

const Key<QString> kTextKeys[] = {
    {kIniSection, "afakulcs", &IniSettings::afakulcs},
    {kIniSection, "fizmod", &IniSettings::fizmod},
    {kIniSection, "savepath", &IniSettings::savepath},
    {kIniSection, "pluginext", &IniSettings::pluginext},
};

const Key<QColor> kColorKeys[] = {
    {kIniSection, "zebracolor", &IniSettings::zebracolor},
    {kIniSection, "redcolor", &IniSettings::redcolor},
    {kIniSection, "graycolor", &IniSettings::graycolor},
};

const Key<QDate> kDateKeys[] = {
    {kIniSection, "szamDate", &IniSettings::szamDate},
    {kIniSection, "proDate", &IniSettings::proDate},
};

QString name(const char* text) {
    return QString::fromLatin1(text);
}

}  // namespace

QString IniSettings::dataFolder(const QString& programFolder) const {
    return QDir::cleanPath(QDir(programFolder).absoluteFilePath(database));
}

std::optional<QString> IniSettings::articleNumberLengthMessage(const QString& articleNumber) const {
    if (cikk_max <= 0) return std::nullopt;
    const qsizetype length = articleNumber.size();
    if (length <= cikk_max && length >= cikk_min) return std::nullopt;
    if (cikk_min == cikk_max)
        return QStringLiteral("A cikkszám mező hosszának %1 karakternek kell lennie!").arg(cikk_max);
    return QStringLiteral("A cikkszám mező hosszának %1 és %2 közé kell esnie!").arg(cikk_min).arg(cikk_max);
}

QString iniFilePath(const QString& programFolder) {
    return QDir(programFolder).filePath(name(kIniFileName));
}

IniSettings loadIniSettings(const IniFile& ini, const QString& programFolder, int defaultPrinter) {
    IniSettings s;
    s.printer = defaultPrinter;
    s.database = QDir(programFolder).filePath(QStringLiteral("adatok"));
    if (const std::optional<QString> database = ini.value(name(kIniSection), QStringLiteral("database"))) {
        s.database = *database;
        s.databaseGiven = true;
    }
    for (const Key<int>& key : kIntegerKeys)
        s.*key.member = ini.readInteger(name(key.section), name(key.name), s.*key.member);
    for (const Key<QString>& key : kTextKeys)
        s.*key.member = ini.readString(name(key.section), name(key.name), s.*key.member);
    for (const Key<QDate>& key : kDateKeys)
        s.*key.member = ini.readDate(name(key.section), name(key.name), s.*key.member);
    for (const Key<QColor>& key : kColorKeys) {
        const int fallback = colorToIni(s.*key.member);
        s.*key.member =
            colorFromIni(ini.readInteger(name(key.section), name(key.name), fallback)).value_or(s.*key.member);
    }
    return s;
}

void writeSetupKeys(IniFile& ini, const IniSettings& s) {
    const auto number = [](int value) { return QString::number(value); };
    ini.write(name(kIniSection), {
                                     {QStringLiteral("szlistmode"), number(s.szlistmode)},
                                     {QStringLiteral("tobbar"), number(s.tobbar)},
                                     {QStringLiteral("afakulcs"), s.afakulcs},
                                     {QStringLiteral("fizmod"), s.fizmod},
                                     {QStringLiteral("tsorrend"), number(s.tsorrend)},
                                     {QStringLiteral("printer"), number(s.printer)},
                                     {QStringLiteral("jelszokeres"), number(s.jelszokeres)},
                                     {QStringLiteral("savepath"), s.savepath},
                                     {QStringLiteral("automataar"), number(s.automataar)},
                                 });
}

void copySetupKeys(const IniSettings& from, IniSettings& to) {
    to.szlistmode = from.szlistmode;
    to.tobbar = from.tobbar;
    to.afakulcs = from.afakulcs;
    to.fizmod = from.fizmod;
    to.tsorrend = from.tsorrend;
    to.printer = from.printer;
    to.jelszokeres = from.jelszokeres;
    to.savepath = from.savepath;
    to.automataar = from.automataar;
}

std::optional<QColor> colorFromIni(int value) {
    if (value < 0 || value > 0xFFFFFF) return std::nullopt;
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

int colorToIni(const QColor& color) {
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

}  // namespace kavina
