#include "widgets/FormParts.h"

#include <QBoxLayout>
#include <QDateEdit>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>

namespace kavina::widgets {

QTableView* listView(const QString& objectName) {
    auto* view = new QTableView;
    view->setObjectName(objectName);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    return view;
}

QPushButton* addPushButton(QBoxLayout* layout, const QString& text, const QString& objectName) {
    auto* button = new QPushButton(text);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    layout->addWidget(button);
    return button;
}

QDateEdit* dateBox(const QString& objectName, bool emptyAllowed) {
    auto* box = new QDateEdit;
    box->setObjectName(objectName);
    box->setDisplayFormat(QStringLiteral("yyyy.MM.dd"));
    box->setMinimumDate(kNoDate);
    if (emptyAllowed) box->setSpecialValueText(QStringLiteral(" "));
    box->setCalendarPopup(true);
    return box;
}

bool opensPicker(const QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease)
        return static_cast<const QMouseEvent*>(event)->button() == Qt::LeftButton;
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Escape && key != Qt::Key_Tab &&
           key != Qt::Key_Backtab;
}

}  // namespace kavina::widgets
