#pragma once
// A band layout: a page set-up, bands, and a record source whose records the detail bands
// print. prepare() runs the bands in their order (see BandKind), breaks pages where the next
// band does not fit above the page footer, and returns every page laid out, so the page
// count is known before anything prints and page-number texts are right on every page.
//
// Bands of one kind print in the order they were added; group headers nest in that order,
// the first added being the outermost. The source is walked from its first record and left
// on the record it was on.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/RecordCursor.h"
#include "report/Band.h"
#include "report/PreparedReport.h"

namespace kavina::report {

class Layout {
public:
    Layout() = default;
    Layout(const Layout&) = delete;
    Layout& operator=(const Layout&) = delete;

    PageSetup& pageSetup() { return m_setup; }
    const PageSetup& pageSetup() const { return m_setup; }
    // The width bands are laid out in: the paper between the margins.
    double bandWidth() const { return m_setup.contentRect().width(); }

    Band& addBand(BandKind kind, std::string name, double height);
    // Requires: a band of that name exists (std::logic_error otherwise).
    Band& band(std::string_view name);
    Band* findBand(std::string_view name);
    const std::vector<std::unique_ptr<Band>>& bands() const { return m_bands; }

    // The records the detail bands print; nullptr prints no detail band.
    void setSource(RecordCursor* source) { m_source = source; }
    RecordCursor* source() const { return m_source; }

    // Lays out every page. Hooks and data-bound texts run here, in print order. Throws what
    // they throw (a DbError for an unknown field), having restored the source's position.
    PreparedReport prepare();

private:
    PageSetup m_setup;
    std::vector<std::unique_ptr<Band>> m_bands;
    RecordCursor* m_source = nullptr;
};

}  // namespace kavina::report
