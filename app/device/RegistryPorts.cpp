// The port list from the registry's SERIALCOMM values (Windows only).
#include "device/PortList.h"
#include "platform/SerialPorts.h"

namespace zrn {

std::vector<std::string> RegistrySerialPorts() {
    std::vector<std::string> ports;
    for (const std::string& data : SerialCommValues())
        if (auto port = PortNameFromRegistryData(data))
            ports.push_back(std::move(*port));
    return ports;
}

} // namespace zrn
