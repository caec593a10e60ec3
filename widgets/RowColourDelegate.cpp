#include "widgets/RowColourDelegate.h"

#include "widgets/RecordGridModel.h"

namespace kavina::widgets {

RowColourDelegate::RowColourDelegate(Colour colour, bool selectedOnColour, QObject* parent)
    : QStyledItemDelegate(parent), m_colour(std::move(colour)), m_selectedOnColour(selectedOnColour) {}

void RowColourDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    const QColor colour = m_colour(index.data(RecordGridModel::kRowTagRole).toInt());
    if (!colour.isValid()) return;
    if (m_selectedOnColour && (option->state & QStyle::State_Selected)) {
        option->palette.setColor(QPalette::Highlight, colour);
        option->palette.setColor(QPalette::HighlightedText, Qt::white);
        return;
    }
    option->palette.setColor(QPalette::Text, colour);
    option->palette.setColor(QPalette::HighlightedText, colour.lighter(180));
}

}  // namespace kavina::widgets
