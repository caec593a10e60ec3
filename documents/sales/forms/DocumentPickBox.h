#pragma once
// The upper part of the cancellation and payment dialogs: the document number box with the
// partner, address, date and amount of the document chosen in it. Enter or Tab in the box
// looks the typed number up; a double click opens the register in selection mode.
#include <QWidget>
#include <functional>
#include <optional>

#include "documents/sales/DocumentSummary.h"

class QGridLayout;
class QLabel;
class QLineEdit;

namespace kavina::documents {

// The big header line over a dialog's box.
QLabel* dialogHeader(const QString& text);

class DocumentPickBox : public QWidget {
    Q_OBJECT

public:
    using LookUp = std::function<std::optional<DocumentSummary>(const QString& number)>;
    // The register in selection mode; the chosen document, or nothing.
    using Choose = std::function<std::optional<DocumentSummary>()>;

    DocumentPickBox(const QString& numberCaption, LookUp lookUp, Choose choose, QWidget* parent = nullptr);

    void show(const DocumentSummary& document);
    const std::optional<DocumentSummary>& chosen() const { return m_chosen; }
    QLineEdit* numberBox() const { return m_number; }
    // Another row under the document's, its caption aligned with theirs.
    void addRow(const QString& caption, QWidget* field);

signals:
    // A document was chosen, by its number or in the register.
    void documentChosen(const DocumentSummary& document);
    // The typed number names no document.
    void notFound();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void lookUpTyped();
    void clear();

    LookUp m_lookUp;
    Choose m_choose;
    std::optional<DocumentSummary> m_chosen;
    QLineEdit* m_number;
    QLabel* m_name;
    QLabel* m_place;
    QLabel* m_street;
    QLabel* m_issued;
    QLabel* m_payable;
    QGridLayout* m_grid;
};

}  // namespace kavina::documents
