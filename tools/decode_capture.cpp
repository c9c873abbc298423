// pelor-decode: runs the dashboard's decoders over a capture and prints every value applied.
//
//   pelor-decode [--project FILE.cdp] [--binary | --text [serial|tcp|usb]] [--page N]
//                [--read-size N] [--time-source N] [--switch-bank N] CAPTURE
//   pelor-decode --convert LOG.txt
//
// --convert turns a TXT capture log into a CSV table beside it (LOG.csv), one column pair
// (value, level) per transducer, and prints the outcome.
//
// A binary capture holds NMEA 2000 adapter frames (".ebl" logs; also ".ngt1", ".dle"); it is
// decoded as reads of --read-size bytes (0, the default: the whole capture as one read), each
// read as the adapter reader decodes it. The capture is streamed, so memory does not grow with
// its size. Any other capture is a text log of "$IIXDR," and "$PKZLN," sentences, one a line,
// each line decoded alone. With --text the capture is instead handed, read by read, to the
// reader pass of the named text link (serial when none is named), in reads of --read-size bytes
// (default: that link's default buffer size), so the output shows what the dashboard would.
//
// With a project, its options give the channels' NMEA 2000 sources, calibration and alarms,
// its labels and pages the rest; without one, channel c takes the field 0 of formatter group
// c + 1 (channel 15 the apparent wind angle) and no calibration.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/prompt.h"
#include "core/view.h"
#include "decode/channel_context.h"
#include "decode/channel_store.h"
#include "decode/context_tables.h"
#include "decode/n2k_binary.h"
#include "decode/n2k_text.h"
#include "decode/reader_pass.h"
#include "decode/transducer_sentences.h"
#include "display/display.h"
#include "links/connection_kind.h"
#include "logs/log_conversion.h"
#include "tables/project_file.h"
#include "tables/project_tables.h"

namespace {

using namespace pelor;

// Messages of the table loaders go to standard error; questions are answered No.
class StderrPrompt : public core::Prompt {
public:
    core::Answer Message(std::string_view text, std::string_view caption,
                         core::MessageButtons buttons) override {
        std::cerr << caption << ": " << text << "\n";
        return buttons == core::MessageButtons::YesNo ? core::Answer::No : core::Answer::Ok;
    }
    std::optional<std::string> ChooseFile(const core::FileDialogRequest&) override {
        return std::nullopt;
    }
};

struct Options {
    std::string capture;
    std::string convert;
    std::string project;
    std::optional<bool> binary;
    std::optional<decode::LinkKind> textLink;  // --text: the link whose reader pass runs
    int page = 0;
    std::size_t readSize = 0;
    int timeSource = 0;
    int switchBank = -1;
};

void Usage() {
    std::cerr << "usage: pelor-decode [--project FILE.cdp] [--binary | --text [serial|tcp|usb]]\n"
                 "                    [--page N] [--read-size N] [--time-source N]\n"
                 "                    [--switch-bank N] CAPTURE\n"
                 "       pelor-decode --convert LOG.txt\n";
}

std::optional<Options> ParseArguments(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--convert" && hasValue) {
            options.convert = argv[++i];
        } else if (arg == "--binary") {
            options.binary = true;
        } else if (arg == "--text") {
            options.binary = false;
            options.textLink = decode::LinkKind::Serial;
            const std::string_view link = hasValue ? argv[i + 1] : "";
            if (link == "serial" || link == "tcp" || link == "usb") {
                ++i;
                options.textLink = link == "tcp"   ? decode::LinkKind::Tcp
                                   : link == "usb" ? decode::LinkKind::Usb
                                                   : decode::LinkKind::Serial;
            }
        } else if (arg == "--no-project") {
            options.project.clear();
        } else if (arg == "--project" && hasValue) {
            options.project = argv[++i];
        } else if (arg == "--page" && hasValue) {
            options.page = std::atoi(argv[++i]) & 0x0F;
        } else if (arg == "--read-size" && hasValue) {
            options.readSize = static_cast<std::size_t>(std::strtoul(argv[++i], nullptr, 10));
        } else if (arg == "--time-source" && hasValue) {
            options.timeSource = std::atoi(argv[++i]);
        } else if (arg == "--switch-bank" && hasValue) {
            options.switchBank = std::atoi(argv[++i]);
        } else if (!arg.empty() && arg[0] != '-' && options.capture.empty()) {
            options.capture = std::string(arg);
        } else {
            return std::nullopt;
        }
    }
    if (!options.convert.empty())
        return options.capture.empty() ? std::optional(options) : std::nullopt;
    if (options.capture.empty()) return std::nullopt;
    if (!options.binary) {
        const auto dot = options.capture.rfind('.');
        const std::string ext = dot == std::string::npos ? "" : options.capture.substr(dot);
        options.binary = ext == ".ebl" || ext == ".ngt1" || ext == ".dle" || ext == ".EBL";
    }
    return options;
}

