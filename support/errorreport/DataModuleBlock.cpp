#include "support/errorreport/DataModuleBlock.h"

#include <exception>

#include "foundation/Catalogue.h"
#include "foundation/TDataModule1.h"
#include "support/errorreport/ErrorReport.h"

namespace kavina::support {

namespace {

QString stateText(dbase::TableState state) {
    switch (state) {
        case dbase::TableState::Inactive: return QStringLiteral(" inactive");
        case dbase::TableState::Browse: return QStringLiteral(" browse");
        case dbase::TableState::Edit: return QStringLiteral(" edit");
        case dbase::TableState::Insert: return QStringLiteral(" insert");
    }
    return {};
}

QString row(const QString& name, const QString& text) {
    return "<tr><td align=\"right\">" + name + "</td><td>" + htmlEscape(text) + "</td></tr>";
}

void addFields(QStringList& lines, TableHandle& handle) {
    QString names = QStringLiteral("<tr>");
    QString values = QStringLiteral("<tr>");
    const auto& fields = handle.fields();
    for (int i = 0; i < static_cast<int>(fields.size()); ++i) {
        names += "<td>" + htmlEscape(QString::fromStdString(fields[i].name)) + "</td>";
        const bool memo = fields[i].logical == dbase::FieldType::Memo;
        QString value;
        if (memo)
            value = QStringLiteral("<memo>");
        else if (!handle.eof() || handle.state() == dbase::TableState::Insert)
            value = handle.asString(i);
        values += "<td>" + htmlEscape(value) + "</td>";
    }
    lines << row(QString(), QStringLiteral(".fields"));
    lines << QStringLiteral(
                 "<tr><td></td><td><table border=\"1\" cellspacing=\"0\" style=\"border-collapse: "
                 "collapse; font-size: 9pt;\">")
          << names + "</tr>" << values + "</tr>" << QStringLiteral("</table></td></tr>");
}

void addHandle(QStringList& lines, TableHandle& handle, const TableDef& def, const QString& folder) {
    lines << "<tr><td align=\"right\"><b>" + htmlEscape(QString::fromStdString(def.fileName)) + "</b></td><td>" +
                 htmlEscape(".active=" + QString(handle.isOpen() ? "Igen" : "Nem")) + "</td></tr>"
          << row(QString(), ".databasename=" + folder);
    if (!handle.isOpen()) return;
    try {
        lines << row(QString(), QStringLiteral(".indexfieldnames="))
              << row(QString(), ".indexname=" + QString::fromStdString(handle.order()))
              << row(QString(), ".filter=" + QString::fromStdString(handle.filter()))
              << row(QString(), ".recno=" + QString::number(handle.table().recNo()))
              << row(QString(), ".statusz=" + stateText(handle.state()));
        addFields(lines, handle);
    } catch (const std::exception& e) {
        lines << row(QString(), ".hiba=" + QString::fromUtf8(e.what()));
    }
}

}  // namespace

QStringList dataModuleBlock(TDataModule1& data) {
    QStringList lines{QStringLiteral("<p style=\"background-color: #F8F8F8;\"><b>DataModule1:TDataModule1</b></p>"),
                      QStringLiteral("<table border=\"0\" cellspacing=\"0\" style=\"font-size: 10pt;\">")};
    const QString folder = QString::fromStdString(data.dataFolder());
    for (const TableDef& def : catalogue::tables()) {
        if (def.handleName.empty()) continue;
        try {
            addHandle(lines, data.handle(def.id), def, folder);
        } catch (const std::exception& e) {
            lines << row(htmlEscape(QString::fromStdString(def.fileName)), ".hiba=" + QString::fromUtf8(e.what()));
        }
    }
    lines << QStringLiteral("</table>");
    return lines;
}

}  // namespace kavina::support
