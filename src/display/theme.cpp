#include "display/theme.h"

#include <cstdio>

#include "core/format.h"
#include "core/text_file.h"

namespace pelor::display {

namespace {

enum class ValueLine { Missing, Parse, Keep };

ValueLine Judge(const std::string& line) {
    const std::size_t open = line.find('[');
    if (open == std::string::npos) return ValueLine::Missing;
    return open == 0 ? ValueLine::Parse : ValueLine::Keep;
}

// Three characters at `at` as (c1 * 100 + c2 * 10 + c3) - 5328: "007" gives 7. Characters
// past the end of the line count as 0.
std::int32_t Number(const std::string& line, std::size_t at) {
    auto c = [&](std::size_t i) -> int {
        return at + i < line.size() ? static_cast<unsigned char>(line[at + i]) : 0;
    };
    return c(0) * 100 + c(1) * 10 + c(2) - 5328;
}

char At(const std::string& line, std::size_t at) {
    return at < line.size() ? line[at] : '\0';
}

std::uint32_t Colour(const std::string& line) {
    return Rgb(Number(line, 1) & 0xFF, Number(line, 5) & 0xFF, Number(line, 9) & 0xFF);
}

// The text between the opening "[" and the first "]"; false when there is no "]".
bool Bracketed(const std::string& line, std::string& out) {
    const std::size_t close = line.find(']');
    if (close == std::string::npos) return false;
    out = line.substr(1, close - 1);
    return true;
}

bool FileExists(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return false;
    std::fclose(f);
    return true;
}

class ThemeReader {
public:
    ThemeReader(core::Prompt& prompt, const std::string& directory)
        : prompt_(prompt), directory_(directory) {}

