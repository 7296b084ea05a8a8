// How port names are spelled where there are any: a bus or root number, then the port on
// each hub from the root down, "1-2" or "1-2.3.4".
#pragma once

#include <string>

// Windows' location path of a USB device, "PCIROOT(0)#PCI(1400)#USBROOT(0)#USB(2)#USB(3)"
// (a composite device's interface adds "#USBMI(0)"), as a port name: "0-2.3". Empty for a
// path with no USB port under a USB root.
inline std::wstring portOfLocationPath(const std::wstring& location) {
    const std::wstring root = L"USBROOT(";
    std::size_t at = location.find(root);
    if (at == std::wstring::npos)
        return {};
    at += root.size();
    std::wstring name;
    auto number = [&](std::size_t from, std::size_t& end) {
        end = location.find(L')', from);
        if (end == std::wstring::npos || end == from)
            return std::wstring();
        const std::wstring digits = location.substr(from, end - from);
        return digits.find_first_not_of(L"0123456789") == std::wstring::npos ? digits
                                                                             : std::wstring();
    };
    std::size_t end = 0;
    name = number(at, end);
    if (name.empty())
        return {};
    const std::wstring hop = L"#USB(";
    bool anyPort = false;
    while (location.compare(end + 1, hop.size(), hop) == 0) {
        const std::wstring port = number(end + 1 + hop.size(), end);
        if (port.empty())
            return {};
        name += (anyPort ? L"." : L"-") + port;
        anyPort = true;
    }
    return anyPort ? name : std::wstring();
}

inline bool isPortPath(const std::wstring& port) {
    const std::size_t dash = port.find(L'-');
    if (dash == 0 || dash == std::wstring::npos || dash + 1 == port.size())
        return false;
    bool digitBefore = false;
    for (std::size_t i = 0; i < port.size(); ++i) {
        const wchar_t c = port[i];
        if (c >= L'0' && c <= L'9') {
            digitBefore = true;
        } else if ((c == L'-' && i == dash) || (c == L'.' && i > dash)) {
            if (!digitBefore)
                return false;
            digitBefore = false;
        } else {
            return false;
        }
    }
    return digitBefore;
}
