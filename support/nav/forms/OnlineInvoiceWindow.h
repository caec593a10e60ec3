#pragma once
// "Online számla": the invoices of a period as the authority has them, with their states and
// the authority's messages, filtered to those waiting, those with warnings or those refused;
// "Újraküldés" queues a refused one again, and the box below lists the numbers missing from
// each number range.

#include <QDialog>
#include <vector>

#include "support/nav/OnlineInvoiceReview.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace kavina::nav {

class OnlineInvoiceWindow final : public QDialog {
    Q_OBJECT

public:
    OnlineInvoiceWindow(QWidget* parent, OnlineInvoiceReview& logic, Prompt& prompt, const QDate& today);

    void refresh();
    // Set from outside (the sender's last round); shown above the list.
    void setStatusText(const QString& text);

signals:
    // After "Újraküldés" queued an invoice: the sender may start at once.
    void resendQueued();

private:
    void showSelected();
    void resendSelected();

    OnlineInvoiceReview& m_logic;
    Prompt& m_prompt;
    QDateEdit *m_from, *m_to;
    QComboBox* m_filter;
    QTableWidget* m_table;
    QPlainTextEdit* m_messages;
    QListWidget* m_gaps;
    QLabel* m_status;
    QPushButton* m_resend;
    std::vector<ReviewRow> m_rows;
};

}  // namespace kavina::nav
