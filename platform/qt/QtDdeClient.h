#pragma once
// Klicker's DDE conversation on this system: a local socket named after service and topic
// ("klicker.ddeklicker"); the execute command is written to it as it is and nothing is read back.
#include <string>

#include "core/ports/Seams.h"

namespace zf {

class QtDdeClient : public DdeClient {
public:
    // `prefix` goes in front of the socket name: a folder ("/tmp/x/") puts the socket there.
    explicit QtDdeClient(std::string prefix = {}, int timeoutMs = 1000)
        : prefix_(std::move(prefix)), timeoutMs_(timeoutMs) {}
    bool execute(const std::string& service, const std::string& topic, const std::string& command) override;
    static std::string socketName(const std::string& service, const std::string& topic) {
        return service + "." + topic;
    }

private:
    std::string prefix_;
    int timeoutMs_;
};

} // namespace zf
