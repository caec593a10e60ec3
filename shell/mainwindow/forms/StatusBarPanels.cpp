#include "shell/mainwindow/forms/StatusBarPanels.h"

#include <QFrame>
#include <QLabel>
#include <QStatusBar>

#include "shell/mainwindow/forms/ToolbarIcons.h"

namespace kavina::shell {

namespace {

constexpr int kStretch[] = {2, 2, 1, 5};

}  // namespace

StatusBarPanels::StatusBarPanels(QStatusBar& bar) {
    bar.setSizeGripEnabled(true);
    m_indicator = new QLabel(&bar);
    m_indicator->setObjectName("saveIndicator");
    m_indicator->setPixmap(saveIndicatorPixmap(16));
    m_indicator->setToolTip(QStringLiteral("Mentés..."));
    m_indicator->setFixedWidth(22);
    m_indicator->setAlignment(Qt::AlignCenter);
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel(&bar);
        label->setObjectName(QStringLiteral("statusPanel%1").arg(i));
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        label->setContentsMargins(4, 0, 4, 0);
        bar.addWidget(label, kStretch[i]);
        m_panels[size_t(i)] = label;
    }
    bar.addPermanentWidget(m_indicator);
    // The picture keeps its place in the bar while hidden, so the panels do not move.
    QSizePolicy keep = m_indicator->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    m_indicator->setSizePolicy(keep);
    m_indicator->hide();
}

void StatusBarPanels::setText(int panel, const QString& text) {
    m_panels[size_t(panel)]->setText(text);
}

QString StatusBarPanels::text(int panel) const {
    return m_panels[size_t(panel)]->text();
}

void StatusBarPanels::showSaveIndicator(bool on) {
    m_indicator->setVisible(on);
}

}  // namespace kavina::shell
