#include "support/errorreport/forms/Terrorform.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

#include "foundation/CommandBoundary.h"

namespace kavina::support {

Terrorform::Terrorform(ErrorWindowContent content, Actions actions, QWidget* parent)
    : QDialog(parent), m_content(std::move(content)), m_actions(std::move(actions)) {
    setObjectName(QStringLiteral("Terrorform"));
    setWindowTitle(QStringLiteral("Figyelem!"));
    auto* layout = new QVBoxLayout(this);
    auto* header = new QLabel(QStringLiteral("Hibajelentés"), this);
    header->setObjectName(QStringLiteral("headerLabel"));
    QFont big = header->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    header->setFont(big);
    header->setStyleSheet(QStringLiteral("background: white; padding: 8px;"));
    layout->addWidget(header);
    auto* text = new QTextEdit(this);
    text->setObjectName(QStringLiteral("messageTextEdit"));
    text->setReadOnly(true);
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QString shown = m_content.lines.join(QLatin1Char('\n'));
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text->setPlainText(shown);
    layout->addWidget(text);
    auto* link = new QLabel(QStringLiteral("<a href=\"report\">Részletes hibajelentés megtekintése</a>"), this);
    link->setObjectName(QStringLiteral("reportLinkLabel"));
    link->setVisible(!m_content.reportPath.isEmpty());
    connect(link, &QLabel::linkActivated, this, [this] {
        if (m_actions.openReport) m_actions.openReport(m_content.reportPath);
    });
    layout->addWidget(link);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* close = new QPushButton(QStringLiteral("Bezár"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    auto* mail = new QPushButton(QStringLiteral("Hibajelentés"), this);
    mail->setObjectName(QStringLiteral("mailButton"));
    mail->setEnabled(!m_content.reportPath.isEmpty() && bool(m_actions.mailReport));
    buttons->addWidget(close);
    buttons->addWidget(mail);
    layout->addLayout(buttons);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(mail, &QPushButton::clicked, this, [this] {
        if (m_actions.mailReport(m_content)) accept();
    });
    resize(560, 340);
}

}  // namespace kavina::support
