#pragma once
// Moving the selected lines of the image list as one block: the order
// within the block and among the other lines stays.

#include <vector>

namespace zelvora {

class TImageGalleryList;

struct TRowRange {
  int first = -1;
  int last = -1;
  bool Empty() const { return first < 0; }
};

// Gathers the lines at rows (ascending, valid) into one block and moves it
// by delta lines, stopping at either end of the list. Returns the block's
// new rows; empty when delta is 0 or no row is given.
TRowRange MoveBlock(TImageGalleryList& list, const std::vector<int>& rows, int delta);

}  // namespace zelvora
