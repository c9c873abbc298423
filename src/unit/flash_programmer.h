#pragma once
// The FLASH command's work once a file is chosen: programs a table or Intel HEX file through
// the unit's firmware over the open link, or a flash image through the controller's on-chip
// debugger, or reads the controller's flash back into a file. Every step reports through the
// prompt with the unit's own texts; the programming flag holds the link's reader off the line
// while the exchange runs, and every way out clears it and gives the line back its own speed.
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "core/link_hold.h"
#include "core/prompt.h"
#include "core/view.h"
#include "unit/debugger_line.h"
#include "unit/flash_file.h"
#include "unit/unit_commands.h"

namespace pelor::unit {

// What programming needs of the open link.
class FlashLink {
public:
    virtual ~FlashLink() = default;
    virtual bool Connected() = 0;
    // Writes through the link; with `expectReply` the unit's 16-character answer is read.
    // 0 on success.
    virtual int Send(std::string_view bytes, bool expectReply) = 0;
    virtual std::string Reply() = 0;
    // The debugger line of the open link (serial port or USB converter), or null for link
    // kinds that carry no debugger.
    virtual std::unique_ptr<DebuggerLine> Debugger() = 0;
};

// Progress of a long operation; a person may cancel it.
class FlashProgress {
public:
    virtual ~FlashProgress() = default;
    virtual void Begin(int total) = 0;
    // `done` of `total` steps, with the text the title shows. False: the user cancelled.
    virtual bool Step(int done, std::string_view title) = 0;
    virtual void End() = 0;
};

enum class FlashOutcome { Done, Failed, Declined, Cancelled };

struct FlashHooks {
    core::Prompt& prompt;
    core::View& view;
    FlashLink& link;
    // Held while a file is being programmed or read back; the link's readers skip their passes.
    core::LinkHold& hold;
    FlashProgress* progress = nullptr;
    // Clears the live display before each record.
    std::function<void()> clearDisplay;
    // After a file was programmed: page 0, live positions reset, title prefix + " Page 0".
    std::function<void()> finished;
};

// ":00000001FF\r\n" and two zero bytes.
inline constexpr std::string_view kEndRecord{":00000001FF\r\n\0\0", 15};
// The address text that asks for a read-back instead of programming.
inline constexpr std::string_view kReadBackAddress = "FFFF";

class FlashProgrammer {
public:
    explicit FlashProgrammer(FlashHooks hooks) : h_(std::move(hooks)) {}

    // Address text "FFFF" reads the flash back into `path`; anything else programs `path`.
    FlashOutcome Run(const std::string& path, std::string_view addressText);
    FlashOutcome ProgramFile(const std::string& path, std::string_view addressText);
    FlashOutcome ReadBack(const std::string& path);

private:
    FlashOutcome ThroughFirmware(const FlashPlan& plan, const std::string& path);
    FlashOutcome ThroughDebugger(const FlashPlan& plan);
    bool Step(int done, std::string_view title);
    void Error(std::string_view text);
    void Status(std::string_view text);

    FlashHooks h_;
};

}  // namespace pelor::unit
