#include "documents/sales/forms/DocumentPickBox.h"

#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "foundation/TextFormat.h"

namespace kavina::documents {

namespace {

QLabel* valueLabel(const char* name) {
    auto* label = new QLabel;
    label->setObjectName(QString::fromLatin1(name));
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setMinimumWidth(260);
    return label;
}

}  // namespace

QLabel* dialogHeader(const QString& text) {
    auto* header = new QLabel(text);
    header->setObjectName(QStringLiteral("headerLabel"));
    QFont big = header->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    header->setFont(big);
    return header;
}

DocumentPickBox::DocumentPickBox(const QString& numberCaption, LookUp lookUp, Choose choose, QWidget* parent)
    : QWidget(parent), m_lookUp(std::move(lookUp)), m_choose(std::move(choose)) {
    m_number = new QLineEdit;
    m_number->setObjectName(QStringLiteral("numberLineEdit"));
    m_number->setToolTip(QStringLiteral("Dupla kattintásra kiválaszthatja a számlát."));
    m_number->setMaxLength(16);
    m_number->installEventFilter(this);
    m_name = valueLabel("nameLabel");
    m_place = valueLabel("placeLabel");
    m_street = valueLabel("streetLabel");
    m_issued = valueLabel("issuedLabel");
    m_payable = valueLabel("payableLabel");
    m_grid = new QGridLayout(this);
    m_grid->setContentsMargins(0, 0, 0, 0);
    addRow(numberCaption, m_number);
    addRow(QStringLiteral("Partner neve:"), m_name);
    addRow(QStringLiteral("Partner címe:"), m_place);
    m_grid->addWidget(m_street, m_grid->rowCount(), 1);
    addRow(QStringLiteral("Számla kelte:"), m_issued);
    addRow(QStringLiteral("Számla összege:"), m_payable);
}

void DocumentPickBox::addRow(const QString& caption, QWidget* field) {
    const int row = m_grid->rowCount();
    m_grid->addWidget(new QLabel(caption), row, 0, Qt::AlignRight | Qt::AlignTop);
    m_grid->addWidget(field, row, 1, Qt::AlignLeft);
}

void DocumentPickBox::show(const DocumentSummary& document) {
    m_chosen = document;
    m_number->setText(document.number);
    m_name->setText(document.name);
    m_place->setText(document.place);
    m_street->setText(document.street);
    m_issued->setText(document.issued.isValid() ? dateText(document.issued) : QString());
    m_payable->setText(payableText(document.payable));
}

void DocumentPickBox::clear() {
    m_chosen.reset();
    for (QLabel* label : {m_name, m_place, m_street, m_issued, m_payable}) label->clear();
}

void DocumentPickBox::lookUpTyped() {
    if (const auto document = m_lookUp(m_number->text())) {
        show(*document);
        emit documentChosen(*document);
        return;
    }
    clear();
    emit notFound();
}

bool DocumentPickBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_number && event->type() == QEvent::MouseButtonDblClick && m_choose) {
        if (const auto document = m_choose()) {
            show(*document);
            emit documentChosen(*document);
        }
        return true;
    }
    if (watched == m_number && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab) {
            lookUpTyped();
            // A found document moves on like Tab; a number not found keeps the focus.
            if (m_chosen) focusNextChild();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace kavina::documents
