// The settings store on a file of any content: reads, then writes, which
// rewrite (or set aside) whatever was there.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/UsefulRegistry.h"
#include "util/FileUtils.h"

using namespace zelvora;

namespace {

const std::string& StoreFile() {
  static const std::string path = [] {
    const char* shm = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(shm) + "/zelvora-fuzz-settings-" + std::to_string(::getpid()) + ".json";
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string& path = StoreFile();
  if (!WriteTextFile(path, std::string_view(reinterpret_cast<const char*>(data), size))) return 0;
  TUsefulRegistry store(path);
  const std::string key = "Software\\Brennvik Software\\Zelvora\\Options";
  store.ReadString(key, "GalPage_DateFormat", "d");
  store.ReadInteger(key, "Thumb_ShadowValue", 128);
  TStringList list;
  store.ReadList("Software\\Brennvik Software\\Zelvora\\History", "OutputFolderList", list);
  store.WriteString(key, "GalPage_DateFormat", "yyyy");
  store.WriteList("Software\\Brennvik Software\\Zelvora\\History", "OutputFolderList", list);
  store.DeleteValue(key, "Thumb_ShadowValue");
  ::unlink(path.c_str());
  ::unlink((path + ".damaged").c_str());
  return 0;
}
