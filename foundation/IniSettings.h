#pragma once
// The workstation settings of "kavinaextra.ini" beside the program: where the data folder is,
// how lists look, which printer, which toolbar buttons. Every key has its default here; a
// missing or unreadable value takes it, and only database is required by start-up.
//
// Members carry the names of their ini keys. Integer switches stay integers because the
// program tests most of them for 1 exactly ("1: lists draw zebra rows; otherwise ...").
#include <QColor>
#include <QDate>
#include <QString>
#include <optional>

#include "foundation/IniFile.h"

namespace kavina {

struct IniSettings {
    // section adatok
    QString database;            // as written; see dataFolder()
    bool databaseGiven = false;  // whether the file names the data folder
    int kilepett = 0;
    int autoindex = 0;
    int nologo = 0;
    int spack = 0;
    int pkod = 0;
    int nszam = 0;
    int rkod = 0;
    int zebragrid = 1;
    QColor zebracolor = QColor(253, 255, 210);
    int colorgrid = 1;
    int extgridcolor = 1;
    QColor redcolor = QColor(255, 0, 0);
    QColor graycolor = QColor(128, 128, 128);
    int gridfontsize = 8;
    int menufontsize = 8;
    int dbrowselect = 1;
    int norefresh = 1;
    int szlistmode = 1;
    int tobbar = 1;
    int automataar = 0;
    QString afakulcs;
    QString fizmod;
    int tsorrend = 0;
    int cikk_min = 0;
    int cikk_max = 0;
    int anyagminusz = 1;
    int bfont = 7;
    int printer = 0;
    int datumkeres = 0;
    int jelszokeres = 0;
    QString savepath;
    QDate szamDate = QDate(2000, 1, 1);
    QDate proDate = QDate(2000, 1, 1);
    QString pluginext = QStringLiteral("kvp");
    int zirma = 0;
    // section toolbar
    int bAjanlat = 1;
    int bSzamla = 1;
    int bEladas = 1;
    int bKifizetes = 1;
    int bGarancia = 1;
    int bBevetel = 1;
    int bMegrendeles = 1;
    int bSzallito = 1;
    int bVisszaru = 1;
    int bSelejt = 1;
    int bMunkalap = 1;

    bool operator==(const IniSettings&) const = default;

    // The data folder as a path: a relative database value is taken from the program folder.
    QString dataFolder(const QString& programFolder) const;

    // The warning for an article number of the wrong length, or nothing when the length is
    // allowed. Lengths are checked only when cikk_max is above 0.
    std::optional<QString> articleNumberLengthMessage(const QString& articleNumber) const;
};

inline constexpr const char* kIniFileName = "kavinaextra.ini";
inline constexpr const char* kIniSection = "adatok";
inline constexpr const char* kToolbarSection = "toolbar";

// programFolder + "/kavinaextra.ini".
QString iniFilePath(const QString& programFolder);

// Every key of the file, defaults for the missing ones. database defaults to
// programFolder + "/adatok", printer to defaultPrinter (the index of the system's default
// printer in the printer list).
IniSettings loadIniSettings(const IniFile& ini, const QString& programFolder, int defaultPrinter);

// Writes the keys the settings dialog owns (szlistmode, tobbar, afakulcs, fizmod, tsorrend,
// printer, jelszokeres, savepath, automataar) in one replacement of the file. Throws IniError.
void writeSetupKeys(IniFile& ini, const IniSettings& settings);
// Copies those keys from one set of settings into another.
void copySetupKeys(const IniSettings& from, IniSettings& to);

// Colours are integers with red in the low byte, green in the next and blue in the third.
// Values outside 0..0xFFFFFF (the desktop's symbolic system colours) give nothing.
std::optional<QColor> colorFromIni(int value);
int colorToIni(const QColor& color);

}  // namespace kavina
