#pragma once
// Name masks such as "img-%4c" or "%f-%n": they turn the facts about one
// picture into a file name or a link target.
//
//   %n%   n percent signs          %nC  the number, at least n digits
//   %D    the file date yyyy-mm-dd %T   its time hh-nn (24-hour clock)
//   %E    extension without dot    %N   file name without extension
//   %F    innermost folder name
// n is optional (1 when absent, at most 255); letters in either case. A
// "%" that starts no code is copied as it is.

#include <cstdint>
#include <string>
#include <string_view>

#include "util/DateValue.h"
#include "util/PathUtils.h"

namespace zelvora {

struct TFileNameParams {
  std::int32_t number = 0;
  std::string fileName;  // with extension, without folder
  std::string folder;    // the folder part of the picture's path
  TDateTime fileDate = 0;
};

// The folder is read with the given path style: under Windows "\", "/" and
// ":" end a name, under POSIX only "/".
std::string ExpandNameMask(std::string_view mask, const TFileNameParams& params,
                           PathStyle style = kNativePathStyle);

}  // namespace zelvora
