#pragma once
// The product register as one editor's picker: made at the first pick and shown again for
// every further one, so its tab, search text, filters and price group stay while the editor
// is open; released with the editor.

#include <QPointer>

#include "products/register/forms/TAnyagForm.h"

namespace kavina::products {

class ProductPicker {
public:
    // The options' picker fields are this picker's own; windows are the pick's windows.
    ProductPicker(QWidget* parent, TDataModule1& data, Prompt& prompt, const AnyagFormOptions& options,
                  PickerWindows& windows);
    ~ProductPicker();

    // What the next pick asks for; "chosen" is cleared by pick().
    PickerRequest& request() { return m_request; }
    // Shows the register modally; true when a pick completed.
    bool pick();
    // The window the register is shown over; takes effect when the register is first made.
    void setParent(QWidget* parent) { m_parent = parent; }
    // The register window, once made (for tests driving it).
    TAnyagForm* window() { return m_form.data(); }
    // Makes the register window without showing it; a test then drives it and calls finish().
    TAnyagForm& prepare();

private:
    QWidget* m_parent;
    TDataModule1& m_data;
    Prompt& m_prompt;
    AnyagFormOptions m_options;
    PickerRequest m_request;
    // Owned by its parent window when it has one, else by the picker.
    QPointer<TAnyagForm> m_form;
};

}  // namespace kavina::products
