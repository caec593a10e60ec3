#include "foundation/StorableText.h"

#include <QStringList>

#include "dbase/CodePage.h"

namespace kavina {
namespace {

// Through the engine's own conversion, which is how the text reaches the tables: a letter the
// code page lacks comes back as '?'. (A converter of Qt's costs far more to make than a name
// costs to convert, and record sets check every text written into them.)
bool roundTrips(const QString& text) {
    const std::string utf8 = text.toStdString();
    return dbase::toUtf8(dbase::CodePage::Win1250, dbase::fromUtf8(dbase::CodePage::Win1250, utf8)) == utf8;
}

bool plainAscii(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() >= 0x80) return false;
    return true;
}

}  // namespace

QString unstorableLetters(const QString& text) {
    if (plainAscii(text) || roundTrips(text)) return {};
    QString letters;
    for (const char32_t code : text.toUcs4()) {
        const QString letter = QString::fromUcs4(&code, 1);
        if (!letters.contains(letter) && !roundTrips(letter)) letters += letter;
    }
    return letters;
}

std::optional<QString> unstorableTextMessage(const QString& text) {
    const QString letters = unstorableLetters(text);
    if (letters.isEmpty()) return std::nullopt;
    QStringList named;
    for (const char32_t code : letters.toUcs4()) named << QString::fromUcs4(&code, 1);
    const QString lead = named.size() == 1 ? QStringLiteral("Ezt a betűt az adatbázis nem tudja tárolni: ")
                                           : QStringLiteral("Ezeket a betűket az adatbázis nem tudja tárolni: ");
    return lead + named.join(QStringLiteral(", ")) + QLatin1Char('\n') +
           QStringLiteral("Kérem, javítsa a szöveget: „%1”").arg(text);
}

void requireStorableText(const QString& text) {
    if (const std::optional<QString> message = unstorableTextMessage(text)) throw UnstorableTextError(*message);
}

}  // namespace kavina
