#include "widgets/ListSettings.h"

#include <QHeaderView>
#include <QTableView>

#include "foundation/IniSettings.h"

namespace kavina::widgets {

void applyListSettings(QTableView* grid, const IniSettings& settings) {
    QFont font = grid->font();
    if (settings.gridfontsize > 0) font.setPointSize(settings.gridfontsize + 1);
    grid->setFont(font);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->setSelectionBehavior(settings.dbrowselect == 1 ? QAbstractItemView::SelectRows
                                                         : QAbstractItemView::SelectItems);
    const bool zebra = settings.zebragrid == 1;
    grid->setAlternatingRowColors(zebra);
    grid->setShowGrid(!zebra);
    if (zebra) {
        QPalette palette = grid->palette();
        palette.setColor(QPalette::AlternateBase, settings.zebracolor);
        grid->setPalette(palette);
    }
}

}  // namespace kavina::widgets
