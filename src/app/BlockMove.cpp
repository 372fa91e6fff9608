#include "app/BlockMove.h"

#include <algorithm>

#include "gallery/ImageGalleryList.h"

namespace zelvora {

TRowRange MoveBlock(TImageGalleryList& list, const std::vector<int>& rows, int delta) {
  if (delta == 0 || rows.empty()) return {};
  const int n = static_cast<int>(rows.size());
  // Each line moves past lines that are not in the block only, so the
  // rows still to move keep their indexes.
  if (delta < 0) {
    const int target = std::max(0, rows.front() + delta);
    for (int k = 0; k < n; ++k) list.Move(rows[static_cast<std::size_t>(k)], target + k);
    return {target, target + n - 1};
  }
  const int target = std::min(list.Count() - 1, rows.back() + delta);
  for (int k = 0; k < n; ++k) list.Move(rows[static_cast<std::size_t>(n - 1 - k)], target - k);
  return {target - n + 1, target};
}

}  // namespace zelvora
