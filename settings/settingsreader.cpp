#include "settings/settingsreader.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "settings/decimal.h"
#include "settings/settingsfields.h"

namespace trelvane {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

struct Item {
    std::string_view text;
    int line = 0;
    bool tooLong = false;  // longer than MaxValueLength: `text` holds its start
};

// Splits the bytes into values: a value ends at a comma or a line end, blanks
// before it are skipped, and double quotes around it are dropped.
class ItemScanner {
public:
    explicit ItemScanner(std::string_view bytes) : bytes_(bytes) {}

    // Next value, or nothing when the file has ended.
    std::optional<Item> next()
    {
        // A comma promises another value, even at the very end.
        if (pos_ >= bytes_.size() && !afterComma_)
            return std::nullopt;
        afterComma_ = false;

        // The scan stops one byte past the longest value, so a huge value costs nothing.
        const std::size_t valueStart = pos_;
        end_ = std::min(bytes_.size(), valueStart + MaxValueLength + 1);
        while (pos_ < end_ && isBlank(bytes_[pos_]))
            ++pos_;
        Item item;
        item.line = line_;

        if (pos_ < end_ && bytes_[pos_] == '"') {
            // A quoted value may hold commas; it cannot run past its line.
            const std::size_t start = ++pos_;
            while (pos_ < end_ && bytes_[pos_] != '"' && !isLineEnd(bytes_[pos_]))
                ++pos_;
            item.text = bytes_.substr(start, pos_ - start);
            skipToSeparator();  // whatever follows the closing quote is dropped
        } else {
            const std::size_t start = pos_;
            skipToSeparator();
            std::string_view text = bytes_.substr(start, pos_ - start);
            while (!text.empty() && isBlank(text.back()))
                text.remove_suffix(1);
            item.text = text;
        }
        if (pos_ - valueStart > MaxValueLength) {
            item.tooLong = true;
            return item;
        }

        if (pos_ < bytes_.size()) {
            if (bytes_[pos_] == ',') {
                ++pos_;
                afterComma_ = true;
            } else {
                // CR LF, LF and CR alone each end one line.
                if (bytes_[pos_] == '\r' && pos_ + 1 < bytes_.size() && bytes_[pos_ + 1] == '\n')
                    ++pos_;
                ++pos_;
                ++line_;
            }
        }
        return item;
    }

    int line() const { return line_; }

private:
    void skipToSeparator()
    {
        while (pos_ < end_ && bytes_[pos_] != ',' && !isLineEnd(bytes_[pos_]))
            ++pos_;
    }

