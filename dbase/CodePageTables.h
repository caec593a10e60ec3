#pragma once
// Per-byte tables of the code pages the engine converts and compares (see the .cpp).

namespace dbase::detail {
extern const char16_t kWin1250Upper[128];
extern const char16_t kDos852Upper[128];
extern const unsigned char kWin1250Fold[256];
extern const unsigned char kDos852Fold[256];
extern const unsigned char kWin1250Weight[256];
extern const unsigned char kDos852Weight[256];
}  // namespace dbase::detail
