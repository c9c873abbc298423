#include "unit/flash_programmer.h"

#include "core/format.h"
#include "core/text_file.h"
#include "unit/debugger_protocol.h"

namespace pelor::unit {

namespace {

constexpr const char* kWriteFailed = "Error Writing to device";

// Takes the link from its reader (waiting for a running pass to end) and gives it back,
// whatever way the operation ends.
class ProgrammingFlag {
public:
    explicit ProgrammingFlag(core::LinkHold& hold) : hold_(hold) {}
    ~ProgrammingFlag() {
        if (taken_) hold_.Release();
    }
    ProgrammingFlag(const ProgrammingFlag&) = delete;
    ProgrammingFlag& operator=(const ProgrammingFlag&) = delete;
    void Set() {
        if (taken_) return;
        hold_.Take();
        taken_ = true;
    }
    void Release() {
        if (taken_) hold_.Release();
        taken_ = false;
    }

private:
    core::LinkHold& hold_;
    bool taken_ = false;
};

// Begin/End of the progress display around one operation.
class ProgressScope {
public:
    ProgressScope(FlashProgress* p, int total) : p_(p) {
        if (p_ != nullptr) p_->Begin(total);
    }
    ~ProgressScope() {
        if (p_ != nullptr) p_->End();
    }

private:
    FlashProgress* p_;
};

std::string Title(const FlashRecord& r) {
    const auto& a = r.addressText;
    return core::Format("Flash %c%c%c%c", a[0], a[1], a[2], a[3]);
}

// The confirmation's detail line: the file and where its first record goes in the unit.
std::string FlashTarget(const std::string& path, const FlashPlan& plan) {
    std::string detail = "File: " + path;
    if (!plan.records.empty()) {
        const auto& a = plan.records.front().addressText;
        detail += core::Format(" -> unit FLASH address %c%c%c%c", a[0], a[1], a[2], a[3]);
    }
    return detail;
}

}  // namespace

void FlashProgrammer::Error(std::string_view text) {
    h_.prompt.Message(text, "Error");
}

void FlashProgrammer::Status(std::string_view text) {
    h_.prompt.Message(text, "Status");
}

bool FlashProgrammer::Step(int done, std::string_view title) {
    if (h_.clearDisplay) h_.clearDisplay();
    h_.view.SetCaption(title);
    return h_.progress == nullptr || h_.progress->Step(done, title);
}

FlashOutcome FlashProgrammer::Run(const std::string& path, std::string_view addressText) {
    return addressText == kReadBackAddress ? ReadBack(path) : ProgramFile(path, addressText);
}

FlashOutcome FlashProgrammer::ProgramFile(const std::string& path, std::string_view addressText) {
    if (!h_.link.Connected()) {
        Error("Not connected to unit");
        return FlashOutcome::Failed;
    }
    if (path.empty()) {
        Error("No Flash file path specified");
        return FlashOutcome::Failed;
    }
    // The whole file is read and checked first: a bad file sends nothing.
    const FlashFileResult file = ReadFlashFile(path, addressText);
    if (!file.ok) {
        Error(file.message);
        return FlashOutcome::Failed;
    }
    FlashOutcome outcome = FlashOutcome::Failed;
    if (file.plan.kind == FlashFileKind::Table || file.plan.kind == FlashFileKind::IntelHex)
        outcome = ThroughFirmware(file.plan, path);
    else
        outcome = ThroughDebugger(file.plan);
    if (outcome == FlashOutcome::Done) {
        Status(core::Format("Loaded Flash: bytes =%d", file.plan.byteCount));
        if (h_.finished) h_.finished();
    }
    h_.view.RequestRepaint();
    return outcome;
}

// $PKZLC,P (twice, the second answered "FLASH "), the erase range and $PKZLC,E (answered
// "ERASED "), then each record answered with its address at characters 8 to 11, then the end
// record.
FlashOutcome FlashProgrammer::ThroughFirmware(const FlashPlan& plan, const std::string& path) {
    FlashLink& link = h_.link;
    ProgrammingFlag flag(h_.hold);
    const bool table = plan.kind == FlashFileKind::Table;
    if (link.Send(kProgramCommand, false) != 0) {
        Error(kWriteFailed);
        return FlashOutcome::Failed;
    }
    if (h_.prompt.MessageWithDetail("Are you sure you want to  Flash Data?",
                                    FlashTarget(path, plan), "Status",
                                    core::MessageButtons::YesNo) != core::Answer::Yes)
        return FlashOutcome::Declined;
    // From here on the reader keeps off the line: the answers are the programmer's.
    flag.Set();
    if (link.Send(kProgramCommand, true) != 0) {
        Error(kWriteFailed);
        return FlashOutcome::Failed;
    }
    if (link.Reply().find("FLASH ") == std::string::npos) {
        Error("Error sync with device");
        return FlashOutcome::Failed;
    }
    if (link.Send(plan.eraseCommand, true) != 0) {
        Error(kWriteFailed);
        return FlashOutcome::Failed;
    }
    if (!table &&
        h_.prompt.Message(core::Format("Erase and Flash Data? \n\r %s", link.Reply().c_str()),
                          "Status", core::MessageButtons::YesNo) != core::Answer::Yes)
        // Nothing more is sent; the unit leaves programming mode on its own time-out.
        return FlashOutcome::Declined;
    if (link.Send(kEraseCommand, true) != 0) {
        Error(kWriteFailed);
        return FlashOutcome::Failed;
    }
    if (link.Reply().find("ERASED ") == std::string::npos) {
        Error("Error in Erase operation");
        return FlashOutcome::Failed;
    }
    if (!table) Status("Erased Flash Memory");

    ProgressScope progress(h_.progress, static_cast<int>(plan.records.size()));
    int done = 0;
    for (const FlashRecord& record : plan.records) {
        if (!Step(done, Title(record))) {
            link.Send(kEndRecord, false);
            Status("Flash cancelled - the unit's FLASH holds part of the file");
            return FlashOutcome::Cancelled;
        }
        if (link.Send(record.wire, true) != 0) {
            // The template's "%X" shows the last byte of the record that did not go out.
            Error(core::Format("Error Writing db %XX to device",
                               record.data.empty() ? 0u : unsigned{record.data.back()}));
            return FlashOutcome::Failed;
        }
        const std::string reply = link.Reply();
        if (reply.size() < 12 ||
            reply.compare(8, 4, record.addressText.data(), record.addressText.size()) != 0) {
            Error(core::Format("Error Writing to device \n\r %s", reply.c_str()));
            return FlashOutcome::Failed;
        }
        ++done;
    }
    if (link.Send(kEndRecord, false) != 0) {
        Error(table ? kWriteFailed : "Error finalizing writing to device");
        return FlashOutcome::Failed;
    }
    return FlashOutcome::Done;
}

// The controller's debugger: set-up with mass erase, every data record, and for the 8-bit
// controller the CRC and leaving debug mode. The line gets its own speed back in every case.
FlashOutcome FlashProgrammer::ThroughDebugger(const FlashPlan& plan) {
    std::unique_ptr<DebuggerLine> line = h_.link.Debugger();
    if (line == nullptr) {
        Error("Error in FLASH init");
        return FlashOutcome::Failed;
    }
    ProgrammingFlag flag(h_.hold);
    flag.Set();
    struct RestoreLine {
        DebuggerLine& line;
        ~RestoreLine() { line.Restore(); }
    } restore{*line};

    const bool bits8 = plan.kind == FlashFileKind::Image8;
    const SetUpResult setUp =
        bits8 ? SetUpDebugger8(*line, h_.prompt, true) : SetUpDebugger16(*line, h_.prompt, true);
    if (setUp == SetUpResult::Declined) return FlashOutcome::Declined;
    if (setUp == SetUpResult::Failed) {
        Error("Error in FLASH init");
        return FlashOutcome::Failed;
    }
    ProgressScope progress(h_.progress, static_cast<int>(plan.records.size()));
    int done = 0;
    for (const FlashRecord& record : plan.records) {
        const auto& a = record.addressText;
        const std::string title = bits8 ? Title(record)
                                        : core::Format("Flash - %c%c%c%c%c", '0' + record.extension,
                                                       a[0], a[1], a[2], a[3]);
        if (!Step(done, title)) {
            if (bits8) LeaveDebugMode(*line, DebuggerKind::Bits8);
            Status("Flash cancelled - the unit's FLASH holds part of the file");
            return FlashOutcome::Cancelled;
        }
        if (!WriteImageRecord(*line, plan.kind, record)) {
            Error("Error writing data - check FLASH cable");
            return FlashOutcome::Failed;
        }
        ++done;
    }
    if (bits8 && !FinishDebugger8(*line, h_.prompt)) return FlashOutcome::Failed;
    return FlashOutcome::Done;
}

FlashOutcome FlashProgrammer::ReadBack(const std::string& path) {
    if (!h_.link.Connected()) {
        Error("Not connected to unit");
        return FlashOutcome::Failed;
    }
    if (path.empty()) {
        Error("No Flash file path specified");
        return FlashOutcome::Failed;
    }
    // Written beside the target and put in its place only when complete: a failed read-back
    // never destroys an earlier backup.
    core::TextFile file;
    if (!file.Open(path, core::TextFile::Mode::Replace)) {
        Error("Could not Open Flash File");
        return FlashOutcome::Failed;
    }
    if (!file.SetBuffer(100)) {
        Error("Could not set buffer to 0");
        file.Abandon();
        return FlashOutcome::Failed;
    }
    if (h_.prompt.Message("Save Flash Data?", "Status", core::MessageButtons::YesNo) !=
        core::Answer::Yes) {
        file.Abandon();
        return FlashOutcome::Declined;
    }
    std::unique_ptr<DebuggerLine> line = h_.link.Debugger();
    ProgrammingFlag flag(h_.hold);
    flag.Set();
    const auto fail = [&](FlashOutcome outcome = FlashOutcome::Failed) {
        file.Abandon();
        if (line != nullptr) line->Restore();
        flag.Release();
        h_.view.RequestRepaint();
        return outcome;
    };
    if (line == nullptr) {
        Error("Error Reading FLASH data - check FLASH cable");
        return fail();
    }
    const DebuggerConnection c = ConnectDebugger(*line);
    if (!c.ok || c.kind == DebuggerKind::None) {
        Error("Error Reading FLASH data - check FLASH cable");
        return fail();
    }
    Status(core::Format("Connected: OCD VERSION: %d.%d", c.version[1], c.version[2]));
    const bool bits16 = c.kind == DebuggerKind::Bits16;
    const int banks = bits16 ? 2 : 1;
    ProgressScope progress(h_.progress, banks * 4096);
    file.Write(core::Format("%s%c", bits16 ? "[KZLZ16FLASH]" : "[KZLFLASH]", '\n'));
    std::array<std::uint8_t, 16> data{};
    int done = 0;
    for (int bank = 0; bank < banks; ++bank) {
        if (bank == 1) file.Write(core::Format("%s%c", ":020000040001F9", '\n'));
        for (std::uint32_t address = 0; address < 0x10000; address += 16) {
            const std::string title = bits16 ? core::Format("Flash Reading - %d%04X", bank, address)
                                             : core::Format("Flash %04X", address);
            if (!Step(done, title)) {
                LeaveDebugMode(*line, c.kind);
                Status("Flash read-back cancelled - nothing was saved");
                return fail(FlashOutcome::Cancelled);
            }
            if (!ReadMemory16Bytes(*line, c.kind, static_cast<std::uint8_t>(bank),
                                   static_cast<std::uint16_t>(address), data)) {
                Error("Error Reading FLASH data - check FLASH cable");
                return fail();
            }
            file.Write(core::Format(
                "%s%c", ReadBackRecord(static_cast<std::uint16_t>(address), data).c_str(), '\n'));
            ++done;
        }
    }
    file.Write(core::Format("%s%c", ":00000001FF", '\n'));
    LeaveDebugMode(*line, c.kind);
    line->Restore();
    flag.Release();
    if (!file.Close()) {
        Error("Could not Close File");
        h_.view.RequestRepaint();
        return FlashOutcome::Failed;
    }
    Status("FLASH Completed: ");
    h_.view.RequestRepaint();
    return FlashOutcome::Done;
}

}  // namespace pelor::unit
