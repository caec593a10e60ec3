#pragma once
// The warning before a partner with unpaid invoices is picked: the invoices listed,
// "&Tovább" accepts the partner, "&Mégsem" goes back to the picker.

#include <QDialog>
#include <memory>

#include "foundation/Prompt.h"
#include "foundation/TableHandle.h"

namespace kavina::widgets {
class RecordGrid;
}

namespace kavina::documents {

class Ttartozasform final : public QDialog {
    Q_OBJECT

public:
    // unpaidInvoices: the document headers, restricted to the partner's unpaid invoices.
    Ttartozasform(QWidget* parent, TableHandle& unpaidInvoices, Prompt& prompt);
    ~Ttartozasform() override;

private:
    std::unique_ptr<widgets::RecordGrid> m_list;
};

}  // namespace kavina::documents
