// The product register's context menu: the operations of the list, those the tab does not
// offer hidden, those the list or the rights letters do not allow disabled.

#include <QLineEdit>
#include <QMenu>
#include <QTabBar>
#include <QTableView>

#include <QShortcut>

#include "products/lists/ProductCsv.h"
#include "products/lists/forms/ListWindows.h"
#include "products/register/forms/TAnyagForm.h"

namespace kavina::products {

void TAnyagForm::buildContextMenu() {
    m_contextMenu = new QMenu(this);
    m_contextMenu->setObjectName(QStringLiteral("productContextMenu"));
    const auto add = [this](const QString& text, auto action) {
        return m_contextMenu->addAction(text, this, [this, action] { change([&] { action(*m_logic); }); });
    };
    QAction* newProduct =
        add(QStringLiteral("Új termék"), [this](ProductWindow& w) { w.newProduct(m_search->text()); });
    QAction* newService = add(QStringLiteral("Új szolgáltatás"), [](ProductWindow& w) { w.newService(); });
    QAction* modify = add(QStringLiteral("Módosítás"), [](ProductWindow& w) { w.modify(); });
    QAction* copy = add(QStringLiteral("Másolás"), [](ProductWindow& w) { w.copy(); });
    QAction* remove = add(QStringLiteral("Törlés"), [](ProductWindow& w) { w.remove(); });
    m_contextMenu->addSeparator();
    QAction* receive = add(QStringLiteral("Bevételezés"), [](ProductWindow& w) { w.receive(); });
    QAction* issue = add(QStringLiteral("Kivételezés"), [](ProductWindow& w) { w.issue(); });
    QAction* reprice = add(QStringLiteral("Átárazás"), [](ProductWindow& w) { w.reprice(); });
    QAction* search = m_contextMenu->addAction(QStringLiteral("Keresés"), this, &TAnyagForm::openSearchDialog);
    search->setVisible(false);
    m_contextMenu->addSeparator();
    // The product history, the list print and the export have windows of their own.
    QAction* history = m_contextMenu->addAction(QStringLiteral("Történetiség"), this,
                                                [this] { command([&] { showProductHistory(this, m_data); }); });
    QAction* print = m_contextMenu->addAction(QStringLiteral("Nyomtatás"), this, [this] { printList(); });
    print->setShortcut(Qt::CTRL | Qt::Key_P);
    QAction* csv = m_contextMenu->addAction(QStringLiteral("Exportálás csv fájlba"), this, [this] {
        command([&] { exportProductCsv(m_data.AnyagTable(), m_prompt); });
    });
    // Ctrl+P prints from anywhere in the window, not only while the menu is open.
    auto* printKey = new QShortcut(Qt::CTRL | Qt::Key_P, this);
    connect(printKey, &QShortcut::activated, this, [this] { printList(); });
    m_contextMenu->addSeparator();
    for (int t = 0; t < int(ProductTab::Bin); ++t)
        m_contextMenu->addAction(tabCaption(ProductTab(t)), this, [this, t] { m_tabs->setCurrentIndex(t); });
    connect(m_grid, &QTableView::customContextMenuRequested, this, [=, this](const QPoint& at) {
        const bool any = !m_logic->listEmpty();
        const bool services = m_logic->onServicesTab();
        newProduct->setVisible(!services);
        newService->setVisible(services);
        receive->setVisible(!services);
        issue->setVisible(!services);
        for (QAction* a : {newProduct, newService}) a->setEnabled(m_logic->canModify());
        for (QAction* a : {modify, copy}) a->setEnabled(m_logic->canModify() && any);
        remove->setEnabled(m_logic->canDelete() && any);
        for (QAction* a : {receive, issue}) a->setEnabled(any);
        reprice->setEnabled(m_logic->canReprice() && any);
        history->setEnabled(any);
        print->setEnabled(m_options.printing != nullptr);
        csv->setEnabled(any);
        m_contextMenu->popup(m_grid->viewport()->mapToGlobal(at));
    });
}

void TAnyagForm::printList() {
    command([&] {
        if (!m_options.printing) return;
        previewProductList(this, m_data, m_prompt, *m_options.printing, *m_options.window.settings,
                           m_options.window.currentUser);
    });
}

}  // namespace kavina::products
