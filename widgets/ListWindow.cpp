#include "widgets/ListWindow.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace kavina::widgets {

ListWindow::ListWindow(QDialog* dialog, const QString& gridName)
    : m_dialog(dialog), m_grid(new QTableView), m_buttons(new QVBoxLayout) {
    m_grid->setObjectName(gridName);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    // Rows one line of text high, as in the program's other lists.
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    auto* layout = new QHBoxLayout(dialog);
    layout->addWidget(m_grid, 1);
    layout->addLayout(m_buttons);
}

QPushButton* ListWindow::addButton(const QString& text, const QString& objectName) {
    auto* b = new QPushButton(text);
    b->setObjectName(objectName);
    // Every button of the column as wide as the widest caption, with room around it.
    b->setMinimumWidth(b->sizeHint().width() + 16);
    b->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_buttons->addWidget(b);
    return b;
}

QPushButton* ListWindow::addCloseButton() {
    m_buttons->addStretch(1);
    QPushButton* close = addButton(QStringLiteral("&Kilépés"), QStringLiteral("closePushButton"));
    QObject::connect(close, &QPushButton::clicked, m_dialog, &QDialog::reject);
    return close;
}

void ListWindow::stretchColumn(int column) {
    QHeaderView* header = m_grid->horizontalHeader();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setSectionResizeMode(column, QHeaderView::Stretch);
}

}  // namespace kavina::widgets
