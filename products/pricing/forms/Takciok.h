#pragma once
// The promotions window (Takciok, "Akciók") of one product, and the "Akció" dialog
// (TAkcioszerk) that edits one promotion. The rules are Promotions' (products/pricing/).

#include <QDialog>
#include <memory>

#include "products/pricing/Promotions.h"
#include "products/pricing/Repricing.h"

class QDateEdit;
class QLineEdit;
class QTableView;

namespace kavina::widgets {
class RecordGrid;
}

namespace kavina::products {

class TAkcioszerk final : public QDialog {
    Q_OBJECT

public:
    TAkcioszerk(QWidget* parent, Prompt& prompt, const PromotionValues& start);

    // The values accepted with "&Ok".
    const std::optional<PromotionValues>& values() const { return m_values; }
    void accept() override;

private:
    Prompt& m_prompt;
    QDateEdit* m_from;
    QDateEdit* m_to;
    QLineEdit* m_gross;
    std::optional<PromotionValues> m_values;
};

class Takciok final : public QDialog, private PromotionWindows {
    Q_OBJECT

public:
    // product: the register's current product (its ANYAGKOD and bfixar). windows: the dialog's;
    // this window's own when none.
    Takciok(QWidget* parent, TDataModule1& data, Prompt& prompt, const RecordCursor& product, const QDate& today,
            PromotionWindows* windows = nullptr);
    ~Takciok() override;

private:
    std::optional<PromotionValues> editPromotion(const PromotionValues& start) override;
    void run(bool (Promotions::*action)());

    Prompt& m_prompt;
    std::unique_ptr<Promotions> m_promotions;
    QTableView* m_grid;
    std::unique_ptr<widgets::RecordGrid> m_list;
};

}  // namespace kavina::products
