#pragma once
// Drop-down histories of folders, masks and home links.

#include <string>

#include "util/TextUtils.h"

namespace zelvora {

inline constexpr int kDefaultHistoryLimit = 20;

// Puts the text into the history: unless duplicates are kept, every entry
// equal to it without regard to letter case goes first; the text is inserted
// at the top (or appended), and entries beyond the limit (negative counts as
// 0) are dropped from the far end. The result is the new entry's index in the
// list as it ends up, -1 when the limit left no room for it or on a failure
// (the list then stays as it was).
int AddToHistory(TStringList& list, const std::string& text, int limit, bool atTop = true,
                 bool keepDuplicates = false);

// The module-wide history limit the wizard's histories use (initially 20).
int HistoryLimit();
void SetHistoryLimit(int limit);

}  // namespace zelvora
