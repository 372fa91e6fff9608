#include "settings/History.h"

#include <atomic>
#include <utility>

namespace zelvora {
namespace {
std::atomic<int> historyLimit{kDefaultHistoryLimit};
}  // namespace

int AddToHistory(TStringList& list, const std::string& text, int limit, bool atTop,
                 bool keepDuplicates) {
  try {
    // Work on a copy so that a failure leaves the caller's list whole.
    TStringList entries = list;
    if (!keepDuplicates) {
      for (std::size_t i = entries.size(); i-- > 0;) {
        if (SameText(entries[i], text)) entries.erase(entries.begin() + static_cast<long>(i));
      }
    }
    long index;
    if (atTop) {
      entries.insert(entries.begin(), text);
      index = 0;
    } else {
      entries.push_back(text);
      index = static_cast<long>(entries.size()) - 1;
    }
    std::size_t keep = limit < 0 ? 0 : static_cast<std::size_t>(limit);
    while (entries.size() > keep) {
      if (atTop) {
        entries.pop_back();
      } else {
        entries.erase(entries.begin());
        --index;
      }
    }
    if (index >= static_cast<long>(entries.size())) index = -1;
    list = std::move(entries);
    return index < 0 ? -1 : static_cast<int>(index);
  } catch (...) {
    return -1;
  }
}

int HistoryLimit() { return historyLimit.load(); }

void SetHistoryLimit(int limit) { historyLimit.store(limit); }

}  // namespace zelvora
