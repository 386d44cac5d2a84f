#pragma once
#include "platform/Seams.h"

namespace zf {

// Opens files and addresses with the desktop's handler, programs with their parameters.
class QtShell : public Shell {
public:
    bool open(const std::string& target, const std::string& parameters = {}) override;
};

} // namespace zf
