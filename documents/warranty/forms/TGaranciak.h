#pragma once
// TGaranciak, the certificates in a grid with the lines of the highlighted one below: as the
// list ("Garancialevelek": "Arhívum", "&Másolat", "Módosítás") or as the choice of the
// certificate to change ("Kérem válasszon...": "&Választ" or a double click). The highlighted
// row is the certificate handle's record, which the commands act on.

#include <QDialog>
#include <QTimer>
#include <memory>

#include "documents/warranty/forms/WarrantyCommands.h"

class QTableView;

namespace kavina::widgets {
class RecordGrid;
}

namespace kavina::documents {

class TGaranciak final : public QDialog {
    Q_OBJECT

public:
    enum class Mode { List, Choose };

    TGaranciak(QWidget* parent, const WarrantyCommandContext& context, Mode mode);
    ~TGaranciak() override;

    // The archive toggle: down, the certificates started before this year; up, this year's.
    void setArchive(bool archive);
    void printCopy();
    void modifyCurrent();
    void choose();
    // The number of the highlighted certificate; empty when there is none.
    QString currentNumber() const;

private:
    void build();
    void showLines();
    void refresh();

    WarrantyCommandContext m_context;
    Mode m_mode;
    WarrantyDocument m_current;  // the lines of the highlighted certificate
    QTableView* m_view = nullptr;
    std::unique_ptr<widgets::RecordGrid> m_grid;
    std::unique_ptr<widgets::RecordGrid> m_lineGrid;
    QTimer m_refresh;
};

}  // namespace kavina::documents
