// libcurl, loaded when a download first needs it. tessik-stats' other commands then start
// without it and the thirty-odd libraries it brings (TLS, Kerberos, LDAP, ...), whose loading
// costs more than a whole score on a large database.
#pragma once

#include <curl/curl.h>

#include <string>

namespace tessik {

// The functions of libcurl the downloads call, by the names they have there less "curl_".
struct CurlLibrary {
  decltype(&curl_global_init) global_init;
  decltype(&curl_easy_init) easy_init;
  decltype(&curl_easy_cleanup) easy_cleanup;
  decltype(&curl_easy_setopt) easy_setopt;
  decltype(&curl_easy_perform) easy_perform;
  decltype(&curl_easy_getinfo) easy_getinfo;
  decltype(&curl_easy_header) easy_header;
  decltype(&curl_easy_strerror) easy_strerror;
  decltype(&curl_slist_append) slist_append;
  decltype(&curl_slist_free_all) slist_free_all;
  decltype(&curl_url) url;
  decltype(&curl_url_cleanup) url_cleanup;
  decltype(&curl_url_set) url_set;
  decltype(&curl_url_get) url_get;
  decltype(&curl_free) free;
};

// The library, loaded and initialised once for the process (by the first caller; later ones
// wait for it). Returns null when it cannot be loaded or started, saying why in why.
const CurlLibrary* Curl(std::string& why);

}  // namespace tessik
