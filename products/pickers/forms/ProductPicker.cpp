#include "products/pickers/forms/ProductPicker.h"

namespace kavina::products {

ProductPicker::ProductPicker(QWidget* parent, TDataModule1& data, Prompt& prompt, const AnyagFormOptions& options,
                             PickerWindows& windows)
    : m_parent(parent), m_data(data), m_prompt(prompt), m_options(options) {
    m_options.picker = &m_request;
    m_options.pickerWindows = &windows;
}

ProductPicker::~ProductPicker() {
    if (m_form && !m_form->parent()) delete m_form.data();
}

TAnyagForm& ProductPicker::prepare() {
    m_request.chosen = false;
    if (!m_form)
        m_form = new TAnyagForm(m_parent, m_data, m_prompt, m_options);
    else
        m_form->reopenForPick();
    return *m_form;
}

bool ProductPicker::pick() {
    prepare().exec();
    return m_request.chosen;
}

}  // namespace kavina::products
