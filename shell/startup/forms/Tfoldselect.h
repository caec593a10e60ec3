#pragma once
// Tfoldselect, the folder dialog of a first start ("Adatbázis"): a folder tree and a text box
// for the data folder's path; choosing a folder in the tree copies its path into the box.
// "Ok" accepts the box's text, "Kilépés" leaves.

#include <QDialog>

class QFileSystemModel;
class QLineEdit;
class QTreeView;

namespace kavina::shell {

class Tfoldselect : public QDialog {
    Q_OBJECT

public:
    explicit Tfoldselect(QWidget* parent = nullptr);

    QString folder() const;
    // "Ok": only with a folder in the box.
    void accept() override;
    void setFolder(const QString& folder);

private:
    void folderChosen();

    QFileSystemModel* m_model;
    QTreeView* m_tree;
    QLineEdit* m_path;
};

}  // namespace kavina::shell
