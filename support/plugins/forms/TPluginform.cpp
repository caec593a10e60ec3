#include "support/plugins/forms/TPluginform.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "foundation/CommandBoundary.h"
#include "foundation/Prompt.h"
#include "support/plugins/PluginListFields.h"
#include "support/plugins/PluginSet.h"
#include "widgets/ListSettings.h"
#include "widgets/RecordGrid.h"

namespace kavina::support {

namespace F = pluginListFields;

namespace {

QLabel* headerLabel() {
    auto* header = new QLabel(QStringLiteral("Pluginok"));
    header->setObjectName(QStringLiteral("headerLabel"));
    QFont font = header->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.4);
    header->setFont(font);
    return header;
}

QPushButton* button(const QString& text, const QString& name) {
    auto* b = new QPushButton(text);
    b->setObjectName(name);
    b->setMinimumWidth(b->sizeHint().width() + 16);
    return b;
}

}  // namespace

TPluginform::TPluginform(QWidget* parent, PluginSet& plugins, const IniSettings& settings, Prompt& prompt)
    : QDialog(parent), m_plugins(plugins), m_prompt(prompt) {
    setObjectName(QStringLiteral("TPluginform"));
    setWindowTitle(QStringLiteral("Pluginok"));
    fillPluginList(m_rows, m_plugins.listRows());

    auto* view = new QTableView;
    view->setObjectName(QStringLiteral("pluginGrid"));
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    m_grid = std::make_unique<widgets::RecordGrid>(
        view, m_rows,
        std::vector<widgets::GridColumn>{{QStringLiteral("Plugin"), F::Name}, {QStringLiteral("Verzió"), F::Ver}},
        prompt);
    widgets::applyListSettings(view, settings);
    view->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    view->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    connect(view, &QTableView::doubleClicked, this, [this] { showAboutCurrent(); });

    QPushButton* start = button(QStringLiteral("&Indítás"), QStringLiteral("startPushButton"));
    QPushButton* close = button(QStringLiteral("&Kilépés"), QStringLiteral("closePushButton"));
    connect(start, &QPushButton::clicked, this, [this] { startCurrent(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);  // Esc as well

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(start);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(headerLabel());
    layout->addWidget(view, 1);
    layout->addLayout(buttons);
    resize(460, 320);
}

TPluginform::~TPluginform() = default;

bool TPluginform::warnWhenEmpty() {
    if (!m_rows.isEmpty()) return false;
    m_prompt.warning(QStringLiteral("Figyelem!"), noPluginsText());
    return true;
}

void TPluginform::startCurrent() {
    runCommand(m_prompt, [this] {
        if (warnWhenEmpty()) return;
        m_plugins.start(int(m_rows.asInteger(F::index)));
    });
}

void TPluginform::showAboutCurrent() {
    runCommand(m_prompt, [this] {
        if (warnWhenEmpty()) return;
        const int index = int(m_rows.asInteger(F::index));
        const std::vector<PluginListRow> rows = m_plugins.listRows();
        if (size_t(index) < rows.size()) m_prompt.information(QStringLiteral("Információk"), rows[size_t(index)].about);
    });
}

}  // namespace kavina::support
