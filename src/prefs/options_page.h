#pragma once
// The OPTIONS page: the unit's general options, bytes 0..31 and 192..227 of the options table,
// as fields, check boxes, radio groups and choice lists, plus the HTTP post address (bytes
// 368..431) and the application's display scale. The field list below is what the page shows
// and where each field stands in the table (byte, bits, rule); OPEN and PREFSAVE both walk it.
// What the columns cannot say (baud code, temperature sensor byte, log flags, derived timer
// bytes) is written out in SetOptionsFields and BuildOptionsTable.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/prompt.h"
#include "tables/table_types.h"

namespace pelor::prefs {

// The page models work on the tables' byte arrays and files throughout.
using namespace tables;

enum class OptionsField {
    // Display
    Pages,
    ControlPages,
    AnalogInputs,
    NmeaInputs,
    Contrast,
    DisplayScale,
    InvertDisplay,
    BacklightAdjust,
    BacklightOnAtStart,
    DemoMode,
    // Unit and display model (byte 6)
    DisplayType,
    // Kantelo (byte 5 bits 4..6, byte 23)
    KanteloMode,
    KanteloCountLow,
    KanteloCountHigh,
    // Pulse inputs
    P0Scale,
    P0Time,
    Pulse0Enable,
    P0Edge,
    P0DialScale,
    P1Scale,
    P1Time,
    Pulse1Enable,
    P1Edge,
    P1DialScale,
    P2Scale,
    P2Time,
    Pulse2Enable,
    P2Edge,
    P2DialScale,
    // Serial
    SerialInUsb,
    SerialInSerial,
    SerialOutMode,
    BaudRate,
    SerialCommandMode,
    Cluster,
    MasterSlave,
    // Alarms (bytes 24, 25)
    AlarmEnable,
    PelorAlarm,
    AlarmActiveLow,
    // Ports
    Usb1Mode,
    Usb2Mode,
    LogAppend,
    LogBuffer,
    LogPowerUp,
    LogFlag4,
    Port0Display,
    PortInput,
    PortOutput,
    UsbBaud,
    SyncDisplays,
    // Status messages, timers and the rest
    VersionStatusMsg,
    ClockStatusMsg,
    TachHoursMsg,
    SwitchStatusMsg,
    ResetGph,
    HttpEnable,
    Timer0Enable,
    Timer1Enable,
    Timer2Enable,
    Timer3Enable,
    Timer0,
    Timer1,
    Timer2,
    Timer3,
    UpdateRate2x,
    TempSensor,
    TempAdjust,
    Option227,
    Count
};
inline constexpr std::size_t kOptionsFieldCount = static_cast<std::size_t>(OptionsField::Count);

enum class FieldKind {
    Number,  // a spin box from min to max
    Check,   // a check box, 0 or 1
    Choice,  // a choice list, the index into choices
    Radio,   // radio buttons, the value of the checked button (values[k] for choices[k])
};

// How a field's bits stand in its byte.
enum class BitRule {
    Value,    // the bits are the value
    Flag,     // 1 when any of the bits is set; written as 0 or 1 at `bit`
    Cleared,  // one bit, set when the field is off (0)
    UpTo,     // the bits are the value when at most `limit`, else 0 is read
    AtMost,   // the bits, read as `limit` when above it
    Coded,    // converted in code, not by the walk (baud code, temperature sensor byte)
};

// Where a field stands in the options table.
struct OptionsBits {
    int byte = -1;  // -1: not in the table
    int bit = 0;    // the lowest bit
    int width = 8;  // in bits; 16: `byte` high, the next byte low
    BitRule rule = BitRule::Value;
    int limit = 0;  // UpTo, AtMost
};

struct OptionsFieldRow {
    OptionsField id;
    const char* group;
    const char* caption;
    FieldKind kind;
    int min = 0;
    int max = 0;
    std::vector<std::string> choices;  // Choice and Radio
    std::vector<int> values;           // Radio: the value of each button
    const char* tooltip = "";
    OptionsBits bits;
};

// Every field in the order the page shows it (grouped by `group`).
const std::vector<OptionsFieldRow>& OptionsFieldRows();
const OptionsFieldRow& FieldRowOf(OptionsField id);

struct OptionsPage {
    std::array<int, kOptionsFieldCount> fields{};
    std::string httpPostAddress;
    // The page's copy of the whole table: bytes the page does not show are written as held.
    OptionsTable table{};
    // The fields as the table (or OPEN) gave them. A field the user left as it was is not
    // checked: a file may hold a value the page would refuse, and it is written back as held.
    std::array<int, kOptionsFieldCount> asLoaded{};

    int& operator[](OptionsField f) { return fields[static_cast<std::size_t>(f)]; }
    int operator[](OptionsField f) const { return fields[static_cast<std::size_t>(f)]; }
};

// The page for a table (bytes 0..255 as fields, the rest kept in `table`); the address is cut
// to the 61 characters the writers keep.
OptionsPage OptionsPageFromTable(const OptionsTable& table, int displayScale,
                                 const std::string& httpPostAddress);
// Sets the fields from bytes 0..255 (OPEN); the other bytes of the page's copy stay.
void SetOptionsFields(OptionsPage& page, const OptionsTable& bytes);

// The table PREFSAVE writes: the page's copy with bytes 0..223 rebuilt from the fields, bytes
// 32..191 (channels and alarms) taken from `sections`, byte 227 from its field and the HTTP
// field from the address.
OptionsTable BuildOptionsTable(const OptionsPage& page, const OptionsTable& sections);

// "" when every field the user changed is within its range, else a message naming the first
// field that is not.
std::string CheckOptionsPage(const OptionsPage& page);

// The display scale as the application takes it: out of 1..100 becomes 100.
int EffectiveDisplayScale(int field);

// OPEN: bytes 0..255 of directory + name into the fields ("Error loading Options file").
bool OpenOptionsPage(core::Prompt& prompt, const std::string& directory, const std::string& name,
                     OptionsPage& page);

// PREFSAVE: save dialog (initial path directory + name); the chosen file must be in the project
// folder. Writes the whole options file and returns the bare name used, or "" when nothing
// was written (cancel, a bad field, a write failure).
std::string SaveOptionsPage(core::Prompt& prompt, const std::string& directory,
                            const std::string& name, const OptionsPage& page,
                            const OptionsTable& sections);

}  // namespace pelor::prefs
