#pragma once
// TPartnerReport, the printed partner list: landscape A4, the partners the register shows
// (its tab and order), two lines each in a frame, and a footer naming the user who printed it.

#include <QString>
#include <memory>

#include "foundation/RecordCursor.h"
#include "report/Layout.h"

namespace kavina::documents {

// The layout over the partners; prepare() it for the preview. The maker's web address and
// the user's name come from the caller.
std::unique_ptr<report::Layout> TPartnerReport(RecordCursor& partners, const QString& webAddress,
                                               const QString& currentUser);

}  // namespace kavina::documents
