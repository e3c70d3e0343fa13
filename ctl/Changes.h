#pragma once
// zrnctl's watch over the changes of one run on one device: the device's plan
// saved before the first set command, and a journal line for each change. A
// state file that cannot be written is a warning; the change goes ahead.

#include "Device.h"
#include "Result.h"

#include <optional>
#include <string>
#include <vector>

namespace zrnctl {

class Changes : public ChangeWatch {
public:
    explicit Changes(std::string port) : port_(std::move(port)) {}

    void BeforeFirstChange(Device& device) override;
    void Changed(const std::string& what, const Json& before, const Json& after,
                 zrn::ChangeResult result) override;

    // The backup's path, the warnings, as lines and JSON keys of the result.
    void AddTo(DeviceResult& result) const;

private:
    void Warn(const std::string& warning);

    std::string port_;
    std::string device_; // identification and firmware, once read
    std::optional<std::string> backup_;
    std::vector<std::string> warnings_;
};

} // namespace zrnctl