    std::string_view bytes_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;  // where the scan of the current value stops
    int line_ = 1;
    bool afterComma_ = false;
};

std::string rangeProblem(std::string_view lo, std::string_view hi)
{
    std::string p = "must be between ";
    p += lo;
    p += " and ";
    p += hi;
    return p;
}

std::string rangeProblem(const FieldInfo &info)
{
    if (info.kind == FieldKind::Volume)
        return rangeProblem(formatDecimal(info.min / 100.0), formatDecimal(info.max / 100.0));
    return rangeProblem(formatInteger(info.min), formatInteger(info.max));
}

SettingsError makeError(const Item &item, const FieldInfo &info, std::string problem)
{
    return SettingsError{item.line, std::string(info.caption), std::string(item.text), std::move(problem)};
}

// Converts one value; on success stores it in the record.
std::optional<SettingsError> convert(const Item &item, const FieldInfo &info, ReadMode mode, GameSettings &s)
{
    const std::optional<double> number = parseDecimal(item.text);

    if (info.kind == FieldKind::KeyCode) {
        // Read as a 16-bit item: no number at all simply means 0 ("ESCAPE").
        if (!number) {
            setFieldValue(s, info.field, 0);
            return std::nullopt;
        }
        const auto code =
            roundToInteger(*number, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max());
        if (!code)
            return makeError(item, info, rangeProblem(info));
        setFieldValue(s, info.field, *code);
        return std::nullopt;
    }

    bool blank = true;
    for (char c : item.text)
        blank = blank && isBlank(c);
    if (blank) {
        // Typed items read an empty value as 0; text conversion cannot.
        if (mode == ReadMode::StartUp)
            return makeError(Item{{}, item.line}, info, "the value is empty; a number is expected");
        setFieldValue(s, info.field, 0);
        return std::nullopt;
    }
    if (!number)
        return makeError(item, info, "is not a number");

    // The type's limits, not the control's, decide here; checkRanges does the rest.
    std::int32_t lo = std::numeric_limits<std::int32_t>::min();
    std::int32_t hi = std::numeric_limits<std::int32_t>::max();
    double value = *number;
    if (info.kind == FieldKind::Toggle) {
        lo = std::numeric_limits<std::int16_t>::min();
        hi = std::numeric_limits<std::int16_t>::max();
    } else if (info.kind == FieldKind::Volume) {
        value *= 100.0;  // rounding, not truncation, brings .29 back to 29
    }
    const auto v = roundToInteger(value, lo, hi);
    if (!v)
        return makeError(item, info, rangeProblem(info));
    setFieldValue(s, info.field, *v);
    return std::nullopt;
}

std::string_view withoutColon(std::string_view caption)
{
    if (!caption.empty() && caption.back() == ':')
        caption.remove_suffix(1);
    return caption;
}

// Keeps an error box readable when a line holds something long or binary.
std::string printable(std::string_view text)
{
    constexpr std::size_t MaxShown = 40;
    std::string out;
    for (std::size_t i = 0; i < text.size() && i < MaxShown; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        out.push_back(c < 0x20 || c == 0x7F ? '?' : text[i]);
    }
    if (text.size() > MaxShown)
        out += "...";
    return out;
}

}  // namespace

std::string SettingsError::where() const
{
    std::string out = "line ";
    out += formatInteger(line);
    out += " (";
    out += withoutColon(caption);  // the label's colon would read as "(Complex Score:):"
    out += "): ";
    if (!found.empty()) {
        out += '"';
        out += printable(found);
        out += "\" ";
    }
    out += problem;
    return out;
}

ReadResult readSettings(std::string_view bytes, ReadMode mode)
{
    ReadResult result;
    ItemScanner scanner(bytes);
    for (std::size_t i = 0; i < SettingsFields.size(); ++i) {
        const FieldInfo &info = SettingsFields[i];
        const std::optional<Item> item = scanner.next();
        if (!item) {
            std::string problem = "the file ends here, but a value for ";
            problem += withoutColon(info.caption);
            problem += " is expected";
            result.error = SettingsError{scanner.line(), std::string(info.caption), {}, std::move(problem)};
            return result;
        }
        result.lines[i] = item->line;
        if (item->tooLong) {
            result.error =
                makeError(*item, info,
                          "is longer than " + formatInteger(static_cast<std::int64_t>(MaxValueLength)) + " characters");
            return result;
        }
        if (auto error = convert(*item, info, mode, result.settings)) {
            result.error = std::move(error);
            return result;
        }
    }
    // Anything after the last value is ignored.
    return result;
}

std::optional<SettingsError> checkRanges(const GameSettings &s, const ValueLines &lines)
{
    for (std::size_t i = 0; i < SettingsFields.size(); ++i) {
        const FieldInfo &info = SettingsFields[i];
        if (info.kind == FieldKind::KeyCode)
            continue;  // unknown key codes show as "ESCAPE" instead
        const std::int32_t v = fieldValue(s, info.field);
        if (v >= info.min && v <= info.max)
            continue;
        const std::string found = info.kind == FieldKind::Volume ? formatDecimal(v / 100.0) : formatInteger(v);
        return SettingsError{lines[i], std::string(info.caption), found, rangeProblem(info)};
    }
    return std::nullopt;
}

ReadResult loadSettings(std::string_view bytes, ReadMode mode)
{
    ReadResult result = readSettings(bytes, mode);
    if (result.ok())
        result.error = checkRanges(result.settings, result.lines);
    return result;
}

}  // namespace trelvane
