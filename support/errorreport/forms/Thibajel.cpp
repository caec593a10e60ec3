#include "support/errorreport/forms/Thibajel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "foundation/CommandBoundary.h"
#include "widgets/RecordGrid.h"

namespace kavina::support {

namespace F = hibajelFields;

Thibajel::Thibajel(ErrorReportList& list, Prompt& prompt, QWidget* parent)
    : QDialog(parent), m_list(list), m_prompt(prompt) {
    setObjectName(QStringLiteral("Thibajel"));
    setWindowTitle(QStringLiteral("Hibajelentések"));
    auto* layout = new QVBoxLayout(this);
    auto* view = new QTableView(this);
    view->setObjectName(QStringLiteral("reportTableView"));
    view->setAlternatingRowColors(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->verticalHeader()->hide();
    layout->addWidget(view);
    m_grid = std::make_unique<widgets::RecordGrid>(
        view, m_list.rows(),
        std::vector<widgets::GridColumn>{{QStringLiteral("Dátum"), F::date, false, widgets::ColumnKind::Day},
                                         {QStringLiteral("Idő"), F::time},
                                         {QStringLiteral("Hibaüzenet"), F::text}},
        m_prompt);
    view->horizontalHeader()->setStretchLastSection(true);
    auto* buttons = new QHBoxLayout;
    const auto button = [this, buttons](const char* name, const QString& text, std::function<void()> work) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, work] { runCommand(m_prompt, work); });
    };
    button("viewButton", QStringLiteral("Megtekintés"), [this] { m_list.viewCurrent(); });
    button("deleteButton", QStringLiteral("Törlés"), [this] { m_list.deleteCurrent(); });
    button("deleteAllButton", QStringLiteral("Mindent töröl"), [this] { m_list.deleteAll(); });
    buttons->addStretch();
    button("exitButton", QStringLiteral("Kilépés"), [this] { reject(); });
    layout->addLayout(buttons);
    resize(640, 400);
}

Thibajel::~Thibajel() = default;

void Thibajel::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    runCommand(m_prompt, [this] {
        m_list.reload();
        m_grid->reload();
    });
}

}  // namespace kavina::support
