#pragma once
// A drop-down box's items as the core's text list, and back: the histories
// of the folder, mask and home-link boxes live in the store as text lists.

#include "util/TextUtils.h"

class QComboBox;

namespace zelvora {

TStringList ItemsOf(const QComboBox* box);
// Replaces the drop-down items and keeps the box's text as it was.
void SetItems(QComboBox* box, const TStringList& items);

}  // namespace zelvora
