#include "support/errorreport/ErrorReport.h"

#include "foundation/TextFormat.h"

namespace kavina::support {

namespace {

const QString kTab = QStringLiteral("\t");
const QString kRowStart = QStringLiteral("\t<tr valign=\"top\">");
const QString kRowEnd = QStringLiteral("\t</tr>");
const QString kEmptyCell = QStringLiteral("&nbsp;");

// The text's lines, whatever line ends it uses.
QStringList splitLines(const QString& text) {
    QString unified = text;
    unified.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return unified.split(QLatin1Char('\n'));
}

void addRow(QStringList& lines, const QString& label, const QString& value) {
    lines << kRowStart << kTab + kTab + "<td nowrap>" + label + "</td>" << kTab + kTab + "<td>" + value + "</td>"
          << kRowEnd;
}

void addEmptyRow(QStringList& lines) {
    addRow(lines, kEmptyCell, kEmptyCell);
}

void addSection(QStringList& lines, const QString& label) {
    lines << QString() << kRowStart << kTab + kTab + "<td nowrap bgcolor=\"#F0F0F0\">" + label + "</td>"
          << kTab + kTab + "<td bgcolor=\"#F0F0F0\">" + kEmptyCell + "</td>" << kRowEnd;
}

// A row whose value is a list of lines, each ended by a line break, the cell and the row
// closed on a line of their own.
void addListRow(QStringList& lines, const QStringList& htmlLines) {
    lines << kRowStart << kTab + kTab + "<td nowrap>" + kEmptyCell + "</td>";
    if (htmlLines.isEmpty()) {
        lines << kTab + kTab + "<td>";
    } else {
        lines << kTab + kTab + "<td>" + htmlLines.first() + "<br>";
        for (qsizetype i = 1; i < htmlLines.size(); ++i) lines << htmlLines[i] + "<br>";
    }
    lines << QStringLiteral("<br></td></tr>");
}

QStringList escapedLines(const QStringList& texts) {
    QStringList out;
    for (const QString& text : texts) out << htmlEscape(text);
    return out;
}

// The value cell of "Hibaüzenet:": the error text, which brings its own line breaks, then
// the message in brackets.
void addMessageRow(QStringList& lines, const QString& errorText, const QString& message) {
    lines << kRowStart << kTab + kTab + "<td nowrap>Hibaüzenet:</td>";
    QStringList valueLines = splitLines(errorText + "[" + message + "]");
    for (QString& line : valueLines) line = htmlEscape(line);
    valueLines.first() = kTab + kTab + "<td><font color=\"#FF0000\">" + valueLines.first();
    valueLines.last() += QStringLiteral("</font></td>");
    lines << valueLines << kRowEnd;
}

}  // namespace

QString htmlEscape(const QString& text) {
    return text.toHtmlEscaped();
}

QString htmlUnescape(const QString& text) {
    QString out = text;
    out.replace(QLatin1String("&lt;"), QLatin1String("<"))
        .replace(QLatin1String("&gt;"), QLatin1String(">"))
        .replace(QLatin1String("&quot;"), QLatin1String("\""))
        .replace(QLatin1String("&#39;"), QLatin1String("'"))
        .replace(QLatin1String("&nbsp;"), QLatin1String(" "));
    // Last, so that an escaped entity ("&amp;lt;") comes back as the text it was.
    out.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return out;
}

QString composeErrorText(const QString& typeName, const QString& moduleName, quint32 address, const QString& message) {
    QString text = "Exception " + typeName + " in module " + moduleName + " at " +
                   QStringLiteral("%1").arg(address, 8, 16, QLatin1Char('0')).toUpper() + ".\r\n" + message;
    if (!message.isEmpty() && message.back() > QLatin1Char('.')) text += QLatin1Char('.');
    return text + "\r\n";
}

QStringList errorReportLines(const ErrorReportContent& c) {
    const ErrorDetails& d = c.details;
    QStringList lines{
        QStringLiteral("<html>"),
        QStringLiteral("<head>"),
        QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1250\">"),
        QStringLiteral(" <title>Hibajelentés</title>"),
        QStringLiteral("</head>"),
        QString(),
        QStringLiteral("<body style=\"font-family: arial, verdana; font-size: 10pt;\">"),
        QString(),
        QStringLiteral("<table border=\"1\" width=\"100%\" cellspacing=\"0\" style=\"border-collapse: collapse; "
                       "font-size: 10pt;\">"),
        kRowStart,
        QStringLiteral("\t\t<td colspan=\"2\" bgcolor=\"#E0E0E0\">"),
        QStringLiteral("\t\t<p align=\"center\"><b><font size=\"4\">Hibajelentés</font></b></td>"),
        kRowEnd,
    };
    addRow(lines, QStringLiteral("Alkalmazás:"), " <b>" + htmlEscape(c.executablePath) + "</b>");
    addRow(lines, QStringLiteral("Verzió:"), " <b>" + htmlEscape(c.version) + "</b>");
    addRow(lines, QStringLiteral("Hiba időpontja:"),
           " <b>" + htmlEscape(dateText(c.moment.date()) + " " + timeText(c.moment.time())) + "</b>");
    addEmptyRow(lines);
    lines << QString();
    addMessageRow(lines, c.errorText, d.message);
    addEmptyRow(lines);
    addRow(lines, QStringLiteral("Hiba osztály:"), htmlEscape(d.typeName + ":" + d.baseTypeName));
    addRow(lines, QStringLiteral("Objektum:"), htmlEscape(d.sender));
    addRow(lines, QStringLiteral("Aktív ablak:"), htmlEscape(d.activeWindow));
    addRow(lines, QStringLiteral("Aktív objektum"), htmlEscape(d.activeObject));
    addEmptyRow(lines);
    addSection(lines, QStringLiteral("Nyitott ablakok:"));
    addListRow(lines, escapedLines(d.openWindows));
    addSection(lines, QStringLiteral("Rendszerkörnyezet:"));
    addListRow(lines, {c.workstationBlock});
    addSection(lines, QStringLiteral("kavinaextra.ini fájl:"));
    addListRow(lines, escapedLines(c.iniLines));
    if (c.errorLogLines) {
        addSection(lines, QStringLiteral("error.log fájl:"));
        addListRow(lines, escapedLines(*c.errorLogLines));
    }
    addSection(lines, QStringLiteral("Adatmodulok:"));
    lines << kRowStart << QStringLiteral("\t\t<td nowrap>&nbsp;</td>") << QStringLiteral("\t\t<td>");
    lines << c.dataModuleLines;
    lines << QStringLiteral("\t\t</td>") << kRowEnd;
    lines << QStringLiteral("</table>") << "<img src=\"" + htmlEscape(c.screenshotName) + "\">"
          << QStringLiteral("</body>") << QStringLiteral("</html>");
    return lines;
}

QString errorReportFileName(const QDateTime& moment) {
    return "err" + moment.toString(QStringLiteral("yyMMddHHmmss")) + ".htm";
}

QString screenshotFileName(const QDateTime& moment) {
    return "err" + moment.toString(QStringLiteral("yyMMddHHmmss")) + ".jpg";
}

}  // namespace kavina::support
