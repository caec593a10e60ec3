#include "reports/products/forms/StatisticsTab.h"

#include <QApplication>
#include <QDateEdit>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "report/view/PreviewWindow.h"
#include "widgets/FormParts.h"

namespace kavina::reports {

void previewStatistics(const report::PreparedReport& pages, Prompt& prompt, report::PrintService* printing,
                       QWidget* parent) {
    if (!printing) return;
    report::PreviewWindow preview(pages, prompt, *printing, {.pdfFileName = QStringLiteral("statisztika.pdf")}, parent);
    preview.exec();
}

StatisticsTab statisticsTab(const QString& name, const QDate& today, QDialog* window) {
    StatisticsTab tab;
    tab.widget = new QWidget;
    auto* layout = new QVBoxLayout(tab.widget);
    tab.inputs = new QGridLayout;
    tab.inputs->addWidget(new QLabel(QStringLiteral("Vizsgált időszak:")), 0, 0);
    tab.from = widgets::dateBox(name + QStringLiteral("From"));
    tab.to = widgets::dateBox(name + QStringLiteral("To"));
    tab.from->setDate(today);
    tab.to->setDate(today);
    auto* period = new QHBoxLayout;
    period->addWidget(tab.from);
    period->addWidget(new QLabel(QStringLiteral("-tól")));
    period->addWidget(tab.to);
    period->addWidget(new QLabel(QStringLiteral("-ig")));
    period->addStretch(1);
    tab.inputs->addLayout(period, 0, 1);
    tab.inputs->setColumnStretch(1, 1);
    layout->addLayout(tab.inputs);
    tab.view = widgets::listView(name + QStringLiteral("Grid"));
    layout->addWidget(tab.view, 1);
    tab.totals = new QHBoxLayout;
    tab.totals->addStretch(1);
    layout->addLayout(tab.totals);
    auto* buttons = new QHBoxLayout;
    tab.collect = widgets::addPushButton(buttons, QStringLiteral("Kigyűjtés"), name + QStringLiteral("Collect"));
    tab.print = widgets::addPushButton(buttons, QStringLiteral("Nyomtatás"), name + QStringLiteral("Print"));
    buttons->addStretch(1);
    tab.close = widgets::addPushButton(buttons, QStringLiteral("Bezár"), name + QStringLiteral("Close"));
    QObject::connect(tab.close, &QPushButton::clicked, window, &QDialog::reject);
    layout->addLayout(buttons);
    return tab;
}

void fitColumns(QTableView* view, int stretchColumn) {
    view->resizeColumnsToContents();
    view->horizontalHeader()->setSectionResizeMode(stretchColumn, QHeaderView::Stretch);
}

void dropFocus(QWidget* window) {
    QWidget* focused = QApplication::focusWidget();
    if (focused && window->isAncestorOf(focused)) focused->clearFocus();
}

QLabel* totalLabel(const QString& objectName) {
    auto* label = new QLabel;
    label->setObjectName(objectName);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

QProgressBar* processingBar(QWidget** row) {
    *row = new QWidget;
    auto* layout = new QHBoxLayout(*row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Feldolgozás: ")));
    auto* bar = new QProgressBar;
    bar->setObjectName(QStringLiteral("progress"));
    layout->addWidget(bar, 1);
    (*row)->setVisible(false);
    return bar;
}

Progress progressOn(QProgressBar* bar) {
    return [bar](int done, int total) {
        bar->setMaximum(std::max(total, 1));
        bar->setValue(done);
        bar->repaint();
    };
}

}  // namespace kavina::reports
