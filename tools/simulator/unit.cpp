#include "simulator/unit.h"

#include <cstdio>

namespace pelor::sim {

Unit::Unit(int bankInstance, FlashFault flashFault)
    : flash_(65536, 0xFF), written_(65536, true), flashFault_(flashFault) {
    state_.bankInstance = bankInstance;
}

std::string Unit::Handle(const Command& c) {
    char reply[32] = {};
    switch (c.kind) {
        case CommandKind::NextPage:
            state_.page = (state_.page + 1) % 8;
            return {};
        case CommandKind::Hold:
            state_.hold = !state_.hold;
            return {};
        case CommandKind::PassThrough:
            state_.passThrough = true;
            return {};
        case CommandKind::Program:
            if (flashFault_ == FlashFault::Sync) return "BUSY           \r";
            programming_ = true;
            return "FLASH READY    \r";
        case CommandKind::EraseRange:
            if (!programming_) return {};
            firstPage_ = c.firstPage;
            lastPage_ = c.lastPage;
            std::snprintf(reply, sizeof reply, "RANGE %02X-%02X    \r", firstPage_, lastPage_);
            return reply;
        case CommandKind::Erase:
            if (!programming_) return {};
            if (flashFault_ == FlashFault::Erase) return "ERASE FAILED   \r";
            for (int page = firstPage_; page <= lastPage_ && page < 128; ++page)
                for (int i = 0; i < 512; ++i) {
                    const std::size_t at =
                        static_cast<std::size_t>(page) * 512 + static_cast<std::size_t>(i);
                    flash_[at] = 0xFF;
                    written_[at] = false;
                }
            std::snprintf(reply, sizeof reply, "ERASED %02X-%02X   \r", firstPage_, lastPage_);
            return reply;
        case CommandKind::Record:
            if (!programming_) return {};
            if (c.recordType == 1) {  // end of file: programming is over
                programming_ = false;
                return {};
            }
            if (!c.checksumOk) return "BAD CHECKSUM   \r";
            if (flashFault_ == FlashFault::Address) return "WRITE FAILED   \r";
            if (flashFault_ == FlashFault::Close && recordsWritten_ >= 1) {
                wantsClose_ = true;
                return {};
            }
            if (c.recordType == 0) {
                for (std::size_t i = 0; i < c.data.size(); ++i)
                    if (written_[(c.address + i) & 0xFFFF]) {
                        ++refusedWrites_;
                        return "WRITE REFUSED  \r";
                    }
                for (std::size_t i = 0; i < c.data.size(); ++i) {
                    flash_[(c.address + i) & 0xFFFF] = c.data[i];
                    written_[(c.address + i) & 0xFFFF] = true;
                }
                ++recordsWritten_;
            }
            return "WROTE 0x" + c.addressText + " OK\r";
        case CommandKind::Switch:
            if (c.bank >= 0 && c.bank != state_.bankInstance) return {};
            for (std::size_t i = 0; i < 12; ++i)
                if (c.outputs[i] >= 0) state_.outputs[i] = c.outputs[i] == 1;
            return {};
    }
    return {};
}

std::string Describe(const Command& c) {
    switch (c.kind) {
        case CommandKind::NextPage:
            return "$PKZLC,N";
        case CommandKind::Hold:
            return "hold";
        case CommandKind::PassThrough:
            return "$PKZLC,Z";
        case CommandKind::Program:
            return "$PKZLC,P";
        case CommandKind::Erase:
            return "$PKZLC,E";
        case CommandKind::EraseRange: {
            char text[32];
            std::snprintf(text, sizeof text, "erase range %02X-%02X", c.firstPage, c.lastPage);
            return text;
        }
        case CommandKind::Record: {
            char text[48];
            std::snprintf(text, sizeof text, "record type %02X at %s%s", c.recordType,
                          c.addressText.c_str(), c.checksumOk ? "" : " (bad checksum)");
            return text;
        }
        case CommandKind::Switch: {
            std::string text = c.bank < 0 ? "switch" : "switch bank " + std::to_string(c.bank);
            for (std::size_t i = 0; i < 12; ++i)
                if (c.outputs[i] >= 0 && c.bank < 0)
                    text += " " + std::to_string(i) + (c.outputs[i] ? " on" : " off");
            if (c.bank >= 0) {
                text += " ";
                for (std::size_t i = 0; i < 12; ++i)
                    text += c.outputs[i] < 0 ? '-' : c.outputs[i] ? '1' : '0';
            }
            return text;
        }
    }
    return "?";
}

}  // namespace pelor::sim
