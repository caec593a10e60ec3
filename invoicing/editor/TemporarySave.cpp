#include "invoicing/editor/TemporarySave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "dbase/DbError.h"
#include "dbase/Table.h"
#include "foundation/CatalogueFields.h"
#include "foundation/RecordEdit.h"
#include "foundation/RuleError.h"
#include "foundation/TableHandle.h"

namespace kavina::invoicing {

namespace {

namespace H = fields::Szamla;
namespace L = fields::Szamla2;

const QString kFilter = QStringLiteral("dbf fájlok (*.dbf);;Minden fájl (*.*)");

std::vector<dbase::FieldDef> definitionsOf(const RecordCursor& cursor) {
    std::vector<dbase::FieldDef> defs;
    for (const dbase::FieldInfo& f : cursor.fields()) defs.push_back({f.name, f.logical, f.length, f.decimals});
    return defs;
}

bool insideFolder(const QString& path, const QString& folder) {
    const QString dir = QFileInfo(QFileInfo(path).absolutePath()).canonicalFilePath();
    const QString data = QFileInfo(folder).canonicalFilePath();
    return !data.isEmpty() && (dir == data || dir.startsWith(data + QLatin1Char('/')));
}

QString parentOf(const QString& dataFolder) {
    QDir dir(dataFolder);
    dir.cdUp();
    return dir.absolutePath();
}

void writeTable(const QString& folder, const QString& name, RecordCursor& source) {
    dbase::Table::create(folder.toStdString(), name.toStdString(), definitionsOf(source));
    TableHandle table(folder.toStdString(), name.toStdString());
    table.open();
    const CursorMark at = source.bookmark();
    for (source.first(); !source.isEmpty() && !source.eof(); source.next()) {
        RecordEdit row = RecordEdit::append(table);
        copyFieldsByName(source, table);
        row.post();
    }
    source.gotoBookmark(at);
    table.close();
}

// The header and lines a pair holds, read into record sets shaped as the editor's.
bool readPair(const TemporaryFiles& files, MemTable& header, MemTable& lines) {
    if (!QFileInfo::exists(files.header) || !QFileInfo::exists(files.lines)) return false;
    const QFileInfo head(files.header), body(files.lines);
    TableHandle storedHeader(head.absolutePath().toStdString(), head.fileName().toStdString());
    TableHandle storedLines(body.absolutePath().toStdString(), body.fileName().toStdString());
    try {
        storedHeader.open({.readOnly = true});
        storedLines.open({.readOnly = true});
    } catch (const dbase::DbError&) {
        return false;
    }
    // A document header has its number, type and buyer; its lines their document and product.
    for (const Field& f : {H::SZAMLASZAM, H::SZAMLATIP, H::NEV, H::KIALLIT})
        if (storedHeader.fieldIndex(f.name) < 0) return false;
    for (const Field& f : {L::SZAMLASZAM, L::ANYAGSZAM, L::MENNYISEG, L::NETTOAR})
        if (storedLines.fieldIndex(f.name) < 0) return false;
    if (storedHeader.recordCount() != 1) return false;
    storedHeader.first();
    RecordEdit row = RecordEdit::append(header);
    copyFieldsByName(storedHeader, header);
    row.post();
    for (storedLines.first(); !storedLines.isEmpty() && !storedLines.eof(); storedLines.next()) {
        RecordEdit line = RecordEdit::append(lines);
        copyFieldsByName(storedLines, lines);
        line.post();
    }
    return true;
}

}  // namespace

TemporaryFiles temporaryFiles(const QString& chosen) {
    QString header = chosen;
    if (!header.endsWith(QStringLiteral(".dbf"), Qt::CaseInsensitive)) header += QStringLiteral(".dbf");
    return {header, header.left(header.size() - 4) + QStringLiteral(".dbx")};
}

bool saveTemporary(MemoryDocument& document, Prompt& prompt, const QString& dataFolder) {
    const std::optional<QString> chosen = prompt.chooseFile({.caption = QStringLiteral("Ideiglenes mentés"),
                                                             .folder = parentOf(dataFolder),
                                                             .filter = kFilter,
                                                             .save = true});
    if (!chosen || chosen->trimmed().isEmpty()) return false;
    const TemporaryFiles files = temporaryFiles(*chosen);
    if (insideFolder(files.header, dataFolder)) {
        prompt.warning(QStringLiteral("Figyelem!"), kTemporaryInDataFolder);
        return false;
    }
    const QFileInfo target(files.header);
    QTemporaryDir scratch(target.absolutePath() + QStringLiteral("/.kavina-mentes-XXXXXX"));
    if (!scratch.isValid()) throw RuleError(QStringLiteral("A mentés nem írható ide: ") + target.absolutePath());
    const QString base = target.completeBaseName();
    writeTable(scratch.path(), base + QStringLiteral(".dbf"), document.mszamla);
    writeTable(scratch.path(), base + QStringLiteral(".dbx"), document.mszamla2);
    // Every file of the pair (with the header's memo file) goes into place by renaming.
    for (const QString& name : QDir(scratch.path()).entryList(QDir::Files)) {
        const QString into = target.absolutePath() + QLatin1Char('/') + name;
        QFile::remove(into);
        if (!QFile::rename(scratch.filePath(name), into))
            throw RuleError(QStringLiteral("A mentés nem írható ide: ") + into);
    }
    prompt.information(QStringLiteral("Kavina"), kTemporarySaved);
    return true;
}

bool reloadTemporary(MemoryDocument& document, Prompt& prompt, const QString& dataFolder) {
    const std::optional<QString> chosen = prompt.chooseFile(
        {.caption = QStringLiteral("Mentés visszatöltése"), .folder = parentOf(dataFolder), .filter = kFilter});
    if (!chosen || chosen->trimmed().isEmpty()) return false;
    MemTable header("mszamla"), lines("mszamla2");
    header.copyStructure(document.mszamla);
    lines.copyStructure(document.mszamla2);
    bool read = false;
    try {
        read = readPair(temporaryFiles(*chosen), header, lines);
    } catch (const dbase::DbError&) {
        read = false;
    }
    if (!read) {
        prompt.warning(QStringLiteral("Figyelem!"), kNotATemporarySave);
        return false;
    }
    document.empty();
    header.first();
    RecordEdit row = RecordEdit::append(document.mszamla);
    copyFieldsByName(header, document.mszamla);
    row.post();
    for (lines.first(); !lines.isEmpty() && !lines.eof(); lines.next()) {
        RecordEdit line = RecordEdit::append(document.mszamla2);
        copyFieldsByName(lines, document.mszamla2);
        line.post();
    }
    prompt.information(QStringLiteral("Kavina"), kTemporaryLoaded);
    return true;
}

}  // namespace kavina::invoicing
