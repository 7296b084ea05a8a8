// A simulated programming unit with the controller bootloader behind it, on a simulated
// HID bus, with fault injection, a request transcript and a virtual clock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct SimUnitConfig {
    std::uint16_t productId = 2; // 1 DOCKPAD, 2 DOCK-BOX
    bool unitInBootloader = false;
    std::uint8_t bootIdentity[12] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66,
                                     0x77, 0x88, 0x99, 0xAA, 0xBB, 0xCC};
    std::uint32_t unitFirmwareVersion = 0x00010203;
    std::uint32_t unitIdentityWord = 0x4B4F4344;
    std::uint16_t escState = 3;
    std::uint16_t escStateAux = 0x0001;
    std::uint32_t typeCode = 0x1422605A;
    std::uint16_t escFirmwareVersion = 0x0205;
    std::uint32_t bootloaderVersion = 0x00000105;
    // Tells one controller from another in its information block (bytes 16 to 19); 0 keeps
    // the block's plain pattern.
    std::uint32_t controllerSerial = 0;
    std::uint32_t outputReportLength = 60;
    std::uint32_t inputReportLength = 60;
    std::size_t flashSize = 128 * 1024;
    // Time the unit takes to produce an answer after a request arrives.
    std::uint32_t answerLatencyMs = 0;
    // The name of the USB socket it is plugged into ("1-2.3"); empty: none is told.
    std::wstring port;
};

enum class SimFaultKind {
    WriteFails,   // the request is not taken; lastError is reported
    ReadFails,    // the request is taken, reading its answer fails; lastError is reported
    StatusError,  // the answer carries status 0xFF and `code` at offsets 4 to 7
    LockRefused,  // SYSTEM_LOCK is answered with byte 3 = 0x00
    PatchAnswer,  // answer byte `offset` is replaced by `value`
    Unplug,       // the unit vanishes as this request is written
    NeverAnswers, // the request is taken and never answered
    NeverTaken,   // the write of the request never completes
};

constexpr int kAnyCommand = -1;

struct SimFault {
    SimFaultKind kind;
    int command = kAnyCommand; // a command code, or any request
    int nth = 0;               // the nth matching request since arming (1-based); 0: every one
    std::uint32_t code = 0;
    std::uint32_t lastError = 31; // ERROR_GEN_FAILURE
    std::size_t offset = 0;
    std::uint8_t value = 0;
};

struct SimExchange {
    int device;           // index on the bus
    std::uint32_t number; // request number on that device, from 1
    std::vector<std::uint8_t> request;
    std::uint64_t writtenAt;           // ms
    std::vector<std::uint8_t> answer; // empty until read
    std::uint64_t readAt;              // ms
    bool read;
    std::uint64_t writtenAtUs = 0, readAtUs = 0;
};

// Errors the simulated operating system reports.
constexpr std::uint32_t kSimErrorNotConnected = 1167; // ERROR_DEVICE_NOT_CONNECTED
constexpr std::uint32_t kSimErrorFileNotFound = 2;
constexpr std::uint32_t kSimErrorTimeout = 1460; // ERROR_TIMEOUT
constexpr std::uint32_t kSimErrorBusy = 170;     // ERROR_BUSY

// Empties the bus, the transcript and the faults; virtual clock at 0; this thread's
// last-error value 0.
void simReset();
// Real time for the demo and the benchmark; virtual time otherwise.
void simSetRealTime(bool realTime);
std::uint64_t simNow();

// Devices appear in enumeration order. Each returns its bus index.
int simAddDevice(const std::wstring& path, std::uint16_t vendorId, std::uint16_t productId);
int simAddUnit(const std::wstring& path, const SimUnitConfig& config = {});
// The demo's DOCK-BOX with an ORCA 75 LX attached: firmware 2.5, bootloader 1.5, on the
// socket named `port`.
int simAddDemoUnit(const std::wstring& path, const std::wstring& port = L"1-1");
// What every demo program starts with: an empty bus in real time with the demo's unit at
// the path its platform would give it; with `units` above 1 the others follow one every
// two seconds, each a DOCK-BOX with an ORCA 75 LX, at the platform's next paths, on the
// sockets of one hub: 1-1 for the first, then 1-2.1, 1-2.2 and on.
std::wstring simDemoPathWindows(int unit);
std::wstring simDemoPathLinux(int unit);
void simStartDemo(std::wstring (*pathOf)(int unit), int units = 1);
// With ORCA_DEMO_SHIFT=1 (and ORCA_DEMO_UNITS sockets) an operator works a shift instead:
// each socket gets a controller, which is taken out once its update has ended and the next
// one plugged in; every fifth controller fails at its erase the first time and comes back
// to its socket once, then to be written.
void simStartDemoShift(std::wstring (*pathOf)(int plugging), int sockets);
// Whether the unit began an update and has been silent for `quietMs` since: its update
// ended.
bool simUnitSettled(int device, std::uint64_t quietMs);
// With ORCA_DEMO_SWAP=N the first unit's controller becomes another model (type 0x0BADC0DE,
// firmware 9.9) N seconds after the start.
// How many units a demo program is asked for: ORCA_DEMO_UNITS, 1 to 16; 1 otherwise.
int simDemoUnitsAsked();
void simSetOpenable(int device, bool openable);
void simSetAttributesReadable(int device, bool readable);
void simSetCapabilitiesReadable(int device, bool readable);
void simSetListAvailable(bool available);
// Unplugs a device: it leaves the list and its open handles fail every I/O.
void simRemoveDevice(int device);
// Another controller cabled to the unit behind its back, with its own type and firmware:
// no device change tells of it.
void simSwapController(int device, std::uint32_t typeCode, std::uint16_t escFirmwareVersion);
// Plugs a removed unit in again at its path, as a new device (its index returned): the
// unit starts afresh, the controller behind it keeps its flash.
int simReplugUnit(int device);

void simAddFault(int device, const SimFault& fault);

// Copies, taken under the bus's lock: the demo's thread may add units and sessions write
// meanwhile. The whole transcript, or its size and one exchange of it.
std::vector<SimExchange> simTranscript();
std::size_t simTranscriptSize();
SimExchange simExchange(std::size_t index);
std::size_t simOpenHandles();
SimUnitConfig simUnitConfig(int device);
// Changes a unit's configuration under the bus's lock, as `change` does to it.
void simChangeUnitConfig(int device, const std::function<void(SimUnitConfig&)>& change);
// The controller's flash as written so far.
std::vector<std::uint8_t> simFlash(int device);
// Requests the unit answered with an error because they broke its protocol.
std::uint32_t simProtocolViolations(int device);
bool simLockHeld(int device);
bool simWriteProtected(int device);

// The unit's end of the wire, for a test that carries reports to the simulated unit by
// another way than the bus's handles (a virtual device node): the same protocol, faults,
// transcript and clock. A failure leaves its error as the simulated last-error value.
enum class SimAnswerResult { Answered, NotReady, Failed };
bool simUnitTakeRequest(int device, const std::uint8_t* report, std::size_t length);
SimAnswerResult simUnitGiveAnswer(int device, std::uint8_t* report, std::size_t length);
bool simUnitPresent(int device);
std::uint32_t simLastErrorValue();

// The image that platformFirmwareImage hands out in builds without resources, with the
// digest a build would have taken of it; its size is then the application that the
// controllers take as whole.
void simSetFirmwareImage(const std::vector<std::uint8_t>& image);
// Flips one bit of that image at `offset`, its digest left as it was: a damaged program.
void simDamageFirmwareImage(std::size_t offset);
