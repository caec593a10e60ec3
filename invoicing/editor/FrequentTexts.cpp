#include "invoicing/editor/FrequentTexts.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include "foundation/RuleError.h"

namespace kavina::invoicing {

QString loadFrequentTexts(const QString& folder) {
    QFile file(QDir(folder).filePath(kFrequentTextsFile));
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;
    QStringDecoder windows("windows-1250");
    return windows.decode(bytes);
}

void leaveFrequentTexts(const QString& folder, const QString& loaded, const QString& edited, Prompt& prompt) {
    if (edited == loaded) return;
    if (!prompt.askYesNo(QStringLiteral("Figyelem!"), QStringLiteral("A Tartalom megváltozott! Szeretné menteni?")))
        return;
    QSaveFile file(QDir(folder).filePath(kFrequentTextsFile));
    if (!file.open(QIODevice::WriteOnly) || file.write(edited.toUtf8()) < 0 || !file.commit())
        throw RuleError(QStringLiteral("A gyakran használt szövegek nem menthetők: ") + file.fileName());
}

}  // namespace kavina::invoicing
