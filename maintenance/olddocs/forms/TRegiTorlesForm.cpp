#include "maintenance/olddocs/forms/TRegiTorlesForm.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "foundation/CommandBoundary.h"
#include "maintenance/olddocs/OldDocuments.h"

namespace kavina::maintenance {

TRegiTorlesForm::TRegiTorlesForm(OldDocumentDeletion& deletion, Prompt& prompt, QWidget* parent)
    : QDialog(parent), m_deletion(deletion), m_prompt(prompt) {
    setObjectName(QStringLiteral("TRegiTorlesForm"));
    setWindowTitle(QStringLiteral("Törlés"));
    auto* text = new QLabel(QStringLiteral("Biztos, hogy törölni szeretnéd a korábbi bizonylatokat?\n"
                                           "A törlés előtt mindenképp készíts másolatot az adatbázisról."),
                            this);
    auto* dateLabel = new QLabel(QStringLiteral("A következő dátumot megelőző bizonylatok törlése:"), this);
    m_date = new QLineEdit(QStringLiteral("2008.01.01"), this);
    m_date->setObjectName(QStringLiteral("dateLineEdit"));
    m_date->setMaximumWidth(110);
    m_progressLabel = new QLabel(QStringLiteral("Folyamat:"), this);
    m_progressLabel->setObjectName(QStringLiteral("progressLabel"));
    m_headers = new QProgressBar(this);
    m_headers->setObjectName(QStringLiteral("headersProgressBar"));
    m_logRows = new QProgressBar(this);
    m_logRows->setObjectName(QStringLiteral("logProgressBar"));
    for (QProgressBar* bar : {m_headers, m_logRows}) {
        bar->setValue(0);
        bar->setVisible(false);
    }
    m_delete = new QPushButton(QStringLiteral("Törlés"), this);
    m_delete->setObjectName(QStringLiteral("deleteButton"));
    m_cancel = new QPushButton(QStringLiteral("Mégsem"), this);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    auto* layout = new QGridLayout(this);
    layout->addWidget(text, 0, 0, 1, 2);
    layout->addWidget(dateLabel, 1, 0);
    layout->addWidget(m_date, 1, 1);
    layout->addWidget(m_progressLabel, 2, 0, 1, 2);
    layout->addWidget(m_headers, 3, 0, 1, 2);
    layout->addWidget(m_logRows, 4, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_delete);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons, 5, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(m_delete, &QPushButton::clicked, this, &TRegiTorlesForm::deleteDocuments);
    connect(m_cancel, &QPushButton::clicked, this, &TRegiTorlesForm::reject);
    m_date->setFocus();
}

void TRegiTorlesForm::reject() {
    if (!m_working) QDialog::reject();
}

void TRegiTorlesForm::deleteDocuments() {
    DeletionProgress progress;
    // The bars appear once the deletion itself starts, after the checks and the backup.
    progress.label = [this](const QString& text) {
        m_headers->setVisible(true);
        m_logRows->setVisible(true);
        m_progressLabel->setText(text);
        m_progressLabel->repaint();
    };
    const auto bar = [](QProgressBar* target) {
        return [target](int done, int count) {
            target->setRange(0, std::max(count, 1));
            target->setValue(done);
            if (done % 50 == 0 || done == count) target->repaint();
        };
    };
    progress.headers = bar(m_headers);
    progress.logRows = bar(m_logRows);
    bool deleted = false;
    runCommand(m_prompt, [&] {
        m_working = true;
        m_delete->setEnabled(false);
        m_cancel->setEnabled(false);
        deleted = m_deletion.run(m_date->text(), progress);
    });
    m_working = false;
    m_delete->setEnabled(true);
    m_cancel->setEnabled(true);
    if (deleted) accept();
}

}  // namespace kavina::maintenance