// Printable form of a value: other bytes as \xHH.
std::string Printable(std::string_view text) {
    std::string out;
    for (const char ch : text) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x20 && b < 0x7F && ch != '\\' && ch != '"') {
            out += ch;
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", b);
            out += hex;
        }
    }
    return out;
}

struct Tables {
    tables::ProjectTables project;
    decode::PageBytes labelMode{};
    decode::PageBytes labelCell{};
    decode::Grid grid{};
};

bool LoadTables(const Options& options, Tables& t) {
    auto& opts = t.project.options;
    if (options.project.empty()) {
        for (std::size_t c = 0; c < 16; ++c) {
            const int group = c < 15 ? static_cast<int>(c) + 1 : 8;
            opts[256 + 2 * c] = static_cast<std::uint8_t>(group << 4);
            opts[257 + 2 * c] = c < 15 ? 0 : 1;
            char label[16];
            std::snprintf(label, sizeof label, "CHAN%02zu  ", c);
            t.project.labelSettings.LabelStrings[c] = std::string(label, 8);
            for (std::size_t i = 0; i < 8; ++i)
                t.project.labels[c * 8 + i] = static_cast<std::uint8_t>(label[i]);
            t.labelMode[0][c] = 1;
        }
        return true;
    }
    StderrPrompt prompt;
    tables::Project project;
    const std::string& path = options.project;
    const auto slash = path.rfind('/');
    std::string directory = slash == std::string::npos ? tables::CurrentDirectoryWithSlash()
                                                       : path.substr(0, slash + 1);
    if (!directory.empty() && directory[0] != '/')
        directory = tables::CurrentDirectoryWithSlash() + directory;
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (tables::LoadProject(prompt, project, directory, name, false).empty()) {
        std::cerr << "pelor-decode: " << path << " is not a project file\n";
        return false;
    }
    // Table files are bare names in the project directory, the working directory of the program.
    if (project.directory.empty()) project.directory = directory;
    if (::chdir(project.directory.c_str()) != 0) {
        std::cerr << "pelor-decode: cannot enter " << project.directory << "\n";
        return false;
    }
    project.logFile = project.logFile.empty() ? "capture.csv" : project.logFile;  // no dialog
    tables::LoadStartupTables(prompt, project, t.project);
    for (std::size_t p = 0; p < 16; ++p) {
        for (std::size_t c = 0; c < 16; ++c) {
            t.labelMode[p][c] = t.project.pages[16 * p + c];
            t.labelCell[p][c] = t.project.pages[256 + 16 * p + c];
        }
    }
    return true;
}

// The default read of each text link: its default buffer size setting (the USB link reads at
// most 790 bytes of it).
std::size_t DefaultReadSize(decode::LinkKind link) {
    return static_cast<std::size_t>(links::TextConnectionKind(link).defaultBufferSize);
}

// Reads a capture piece by piece. Refuses what is no readable file with a message.
class Capture {
public:
    ~Capture() {
        if (file_ != nullptr) std::fclose(file_);
    }
    bool Open(const std::string& path) {
        path_ = path;
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0) return Fail(std::strerror(errno));
        if (S_ISDIR(st.st_mode)) return Fail("is a directory, not a capture file");
        file_ = std::fopen(path.c_str(), "rb");
        if (file_ == nullptr) return Fail(std::strerror(errno));
        return true;
    }
    // Up to `size` bytes into `buffer`; 0 at the end. A read error is reported and ends it.
    std::size_t Read(std::vector<std::uint8_t>& buffer, std::size_t size) {
        buffer.resize(failed_ ? 0 : size);
        const std::size_t n = failed_ ? 0 : std::fread(buffer.data(), 1, size, file_);
        if (n < size && !failed_ && std::ferror(file_)) {
            Fail(std::strerror(errno));
            failed_ = true;
        }
        buffer.resize(n);
        return n;
    }
    bool Failed() const { return failed_; }

private:
    bool Fail(const char* why) const {
        std::cerr << "pelor-decode: cannot read " << path_ << ": " << why << "\n";
        return false;
    }
    std::string path_;
    std::FILE* file_ = nullptr;
    bool failed_ = false;
};

// The pieces a read is fed in: memory stays bounded whatever the read size.
constexpr std::size_t kPiece = std::size_t{64} * 1024;

