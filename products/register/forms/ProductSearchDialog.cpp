#include "products/register/forms/ProductSearchDialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kavina::products {

ProductSearchDialog::ProductSearchDialog(QWidget* parent, const QString& text, SearchIn where) : QDialog(parent) {
    setObjectName(QStringLiteral("ProductSearchDialog"));
    setWindowTitle(QStringLiteral("Keresés"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_text = new QLineEdit(text);
    m_text->setObjectName(QStringLiteral("textLineEdit"));
    m_where = new QComboBox;
    m_where->setObjectName(QStringLiteral("whereComboBox"));
    for (SearchIn w : {SearchIn::Name, SearchIn::StatNumber, SearchIn::ArticleNumber, SearchIn::Category})
        m_where->addItem(searchInCaption(w), int(w));
    m_where->setCurrentIndex(m_where->findData(int(where)));
    form->addRow(QStringLiteral("Mit keres :"), m_text);
    form->addRow(QStringLiteral("Hol keres :"), m_where);
    layout->addLayout(form);
    m_search = new QPushButton(QStringLiteral("&Keresés"));
    m_search->setObjectName(QStringLiteral("searchPushButton"));
    m_search->setDefault(true);
    m_next = new QPushButton(QStringLiteral("Köve&tkező"));
    m_next->setObjectName(QStringLiteral("nextPushButton"));
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(m_search);
    row->addWidget(m_next);
    layout->addLayout(row);
    // Both boxes must be filled to search.
    const auto enable = [this] {
        const bool filled = !m_text->text().isEmpty() && m_where->currentIndex() >= 0;
        m_search->setEnabled(filled);
        m_next->setEnabled(filled);
    };
    connect(m_text, &QLineEdit::textChanged, this, enable);
    connect(m_search, &QPushButton::clicked, this, [this] { choose(Choice::Search); });
    connect(m_next, &QPushButton::clicked, this, [this] { choose(Choice::Next); });
    enable();
    m_text->selectAll();
    m_text->setFocus();
}

QString ProductSearchDialog::text() const {
    return m_text->text();
}

SearchIn ProductSearchDialog::where() const {
    return SearchIn(m_where->currentData().toInt());
}

void ProductSearchDialog::choose(Choice choice) {
    m_choice = choice;
    accept();
}

}  // namespace kavina::products
