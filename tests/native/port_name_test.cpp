// How USB sockets are named: the spelling a --port must have, and Windows' location paths
// of devices on a root hub, on a hub behind it, and of a composite device's interface.
#include "platform/port_name.h"

#include <gtest/gtest.h>

TEST(PortName, ABusThenThePortOnEachHub) {
    for (const wchar_t* good : {L"1-2", L"1-2.3", L"12-4.1.7", L"0-1"})
        EXPECT_TRUE(isPortPath(good)) << good;
    for (const wchar_t* bad : {L"", L"1", L"usb1", L"1-", L"-2", L"1-2.", L"1-.2", L"1--2",
                               L"1-2-3", L"1.2", L"1-2.x", L"/dev/hidraw2", L"1-2 "})
        EXPECT_FALSE(isPortPath(bad)) << bad;
}

TEST(PortName, FromWindowsLocationPaths) {
    EXPECT_EQ(portOfLocationPath(L"PCIROOT(0)#PCI(1400)#USBROOT(0)#USB(2)"), L"0-2");
    EXPECT_EQ(portOfLocationPath(L"PCIROOT(0)#PCI(1400)#USBROOT(0)#USB(2)#USB(3)"), L"0-2.3");
    EXPECT_EQ(portOfLocationPath(L"PCIROOT(0)#PCI(0801)#PCI(0003)#USBROOT(1)#USB(4)#USB(1)#USBMI(0)"),
              L"1-4.1")
        << "an interface of a composite device is on its device's socket";
    EXPECT_EQ(portOfLocationPath(L"PCIROOT(0)#PCI(1400)#USBROOT(0)"), L"") << "the root hub";
    EXPECT_EQ(portOfLocationPath(L"ACPI(_SB_)#ACPI(PCI0)"), L"") << "not on USB";
    EXPECT_EQ(portOfLocationPath(L"PCIROOT(0)#USBROOT(0)#USB(x)"), L"");
    EXPECT_EQ(portOfLocationPath(L"PCIROOT(0)#USBROOT(0)#USB(2"), L"");
}
