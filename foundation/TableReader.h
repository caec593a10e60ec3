#pragma once
// A reader of the table another handle shows: a read-only handle of its own on the same file,
// in physical order, so that walking or positioning it never moves the shown handle, which
// other windows share. With SameFilter it sees the records the shown handle's filter lets
// through (its master link is not carried over).
#include <memory>

#include "foundation/TableHandle.h"

namespace kavina {

enum class ReaderView { Unfiltered, SameFilter };

// Requires: the shown handle is open. Throws DbError when the file cannot be opened.
std::unique_ptr<TableHandle> readerOf(const TableHandle& shown, ReaderView view);

}  // namespace kavina
