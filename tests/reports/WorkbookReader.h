#pragma once
// A saved workbook read back by an independent reader (openpyxl), for the tests that check the
// cells a spreadsheet program would see.

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>

namespace kavina::reports {

// The workbook read back with openpyxl: "A1" to [value, "s" or "n", bold], and "widths" of B to K.
inline QJsonObject readBack(const QString& path) {
    const QString script = QStringLiteral(R"(
import json, sys, openpyxl
sheet = openpyxl.load_workbook(sys.argv[1]).active
cells = {}
for row in sheet.iter_rows():
    for c in row:
        if c.value is not None:
            cells[c.coordinate] = [c.value, c.data_type, bool(c.font.b)]
cells["widths"] = [sheet.column_dimensions[l].width for l in "BCDEFGHIJK"]
print(json.dumps(cells))
)");
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, path});
    EXPECT_TRUE(python.waitForFinished(30000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

}  // namespace kavina::reports
