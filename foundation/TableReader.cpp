#include "foundation/TableReader.h"

#include <filesystem>

namespace kavina {

std::unique_ptr<TableHandle> readerOf(const TableHandle& shown, ReaderView view) {
    const std::filesystem::path path(shown.table().path());
    auto reader = std::make_unique<TableHandle>(path.parent_path().string() + "/", path.filename().string());
    reader->open({.readOnly = true});
    if (view == ReaderView::SameFilter && shown.filtered()) {
        reader->setFilterOptions(shown.table().filterOptions());
        reader->setFilter(shown.filter());
        reader->setFiltered(true);
    }
    return reader;
}

}  // namespace kavina
