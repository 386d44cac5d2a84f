#pragma once
// The reason a system call failed, in German for the causes a user meets (missing file or folder, no
// permission, disk full, read-only file system, file in use); other causes keep the system's text.
#include <string>

namespace zf {

std::string systemReason(int err);

} // namespace zf
