#include "support/nav/forms/OnlineInvoiceWindow.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include "foundation/CommandBoundary.h"
#include "widgets/FormParts.h"

namespace kavina::nav {

namespace {

const QStringList kColumns{QStringLiteral("Számlaszám"), QStringLiteral("Művelet"),  QStringLiteral("Állapot"),
                           QStringLiteral("Mentve"),     QStringLiteral("Beküldve"), QStringLiteral("NAV üzenet")};

QColor stateColour(QueueState state) {
    switch (state) {
        case QueueState::Aborted: return QColor(255, 205, 205);
        case QueueState::DoneWithWarnings: return QColor(255, 240, 190);
        case QueueState::Waiting:
        case QueueState::Sent: return QColor(225, 235, 255);
        case QueueState::Done: break;
    }
    return {};
}

}  // namespace

OnlineInvoiceWindow::OnlineInvoiceWindow(QWidget* parent, OnlineInvoiceReview& logic, Prompt& prompt,
                                         const QDate& today)
    : QDialog(parent), m_logic(logic), m_prompt(prompt) {
    setWindowTitle(QStringLiteral("Online számla"));
    setObjectName(QStringLiteral("OnlineInvoiceWindow"));
    resize(980, 620);
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    m_from = widgets::dateBox(QStringLiteral("fromDateEdit"));
    m_to = widgets::dateBox(QStringLiteral("toDateEdit"));
    m_from->setDate(QDate(today.year(), today.month(), 1));
    m_to->setDate(today);
    m_filter = new QComboBox;
    m_filter->setObjectName(QStringLiteral("filterComboBox"));
    m_filter->addItems({QStringLiteral("Mind"), QStringLiteral("Beküldésre vár"), QStringLiteral("Figyelmeztetéssel"),
                        QStringLiteral("Visszautasítva")});
    top->addWidget(new QLabel(QStringLiteral("Időszak:")));
    top->addWidget(m_from);
    top->addWidget(new QLabel(QStringLiteral("–")));
    top->addWidget(m_to);
    top->addSpacing(16);
    top->addWidget(new QLabel(QStringLiteral("Szűrés:")));
    top->addWidget(m_filter);
    top->addStretch();
    QPushButton* refreshButton =
        widgets::addPushButton(top, QStringLiteral("&Frissítés"), QStringLiteral("refreshPushButton"));
    layout->addLayout(top);

    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("statusLabel"));
    layout->addWidget(m_status);

    m_table = new QTableWidget(0, static_cast<int>(kColumns.size()));
    m_table->setObjectName(QStringLiteral("invoiceTableWidget"));
    m_table->setHorizontalHeaderLabels(kColumns);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);

    m_messages = new QPlainTextEdit;
    m_messages->setObjectName(QStringLiteral("messagesPlainTextEdit"));
    m_messages->setReadOnly(true);
    m_messages->setPlaceholderText(QStringLiteral("A kiválasztott számla NAV üzenetei"));
    m_gaps = new QListWidget;
    m_gaps->setObjectName(QStringLiteral("gapsListWidget"));
    auto* bottom = new QHBoxLayout;
    auto* messagesBox = new QVBoxLayout;
    messagesBox->addWidget(new QLabel(QStringLiteral("NAV üzenetek:")));
    messagesBox->addWidget(m_messages);
    auto* gapsBox = new QVBoxLayout;
    gapsBox->addWidget(new QLabel(QStringLiteral("Hiányzó sorszámok:")));
    gapsBox->addWidget(m_gaps);
    bottom->addLayout(messagesBox, 3);
    bottom->addLayout(gapsBox, 1);
    auto* lower = new QWidget;
    lower->setLayout(bottom);
    auto* split = new QSplitter(Qt::Vertical);
    split->addWidget(m_table);
    split->addWidget(lower);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    layout->addWidget(split);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_resend = widgets::addPushButton(buttons, QStringLiteral("Ú&jraküldés"), QStringLiteral("resendPushButton"));
    QPushButton* close = widgets::addPushButton(buttons, QStringLiteral("&Bezár"), QStringLiteral("closePushButton"));
    layout->addLayout(buttons);

    connect(refreshButton, &QPushButton::clicked, this, [this] { runCommand(m_prompt, [this] { refresh(); }); });
    connect(m_filter, &QComboBox::currentIndexChanged, this, [this] { runCommand(m_prompt, [this] { refresh(); }); });
    connect(m_from, &QDateEdit::dateChanged, this, [this] { runCommand(m_prompt, [this] { refresh(); }); });
    connect(m_to, &QDateEdit::dateChanged, this, [this] { runCommand(m_prompt, [this] { refresh(); }); });
    connect(m_table, &QTableWidget::itemSelectionChanged, this, [this] { showSelected(); });
    connect(m_resend, &QPushButton::clicked, this, [this] { runCommand(m_prompt, [this] { resendSelected(); }); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    refresh();
}

void OnlineInvoiceWindow::setStatusText(const QString& text) {
    m_status->setText(text);
}

void OnlineInvoiceWindow::refresh() {
    const QString selectedKey = [&] {
        const int row = m_table->currentRow();
        return row >= 0 && row < static_cast<int>(m_rows.size()) ? m_rows[static_cast<size_t>(row)].key : QString();
    }();
    m_rows = m_logic.rows(m_from->date(), m_to->date(), static_cast<ReviewFilter>(m_filter->currentIndex()));
    m_table->setRowCount(static_cast<int>(m_rows.size()));
    int reselect = m_rows.empty() ? -1 : 0;
    for (int r = 0; r < static_cast<int>(m_rows.size()); ++r) {
        const ReviewRow& row = m_rows[static_cast<size_t>(r)];
        const QStringList cells{row.invoiceNumber, row.operation, row.stateText,
                                row.created,       row.sent,      row.messages.section(QLatin1Char('\n'), 0, 0)};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            const QColor colour = stateColour(row.state);
            if (colour.isValid()) item->setBackground(colour);
            m_table->setItem(r, c, item);
        }
        if (row.key == selectedKey) reselect = r;
    }
    // The messages column keeps filling the rest of the width (the whole text is in the box
    // below); sizing it to its contents would leave it narrow once no row has a message.
    for (int c = 0; c + 1 < m_table->columnCount(); ++c) m_table->resizeColumnToContents(c);
    if (reselect >= 0) m_table->selectRow(reselect);
    showSelected();
    m_gaps->clear();
    const QStringList gaps = m_logic.gaps(m_from->date(), m_to->date());
    if (gaps.isEmpty())
        m_gaps->addItem(QStringLiteral("Nincs hiányzó sorszám."));
    else
        m_gaps->addItems(gaps);
}

void OnlineInvoiceWindow::showSelected() {
    const int row = m_table->currentRow();
    const bool valid = row >= 0 && row < static_cast<int>(m_rows.size());
    m_messages->setPlainText(valid ? m_rows[static_cast<size_t>(row)].messages : QString());
    m_resend->setEnabled(valid && m_rows[static_cast<size_t>(row)].state == QueueState::Aborted);
}

void OnlineInvoiceWindow::resendSelected() {
    const int row = m_table->currentRow();
    if (row < 0 || row >= static_cast<int>(m_rows.size())) return;
    if (m_logic.resend(m_rows[static_cast<size_t>(row)].key)) emit resendQueued();
    refresh();
}

}  // namespace kavina::nav
