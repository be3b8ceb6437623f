#include "fetch/curl_library.h"

#include <dlfcn.h>

#include <string>

namespace tessik {

namespace {

// The name of the library's ABI: the version that the headers compiled against describe.
constexpr const char* kLibraryFile = "libcurl.so.4";

struct Loaded {
  CurlLibrary functions{};
  std::string failure;  // empty once loaded
};

template <class Function>
bool Find(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  return function != nullptr;
}

Loaded Load() {
  Loaded loaded;
  // Kept open for the process: libcurl keeps global state until it ends.
  void* library = dlopen(kLibraryFile, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    loaded.failure = std::string("libcurl could not be loaded: ") + dlerror();
    return loaded;
  }
  CurlLibrary& f = loaded.functions;
  const bool found = Find(library, "curl_global_init", f.global_init) &&
                     Find(library, "curl_easy_init", f.easy_init) &&
                     Find(library, "curl_easy_cleanup", f.easy_cleanup) &&
                     Find(library, "curl_easy_setopt", f.easy_setopt) &&
                     Find(library, "curl_easy_perform", f.easy_perform) &&
                     Find(library, "curl_easy_getinfo", f.easy_getinfo) &&
                     Find(library, "curl_easy_header", f.easy_header) &&
                     Find(library, "curl_easy_strerror", f.easy_strerror) &&
                     Find(library, "curl_slist_append", f.slist_append) &&
                     Find(library, "curl_slist_free_all", f.slist_free_all) &&
                     Find(library, "curl_url", f.url) &&
                     Find(library, "curl_url_cleanup", f.url_cleanup) &&
                     Find(library, "curl_url_set", f.url_set) &&
                     Find(library, "curl_url_get", f.url_get) && Find(library, "curl_free", f.free);
  if (!found) {
    loaded.failure = std::string("libcurl is older than Tessik needs: ") + dlerror();
  } else if (f.global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
    loaded.failure = "libcurl could not be started";
  }
  return loaded;
}

}  // namespace

const CurlLibrary* Curl(std::string& why) {
  static const Loaded loaded = Load();  // once, whichever thread asks first
  if (!loaded.failure.empty()) {
    why = loaded.failure;
    return nullptr;
  }
  return &loaded.functions;
}

}  // namespace tessik
