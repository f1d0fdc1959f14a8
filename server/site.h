// The web game's files served beside the API, so that the page talks to its own origin.
#pragma once

#include <httplib.h>

#include <string>

namespace server {

// Serves the files of folder at / (index.html for a folder's path), each as the build's
// compressed copy beside it (NAME.br, NAME.gz) where the browser takes that encoding. Mount it
// after the API, whose paths come first. False when folder is not a folder.
bool MountSite(httplib::Server& http, const std::string& folder);

}  // namespace server
