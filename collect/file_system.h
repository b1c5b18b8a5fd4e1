// The file-system test of folder selection.
#pragma once

#include <string>

namespace vorlund {

// True exactly when the platform gives the attributes of path and they mark a directory.
bool DirectoryExists(const std::string& path);

}  // namespace vorlund
