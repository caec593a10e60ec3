#include "foundation/forms/DialogButtons.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace kavina {

DialogButtons addDialogButtons(QDialog* dialog, QBoxLayout* layout, const QString& acceptText,
                               const QString& rejectText) {
    DialogButtons buttons{new QPushButton(acceptText, dialog), new QPushButton(rejectText, dialog)};
    buttons.accept->setObjectName(QStringLiteral("acceptPushButton"));
    buttons.accept->setDefault(true);
    buttons.reject->setObjectName(QStringLiteral("rejectPushButton"));
    QObject::connect(buttons.accept, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(buttons.reject, &QPushButton::clicked, dialog, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(buttons.accept);
    row->addWidget(buttons.reject);
    layout->addLayout(row);
    return buttons;
}

}  // namespace kavina