    bool Open(const std::string& path) { return file_.Open(path, core::TextFile::Mode::Read); }
    bool OpenMemory(std::string_view bytes, const std::string& name) {
        return file_.OpenMemory(bytes, name);
    }
    bool Read(std::string& line) {
        if (!file_.ReadLine(line, kThemeLineBuffer)) return false;
        ++lineNumber_;
        return true;
    }
    // The number (from 1) of the last line read.
    int LineNumber() const { return lineNumber_; }
    bool Fail(const std::string& message) {
        prompt_.Message(message, "Error");
        return false;
    }
    const std::string& Directory() const { return directory_; }

private:
    core::Prompt& prompt_;
    std::string directory_;
    core::TextFile file_;
    int lineNumber_ = 0;
};

// "[name.bmp]": the name is everything after "[" up to and including the "p" of ".bmp]".
enum class BitmapResult { Ok, NoBracket, NoBmp, NoFile, Kept };

BitmapResult ParseBitmap(const std::string& line, const std::string& directory, std::string& name,
                         std::string& path) {
    switch (Judge(line)) {
        case ValueLine::Missing:
            return BitmapResult::NoBracket;
        case ValueLine::Keep:
            return BitmapResult::Kept;
        case ValueLine::Parse:
            break;
    }
    const std::size_t end = line.find(".bmp]");
    if (end == std::string::npos) return BitmapResult::NoBmp;
    name = line.substr(1, end + 3);
    if (!FileExists(directory + name)) return BitmapResult::NoFile;
    path = directory + name;
    return BitmapResult::Ok;
}

void ReadBackgrounds(ThemeReader& reader, Theme& theme) {
    std::string label;
    std::string value;
    for (int entry = 1; entry <= kThemeBackgroundCount; ++entry) {
        std::string& path = theme.backgroundPaths[entry];
        if (!reader.Read(label) || !reader.Read(value)) {
            reader.Fail("Error Reading from ThemeDef file");
            path.clear();
            continue;
        }
        std::string name;
        std::string found;
        switch (ParseBitmap(value, reader.Directory(), name, found)) {
            case BitmapResult::Ok:
                path = found;
                break;
            case BitmapResult::Kept:
                break;
            case BitmapResult::NoBracket:
                reader.Fail("Wrong format - missing [BackGroundBitmap]");
                path.clear();
                break;
            case BitmapResult::NoBmp:
                reader.Fail("Wrong format - missing [BackGroundBitmap.bmp]");
                path.clear();
                break;
            case BitmapResult::NoFile:
                reader.Fail(core::Format("Theme BMP File does not exist - %s", name.c_str()));
                path.clear();
                break;
        }
    }
}

// One entry of a mode style: reads its two lines and judges the value line. Returns false
// (after the message) when the entry cannot be used; `parse` tells whether to take values.
bool ReadEntry(ThemeReader& reader, std::string& value, bool& parse, const char* missing,
               const char* unreadable = "Error Reading from file") {
    std::string label;
    if (!reader.Read(label) || !reader.Read(value)) return reader.Fail(unreadable);
    const ValueLine judged = Judge(value);
    if (judged == ValueLine::Missing) return reader.Fail(missing);
    parse = judged == ValueLine::Parse;
    return true;
}

bool ReadFontFace(ThemeReader& reader, std::string& face) {
    std::string value;
    bool parse = false;
    if (!ReadEntry(reader, value, parse, "Wrong format - missing [FONTNAME]")) return false;
    if (parse && !Bracketed(value, face)) return reader.Fail("Wrong format - missing [FONTNAME]");
    return true;
}

bool ReadNumber(ThemeReader& reader, std::int32_t& number) {
    std::string value;
    bool parse = false;
    if (!ReadEntry(reader, value, parse, "Wrong format - missing [XXX]")) return false;
    if (parse) number = Number(value, 1);
    return true;
}

bool ReadColour(ThemeReader& reader, std::uint32_t& colour) {
    std::string value;
    bool parse = false;
    if (!ReadEntry(reader, value, parse, "Wrong format - missing [RRR,GGG,BBB]")) return false;
    if (parse) colour = Colour(value);
    return true;
}

// A line's text for a message: without its line end.
std::string Shown(std::string line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    return line;
}

// Reads the eleven entries of one style into `style`. `refused` is set (after its message)
// when the picture size is out of bounds: the caller then gives the style its built-in record.
bool ReadStyle(ThemeReader& reader, GaugeStyle& style, bool& refused) {
    std::string label;
    std::string value;
    bool parse = false;

    // 1. Picture strip.
    if (!reader.Read(label) || !reader.Read(value)) {
        return reader.Fail("Error Reading from ThemeDef file");
    }
    std::string name;
    std::string found;
    switch (ParseBitmap(value, reader.Directory(), name, found)) {
        case BitmapResult::Ok:
            style.pictureFile = found;
            break;
        case BitmapResult::Kept:
            break;
        case BitmapResult::NoBracket:
            return reader.Fail("Wrong format - missing [LargeDialBItmap]");
        case BitmapResult::NoBmp:
            return reader.Fail("Wrong format - missing [LargeDialBItmap.bmp]");
        case BitmapResult::NoFile:
            return reader.Fail(core::Format("Theme BMP File does not exist - %s", name.c_str()));
    }

    // 2. Mode name.
    if (!ReadEntry(reader, value, parse, "Wrong format - missing [GRAPHICNAME]")) return false;
    if (parse && !Bracketed(value, style.name)) {
        return reader.Fail("Wrong format - missing [GRAPHICNAME]");
    }

    // 3. Frame width, height, count and, when present, frame offset.
    if (!ReadEntry(reader, value, parse, "Wrong format - missing [XXX,YYY]")) return false;
    if (parse) {
        if (value.find(',') == std::string::npos) {
            return reader.Fail("Wrong format - missing [XXX,YYY,ZZZ]");
        }
        style.width = Number(value, 1);
        style.height = Number(value, 5);
        style.frameCount = Number(value, 9);
        if (At(value, 12) == ',') style.frameOffset = Number(value, 13);
        if (!StripSizeAllowed(style.width, style.height, style.frameCount)) {
            refused = true;
            reader.Fail(core::Format(
                "Picture size out of range in theme line %d: %s - a frame may be 1 to %d wide "
                "and 1 to %d high, a strip 1 to %d frames and %lld pixels. The built-in look is "
                "used for this style.",
                reader.LineNumber(), Shown(value).c_str(), kMaxFrameWidth, kMaxFrameHeight,
                kMaxFrameCount, static_cast<long long>(kMaxStripPixels)));
        }
    }

    // 4. Value position and, when present, multiplier and divisor.
    if (!ReadEntry(reader, value, parse, "Wrong format - missing [XXX,YYY]")) return false;
    if (parse) {
        if (value.find(',') == std::string::npos) {
            return reader.Fail("Wrong format - missing [XXX,YYY]");
        }
        style.valueX = Number(value, 1);
        style.valueY = Number(value, 5);
        if (At(value, 8) == ',') {
            style.valueMultiplier = Number(value, 9);
            if (At(value, 12) == ',') style.valueDivisor = Number(value, 13);
        }
    }

    // 5 to 7. Value font and colour.
    if (!ReadFontFace(reader, style.valueFontFace)) return false;
    if (!ReadNumber(reader, style.valueFontHeight)) return false;
    if (!ReadColour(reader, style.valueColor)) return false;

    // 8. Label position.
    if (!ReadEntry(reader, value, parse, "Wrong format - missing [XXX,YYY]")) return false;
    if (parse) {
        style.labelX = Number(value, 1);
        style.labelY = Number(value, 5);
    }

    // 9 to 11. Label font and colour.
    if (!ReadFontFace(reader, style.labelFontFace)) return false;
    if (!ReadNumber(reader, style.labelFontHeight)) return false;
    return ReadColour(reader, style.labelColor);
}

bool ReadGridColour(ThemeReader& reader, Theme& theme) {
    std::string label;
    std::string value;
    if (!reader.Read(label)) return reader.Fail("Position Information Missing from Theme File");
    if (!reader.Read(value)) return reader.Fail("Error Reading from file");
    switch (Judge(value)) {
        case ValueLine::Missing:
            return reader.Fail("Wrong format - missing [XXX]");
        case ValueLine::Keep:
            return true;
        case ValueLine::Parse:
            break;
    }
    if (value.find(']') == std::string::npos) {
        return reader.Fail("Wrong format - missing [RRR,GGG,BBB]");
    }
    theme.gridColor = Colour(value);
    return true;
}

bool ReadPosition(ThemeReader& reader, int position, ThemePosition& record) {
    std::string line;
    if (!reader.Read(line)) return reader.Fail("Position Information Missing from Theme File");
    if (!reader.Read(line)) return reader.Fail("Error Reading from file");
    int index = position;
    switch (Judge(line)) {
        case ValueLine::Missing:
            return reader.Fail("Wrong format - missing [XXX]");
        case ValueLine::Keep:
            break;
        case ValueLine::Parse:
            if (line.find(']') == std::string::npos) {
                return reader.Fail("Wrong format - missing [XXX]");
            }
            index = Number(line, 1);
            break;
    }
    if (index != position) return false;  // out of step: ends the load without a message
    for (int row = 0; row < 16; ++row) {
        if (!reader.Read(line)) return reader.Fail("Error Reading from file");
        const ValueLine judged = Judge(line);
        if (judged == ValueLine::Missing) return reader.Fail("Wrong format - missing [XXX]");
        if (judged == ValueLine::Keep) continue;
        if (line.find(']') == std::string::npos) {
            return reader.Fail("Wrong format - missing [XXX,XXX,XXX,XXX,XXX,XXX]");
        }
        auto& target = row < 8 ? record.first[row] : record.second[row - 8];
        for (std::size_t i = 0; i < 6; ++i) target[i] = Number(line, 1 + 4 * i);
    }
    return true;
}

}  // namespace

Theme DefaultTheme() {
    Theme theme;
    theme.modeNames = {"LargeDial", "SmallDial", "HalfDial",  "HBars",    "VBars",    "HugeText",
                       "LargeText", "TEXT",      "SmallText", "--------", "Indicator"};
    return theme;
}

std::string ThemeDirectory(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

namespace {

bool ReadTheme(ThemeReader& reader, const std::string& path, Theme& theme, GaugeStyles& styles) {
    std::string line;
    if (!reader.Read(line)) return reader.Fail("Error Reading from file");
    if (line.find("[Pelor_Theme_Defination_file]") == std::string::npos) {
        return reader.Fail(core::Format("Wrong File Format -  %s", path.c_str()));
    }
    if (!reader.Read(line)) return reader.Fail("Error Reading from file");
    if (line.find("[Version 1.1]") == std::string::npos) {
        return reader.Fail(core::Format("Wrong Version [Version 1.1] -  %s", path.c_str()));
    }

    ReadBackgrounds(reader, theme);

    bool whole = true;
    const GaugeStyles builtIn = DefaultGaugeStyles();
    for (int f = 0; f < kStyleCount; ++f) {
        const int index = kThemeStyleOrder[f];
        GaugeStyle& style = styles[index];
        bool refused = false;
        const bool read = ReadStyle(reader, style, refused);
        if (refused) {
            style = builtIn[index];
            whole = false;
        }
        if (!read) return false;
        theme.modeNames[f] = style.name;
    }

    if (!ReadGridColour(reader, theme)) return false;
    for (int p = 0; p < kThemePositionCount; ++p) {
        if (!ReadPosition(reader, p, theme.positions[p])) return false;
    }
    return whole;
}

}  // namespace

bool LoadTheme(const std::string& path, core::Prompt& prompt, Theme& theme, GaugeStyles& styles) {
    ThemeReader reader(prompt, ThemeDirectory(path));
    if (!reader.Open(path)) return false;
    return ReadTheme(reader, path, theme, styles);
}

bool LoadThemeText(std::string_view text, const std::string& path, core::Prompt& prompt,
                   Theme& theme, GaugeStyles& styles) {
    ThemeReader reader(prompt, ThemeDirectory(path));
    if (!reader.OpenMemory(text, path)) return false;
    return ReadTheme(reader, path, theme, styles);
}

bool StripSizeAllowed(std::int32_t width, std::int32_t height, std::int32_t frames) {
    if (width < 1 || width > kMaxFrameWidth) return false;
    if (height < 1 || height > kMaxFrameHeight) return false;
    if (frames < 1 || frames > kMaxFrameCount) return false;
    return std::int64_t{width} * height * frames <= kMaxStripPixels;
}

}  // namespace pelor::display
