#pragma once
// Paints the rows of a list in the colour its row tag (RecordGridModel::kRowTagRole) stands
// for: the text in the colour, or, when the selected row is to stand out on it (the ini
// setting extgridcolor), the selected row on the colour with white text. A tag the colour
// function gives no valid colour for is painted as usual.

#include <QColor>
#include <QStyledItemDelegate>
#include <functional>

namespace kavina::widgets {

class RowColourDelegate final : public QStyledItemDelegate {
public:
    using Colour = std::function<QColor(int tag)>;

    RowColourDelegate(Colour colour, bool selectedOnColour, QObject* parent);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    Colour m_colour;
    bool m_selectedOnColour;
};

}  // namespace kavina::widgets
