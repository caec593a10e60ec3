#pragma once
// The workstation's list settings applied to a grid: zebra rows and their colour (zebragrid,
// zebracolor), whole-row selection (dbrowselect) and the font size (gridfontsize).

class QTableView;

namespace kavina {
struct IniSettings;
}

namespace kavina::widgets {

void applyListSettings(QTableView* grid, const IniSettings& settings);

}  // namespace kavina::widgets
