#include "mail/MailMessage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QUuid>
#include <cstdlib>

namespace kavina::mail {

namespace {

const QByteArray kCrLf = QByteArrayLiteral("\r\n");

bool isPlainAscii(const QString& text) {
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() > 0x7e) return false;
    return true;
}

// A header value safe to put between quotes: no quote, backslash or line break.
QByteArray quotedAscii(const QString& text) {
    QByteArray bytes = text.toLatin1();
    bytes.replace('\\', "\\\\").replace('"', "\\\"");
    return '"' + bytes + '"';
}

QByteArray mailbox(const QString& name, const QString& address) {
    const QByteArray shown = isPlainAscii(name) ? quotedAscii(name) : encodeHeaderText(name);
    return shown + " <" + address.toUtf8() + '>';
}

// Quoted-printable (RFC 2045) of one line of UTF-8, soft breaks keeping lines under 76.
QByteArray quotedPrintableLine(const QByteArray& line) {
    QByteArray out;
    int column = 0;
    for (int i = 0; i < line.size(); ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        const bool last = i + 1 == line.size();
        QByteArray piece;
        if ((c >= 33 && c <= 126 && c != '=') || ((c == ' ' || c == '\t') && !last))
            piece = QByteArray(1, static_cast<char>(c));
        else
            piece = '=' + QByteArray::number(c, 16).toUpper().rightJustified(2, '0');
        if (column + piece.size() > 75) {
            out += "=" + kCrLf;
            column = 0;
        }
        out += piece;
        column += static_cast<int>(piece.size());
    }
    return out;
}

QByteArray base64Lines(const QByteArray& data) {
    const QByteArray encoded = data.toBase64();
    QByteArray out;
    for (qsizetype i = 0; i < encoded.size(); i += 76) out += encoded.mid(i, 76) + kCrLf;
    return out;
}

QByteArray attachmentHeaders(const QString& name) {
    QByteArray type = QByteArrayLiteral("application/octet-stream");
    const QString suffix = QFileInfo(name).suffix().toLower();
    if (suffix == QLatin1String("htm") || suffix == QLatin1String("html"))
        type = QByteArrayLiteral("text/html");
    else if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        type = QByteArrayLiteral("image/jpeg");
    QByteArray disposition = QByteArrayLiteral("attachment; ");
    if (isPlainAscii(name))
        disposition += "filename=" + quotedAscii(name);
    else
        disposition += "filename*=UTF-8''" + name.toUtf8().toPercentEncoding();
    return "Content-Type: " + type + kCrLf + "Content-Transfer-Encoding: base64" + kCrLf +
           "Content-Disposition: " + disposition + kCrLf;
}

}  // namespace

QByteArray encodeHeaderText(const QString& text) {
    if (isPlainAscii(text)) return text.toLatin1();
    return "=?UTF-8?B?" + text.toUtf8().toBase64() + "?=";
}

QByteArray composeMime(const MailMessage& message, const QDateTime& now) {
    const QByteArray boundary = "=_kavina_" + QUuid::createUuid().toByteArray(QUuid::Id128);
    QByteArray out;
    // The zone as an offset, as mail readers expect it.
    const int offset = now.offsetFromUtc() / 60;
    out += "Date: " + QLocale::c().toString(now, QStringLiteral("ddd, dd MMM yyyy HH:mm:ss ")).toLatin1() +
           (offset < 0 ? "-" : "+") + QByteArray::number(std::abs(offset) / 60).rightJustified(2, '0') +
           QByteArray::number(std::abs(offset) % 60).rightJustified(2, '0') + kCrLf;
    out += "From: " + mailbox(message.fromName, message.fromAddress) + kCrLf;
    out += "To: <" + message.to.toUtf8() + '>' + kCrLf;
    out += "Subject: " + encodeHeaderText(message.subject) + kCrLf;
    const QString domain = message.fromAddress.section(QLatin1Char('@'), 1);
    out += "Message-ID: <" + QUuid::createUuid().toByteArray(QUuid::Id128) + '@' +
           (domain.isEmpty() ? QByteArrayLiteral("kavina") : domain.toUtf8()) + '>' + kCrLf;
    out += "MIME-Version: 1.0" + kCrLf;
    out += "Content-Type: multipart/mixed; boundary=\"" + boundary + '"' + kCrLf + kCrLf;
    out += "--" + boundary + kCrLf;
    out += "Content-Type: text/plain; charset=UTF-8" + kCrLf;
    out += "Content-Transfer-Encoding: quoted-printable" + kCrLf + kCrLf;
    for (const QString& line : message.bodyLines) {
        // A body line may carry its own line breaks (the feedback's message box).
        for (const QString& part : QString(line).replace(QLatin1String("\r\n"), QLatin1String("\n")).split('\n'))
            out += quotedPrintableLine(part.toUtf8()) + kCrLf;
    }
    for (const QString& path : message.attachments) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw MailError(MailError::Kind::Composition,
                            QStringLiteral("A csatolandó fájl nem olvasható: ") + QDir::toNativeSeparators(path));
        out += "--" + boundary + kCrLf;
        out += attachmentHeaders(QFileInfo(path).fileName()) + kCrLf;
        out += base64Lines(file.readAll());
    }
    out += "--" + boundary + "--" + kCrLf;
    return out;
}

}  // namespace kavina::mail
