#include "shell/startup/forms/Tfoldselect.h"

#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "foundation/forms/DialogButtons.h"

namespace kavina::shell {

Tfoldselect::Tfoldselect(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Tfoldselect"));
    setWindowTitle(QStringLiteral("Adatbázis"));
    auto* heading = new QLabel(QStringLiteral("Adatbázis..."), this);
    heading->setObjectName(QStringLiteral("headingLabel"));
    QFont big = heading->font();
    big.setBold(true);
    big.setPointSize(big.pointSize() + 4);
    heading->setFont(big);
    auto* hint = new QLabel(QStringLiteral("Kérem válassza ki, vagy írja be az adatbázis elérési útját"), this);
    hint->setObjectName(QStringLiteral("hintLabel"));
    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_model->setRootPath(QDir::rootPath());
    m_tree = new QTreeView(this);
    m_tree->setObjectName(QStringLiteral("folderTreeView"));
    m_tree->setModel(m_model);
    for (int column = 1; column < m_model->columnCount(); ++column) m_tree->hideColumn(column);
    m_tree->header()->hide();
    // The tree opens at the clerk's home folder, unfolded and scrolled to it.
    const QModelIndex home = m_model->index(QDir::homePath());
    for (QModelIndex up = home.parent(); up.isValid(); up = up.parent()) m_tree->expand(up);
    m_tree->setCurrentIndex(home);
    m_tree->scrollTo(home);
    m_tree->setMinimumSize(380, 280);
    m_path = new QLineEdit(this);
    m_path->setObjectName(QStringLiteral("pathLineEdit"));
    connect(m_tree, &QTreeView::clicked, this, &Tfoldselect::folderChosen);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(hint);
    layout->addWidget(m_tree);
    layout->addWidget(m_path);
    const DialogButtons buttons = addDialogButtons(this, layout, QStringLiteral("Ok"), QStringLiteral("Kilépés"));
    buttons.accept->setObjectName(QStringLiteral("okPushButton"));
    buttons.reject->setObjectName(QStringLiteral("leavePushButton"));
}

void Tfoldselect::accept() {
    if (!folder().isEmpty()) QDialog::accept();
}

QString Tfoldselect::folder() const {
    return m_path->text().trimmed();
}

void Tfoldselect::setFolder(const QString& folder) {
    m_path->setText(folder);
    m_tree->setCurrentIndex(m_model->index(folder));
}

void Tfoldselect::folderChosen() {
    m_path->setText(QDir::toNativeSeparators(m_model->filePath(m_tree->currentIndex())));
}

}  // namespace kavina::shell