// Adapter frames, read by read; each read is decoded as one DecodeN2KBinary call would.
void DecodeFrames(Capture& capture, std::size_t readSize, decode::ChannelStore& store,
                  const decode::ChannelContext& context, std::string& where) {
    std::lock_guard<std::mutex> lock(store.mutex);
    decode::N2KBinaryStream stream;
    std::vector<std::uint8_t> piece;
    long packets = 0;
    int reads = 0;
    bool more = true;
    while (more) {
        // One read: readSize bytes (all that is left when 0), fed in pieces.
        decode::N2KBatch batch;
        std::size_t inRead = 0;
        bool any = false;
        for (;;) {
            const std::size_t want = readSize == 0 ? kPiece : std::min(kPiece, readSize - inRead);
            if (want == 0) break;
            if (capture.Read(piece, want) == 0) {
                more = false;
                break;
            }
            if (!any) where = "read " + std::to_string(++reads) + ":";
            any = true;
            inRead += piece.size();
            stream.Feed(store, context, piece, batch);
        }
        if (!any) break;
        stream.Finish(store, context, batch);
        decode::ApplyN2KBatchStatus(store, batch);
        packets += batch.N2KPackets;
    }
    std::printf("packets %ld\n", packets);
}

// A text log, each line decoded alone.
void DecodeLines(Capture& capture, decode::ChannelStore& store,
                 const decode::ChannelContext& context, std::string& where) {
    std::lock_guard<std::mutex> lock(store.mutex);
    std::vector<std::uint8_t> piece;
    std::string line;
    int number = 0;
    const auto decodeLine = [&] {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const bool transducer = line.find("$IIXDR") != std::string::npos;
        if (!transducer && line.find("$PKZLN,") == std::string::npos) return;
        where = "line " + std::to_string(number) + ":";
        store.ReceiveText = line + "\r\n";
        if (transducer) decode::DecodeTransducerSentences(store, context, store.ReceiveText);
        if (store.ReceiveText.find("$PKZLN,") != std::string::npos) {
            decode::DecodeEncapsulatedN2K(store, context, store.ReceiveText);
        }
    };
    bool open = false;  // a line has begun and not yet ended
    while (capture.Read(piece, kPiece) > 0) {
        for (const std::uint8_t b : piece) {
            if (b == '\n') {
                decodeLine();
                line.clear();
                open = false;
            } else {
                line += static_cast<char>(b);
                open = true;
            }
        }
    }
    if (open) decodeLine();
}

// A text capture through the reader pass of `link`, read by read, as that link's reader hands
// it over.
void RunReaderPass(Capture& capture, decode::LinkKind link, std::size_t readSize,
                   decode::ChannelStore& store, const decode::ChannelContext& context,
                   std::string& where) {
    const std::size_t size = readSize == 0 ? DefaultReadSize(link) : readSize;
    std::vector<std::uint8_t> read;
    int reads = 0;
    while (capture.Read(read, size) > 0) {
        where = "read " + std::to_string(++reads) + ":";
        decode::ReaderPass(
            store, context,
            std::string_view(reinterpret_cast<const char*>(read.data()), read.size()), link);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = ParseArguments(argc, argv);
    if (!options) {
        Usage();
        return 2;
    }
    if (!options->convert.empty()) {
        const logs::ConversionResult r = logs::ConvertTextLog(options->convert);
        (r.ok ? std::cout : std::cerr) << r.caption << ": " << r.message << "\n";
        return r.ok ? 0 : 1;
    }
    Capture capture;
    if (!capture.Open(options->capture)) return 1;
    auto tables = std::make_unique<Tables>();
    if (!LoadTables(*options, *tables)) return 1;

    auto store = std::make_unique<decode::ChannelStore>();
    core::RecordingView view;
    decode::ChannelContext context;
    decode::AttachTables(context, tables->project, tables->labelMode, tables->labelCell);
    context.currentPage = options->page;
    context.gridX = &tables->grid;
    context.gridY = &tables->grid;
    context.n2kTimeSource = options->timeSource;
    context.switchBankInstance = options->switchBank;
    context.view = &view;

    std::string where;
    context.valueApplied = [&](int channel, std::string_view value, std::string_view work) {
        std::printf("%s ch %2d \"%s\" -> \"%s\"\n", where.c_str(), channel,
                    Printable(value.substr(0, 8)).c_str(), Printable(work).c_str());
    };

    context.messageDecoded = [&](std::uint32_t pgn, std::int64_t time) {
        std::printf("%s pgn %u time %lld\n", where.c_str(), pgn, static_cast<long long>(time));
    };

    if (*options->binary) {
        DecodeFrames(capture, options->readSize, *store, context, where);
    } else if (options->textLink) {
        // The unit's screen records are parsed by the display type of the project, as the
        // dashboard does; they take their text out of ReceiveText.
        auto display = std::make_unique<display::Display>();
        display->ApplyLayout(*store, tables->project.options[6], 100, false);
        context.parseScreenRecords = [&display](decode::ChannelStore& s) {
            display->ParseScreenRecords(s.ReceiveText, s);
        };
        RunReaderPass(capture, *options->textLink, options->readSize, *store, context, where);
    } else {
        DecodeLines(capture, *store, context, where);
    }
    if (capture.Failed()) return 1;
    std::lock_guard<std::mutex> lock(store->mutex);
    std::printf("caption %s%s\n", store->m_strTitlePrefix.c_str(), store->m_strLinkStatus.c_str());
    return 0;
}
