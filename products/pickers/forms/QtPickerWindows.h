#pragma once
// The pick windows on the screen: the line dialog and the warranty pick dialog, each created
// for its use and shown modally.

#include <QString>
#include <string>

#include "products/pickers/PickerProtocol.h"

class QWidget;

namespace kavina::products {

class QtPickerWindows final : public PickerWindows {
public:
    // The warranty lines and number are those of the warranty editor, when it picks.
    QtPickerWindows(QWidget* parent, Prompt& prompt, std::string dataFolder, RecordCursor* warrantyLines = nullptr,
                    QString warrantyNumber = {})
        : m_parent(parent),
          m_prompt(prompt),
          m_folder(std::move(dataFolder)),
          m_warrantyLines(warrantyLines),
          m_warrantyNumber(std::move(warrantyNumber)) {}

    void setParent(QWidget* parent) { m_parent = parent; }

    bool editLine(RecordCursor& lines, const LineDialogSetup& setup) override;
    bool pickWarrantyLines(const RecordCursor& product, int priceGroup) override;

private:
    QWidget* m_parent;
    Prompt& m_prompt;
    std::string m_folder;
    RecordCursor* m_warrantyLines;
    QString m_warrantyNumber;
};

}  // namespace kavina::products
