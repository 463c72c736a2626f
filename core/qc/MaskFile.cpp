#include "core/qc/MaskFile.h"

#include "core/base/CsvText.h"
#include "core/base/TulvoErrors.h"
#include "core/files/TDataFile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <optional>
#include <vector>

namespace {

const std::string KeySpectrum = "Spectrum";
const std::string KeyUnits = "Units";
const std::string KeyFactor = "Factor";
const std::string KeyUpperOffset = "Upper offset (dB)";
const std::string KeyLowerOffset = "Lower offset (dB)";
const std::string KeyFloor = "Floor (dB)";
const std::string KeyExcluded = "Excluded (Hz)";
const std::string KeyLevel = "Level (dBFS)";
const std::string KeyLevelLower = "Level lower (dBFS)";
const std::string KeyLevelUpper = "Level upper (dBFS)";

// The keys read back, in the order they are written.
const std::vector<std::string> Keys = {KeySpectrum, KeyUnits,    KeyFactor, KeyUpperOffset, KeyLowerOffset,
                                       KeyFloor,    KeyExcluded, KeyLevel,  KeyLevelLower,  KeyLevelUpper};

constexpr int TableColumns = 5;

// An option's value: its shortest text, never "-0".
std::string OptionText(double value) { return FormatShortest(value == 0 ? 0.0 : value); }

std::string LimitText(const std::optional<double>& limit) { return limit ? FormatFixed(*limit, 3) : std::string(); }

std::string KeyLine(const std::string& key, const std::string& value)
{
    return value.empty() ? "# " + key + ":\n" : "# " + key + ": " + value + "\n";
}

std::string ExcludedText(const std::vector<TFrequencyRange>& ranges)
{
    if (ranges.empty()) {
        return "none";
    }
    std::string text;
    for (const TFrequencyRange& range : ranges) {
        if (!text.empty()) {
            text += ' ';
        }
        text += FrequencyRangeText(range);
    }
    return text;
}

std::string_view Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A number written in full: finite, nothing before or after it.
enum class TNumberRead { Ok, NotANumber, NotFinite };

TNumberRead ReadNumber(std::string_view text, double& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return TNumberRead::NotANumber;
    }
    return std::isfinite(value) ? TNumberRead::Ok : TNumberRead::NotFinite;
}

// Reads a mask file's text line by line, keeping the line number for its
// messages.
class TMaskReader {
public:
    TMaskReader(std::string_view text, const std::string& path) : text_(text), path_(path) {}

    TToleranceMask Read()
    {
        if (text_.starts_with("\xEF\xBB\xBF")) {
            text_.remove_prefix(3); // a spreadsheet's byte-order mark
        }
        bool first = true;
        bool header = false;
        while (NextLine()) {
            const std::vector<std::string> fields = Fields();
            if (fields.empty()) {
                continue;
            }
            if (first) {
                ReadFormat(fields);
                first = false;
            } else if (!header && fields[0].starts_with('#')) {
                ReadComment(CommentText(fields));
            } else if (!header) {
                ReadHeader(fields);
                header = true;
            } else {
                ReadRow(fields);
            }
        }
        ++lineNumber_; // where a missing line would be
        if (first) {
            Fail("an empty file, not a mask");
        }
        if (!header) {
            Fail("no header line '" + std::string(MaskTableHeader) + "'");
        }
        if (rows_ == 0) {
            Fail("no rows after the header");
        }
        if (rows_ < SpectrumLines) {
            const int missing = SpectrumLines - rows_;
            Fail(std::to_string(missing) + (missing == 1 ? " row" : " rows") + " missing: the table ends at " +
                 std::to_string(BandLineFrequencyHz(rows_ - 1)) + " Hz, not " +
                 std::to_string(BandLineFrequencyHz(SpectrumLines - 1)) + " Hz");
        }
        return mask_;
    }

private:
    [[noreturn]] void Fail(const std::string& message) const { throw EContentError(message, path_, lineNumber_); }

    bool NextLine()
    {
        if (text_.empty()) {
            return false;
        }
        const auto end = text_.find('\n');
        line_ = text_.substr(0, end);
        text_.remove_prefix(end == std::string_view::npos ? text_.size() : end + 1);
        if (line_.ends_with('\r')) {
            line_.remove_suffix(1);
        }
        ++lineNumber_;
        return true;
    }

    // The line's CSV fields, spaces around them trimmed, without the empty
    // ones at its end.
    std::vector<std::string> Fields() const
    {
        std::vector<std::string> fields;
        std::string_view rest = line_;
        for (;;) {
            std::string field;
            rest = Trimmed(rest);
            if (rest.starts_with('"')) {
                std::size_t i = 1;
                for (;; ++i) {
                    if (i >= rest.size()) {
                        Fail("a quote that is not closed");
                    }
                    if (rest[i] == '"') {
                        if (i + 1 < rest.size() && rest[i + 1] == '"') {
                            field += '"';
                            ++i;
                            continue;
                        }
                        break;
                    }
                    field += rest[i];
                }
                rest = Trimmed(rest.substr(i + 1));
                if (!rest.empty() && rest[0] != ',') {
                    Fail("text after a quoted field");
                }
            } else {
                field = std::string(Trimmed(rest.substr(0, rest.find(','))));
                rest = rest.substr(std::min(rest.size(), rest.find(',')));
            }
            fields.push_back(std::move(field));
            if (rest.empty()) {
                break;
            }
            rest.remove_prefix(1); // the comma
        }
        while (!fields.empty() && fields.back().empty()) {
            fields.pop_back();
        }
        return fields;
    }

    // A comment line's text after "#", trimmed. A line that is not one
    // quoted field is taken as it stands, up to the empty fields at its end,
    // so that a note with commas keeps them as written even after a
    // spreadsheet has split it into cells.
    std::string CommentText(const std::vector<std::string>& fields) const
    {
        if (Trimmed(line_).starts_with('"')) {
            return std::string(Trimmed(std::string_view(fields[0]).substr(1)));
        }
        std::string_view text = Trimmed(line_);
        while (!text.empty() && (text.back() == ',' || text.back() == ' ' || text.back() == '\t')) {
            text.remove_suffix(1);
        }
        return std::string(Trimmed(text.substr(1)));
    }

    void ReadFormat(const std::vector<std::string>& fields)
    {
        const std::string expected = std::string(Trimmed(MaskFormatLine.substr(1)));
        const std::string text = fields[0].starts_with('#') ? CommentText(fields) : std::string();
        if (text == expected) {
            return;
        }
        if (text.starts_with("Format:")) {
            Fail("the format '" + std::string(Trimmed(text.substr(7))) + "' is not one this version reads ('" +
                 std::string(Trimmed(expected.substr(7))) + "')");
        }
        Fail("not a mask: the first line is not '" + std::string(MaskFormatLine) + "'");
    }

    void ReadComment(const std::string& text)
    {
        const auto colon = text.find(':');
        if (colon != std::string::npos) {
            const std::string key = text.substr(0, colon);
            if (std::find(Keys.begin(), Keys.end(), key) != Keys.end()) {
                if (values_.count(key) != 0) {
                    Fail("'" + key + "' a second time");
                }
                values_[key] = std::string(Trimmed(std::string_view(text).substr(colon + 1)));
                ReadKey(key, values_[key]);
                return;
            }
            if (key == "Format") {
                Fail("'Format' a second time");
            }
        }
        if (!text.empty()) {
            mask_.Notes.push_back(text);
        }
    }

    double KeyNumber(const std::string& key, const std::string& value) const
    {
        double number = 0;
        if (ReadNumber(value, number) != TNumberRead::Ok || number < 0) {
            Fail(key + ": '" + value + "' is not a finite number from 0 up");
        }
        return number;
    }

    std::optional<double> KeyLimit(const std::string& key, const std::string& value) const
    {
        if (value.empty()) {
            return std::nullopt;
        }
        double number = 0;
        if (ReadNumber(value, number) != TNumberRead::Ok) {
            Fail(key + ": '" + value + "' is not a finite number");
        }
        return number;
    }

    void ReadKey(const std::string& key, const std::string& value)
    {
        TMaskOptions& options = mask_.Options;
        if (key == KeySpectrum) {
            const auto kind = SpectrumKindNamed(value);
            if (!kind) {
                Fail("the spectrum '" + value + "' is not one this version reads ('" +
                     std::string(SpectrumKindName(TSpectrumKind::Average)) + "' or '" +
                     std::string(SpectrumKindName(TSpectrumKind::MaxHold)) + "')");
            }
            options.Kind = *kind;
        } else if (key == KeyUnits) {
            unsigned long long units = 0;
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), units);
            if (value.empty() || error != std::errc() || end != value.data() + value.size() || units == 0) {
                Fail(key + ": '" + value + "' is not a whole number from 1 up");
            }
            mask_.Units = static_cast<std::size_t>(units);
        } else if (key == KeyFactor) {
            options.Factor = KeyNumber(key, value);
        } else if (key == KeyUpperOffset) {
            options.UpperOffsetDb = KeyNumber(key, value);
        } else if (key == KeyLowerOffset) {
            options.LowerOffsetDb = KeyNumber(key, value);
        } else if (key == KeyFloor) {
            options.FloorDb = KeyNumber(key, value);
        } else if (key == KeyExcluded) {
            options.Excluded = ExcludedRanges(value);
        } else if (key == KeyLevel) {
            if (value != "none") {
                double centre = 0;
                if (ReadNumber(value, centre) != TNumberRead::Ok) {
                    Fail(key + ": '" + value + "' is neither a finite number nor 'none'");
                }
                mask_.Level = TLevelBand{centre, std::nullopt, std::nullopt};
            }
        } else if (key == KeyLevelLower) {
            levelLower_ = KeyLimit(key, value);
        } else if (key == KeyLevelUpper) {
            levelUpper_ = KeyLimit(key, value);
        }
    }

    std::vector<TFrequencyRange> ExcludedRanges(const std::string& value) const
    {
        std::vector<TFrequencyRange> ranges;
        if (value == "none") {
            return ranges;
        }
        std::string_view rest = value;
        while (!(rest = Trimmed(rest)).empty()) {
            const std::string_view range = rest.substr(0, rest.find_first_of(" \t"));
            rest.remove_prefix(range.size());
            const auto parsed = FrequencyRangeFromText(range);
            if (!parsed) {
                Fail(KeyExcluded + ": '" + std::string(range) + "' is not a range LOW-HIGH of Hz");
            }
            ranges.push_back(*parsed);
        }
        if (ranges.empty()) {
            Fail(KeyExcluded + ": no ranges and not 'none'");
        }
        return ranges;
    }

    void ReadHeader(const std::vector<std::string>& fields)
    {
        std::string joined;
        for (const auto& field : fields) {
            joined += (joined.empty() ? "" : ",") + field;
        }
        if (joined != MaskTableHeader) {
            Fail("the header is not '" + std::string(MaskTableHeader) + "'");
        }
        for (const auto& key : Keys) {
            const bool levelLimit = key == KeyLevelLower || key == KeyLevelUpper;
            if (values_.count(key) == 0 && !(levelLimit && !mask_.Level)) {
                Fail("no '# " + key + ":' line above the header");
            }
            if (levelLimit && values_.count(key) != 0 && !mask_.Level) {
                Fail("'" + key + "' with 'Level (dBFS): none'");
            }
        }
        if (mask_.Level) {
            mask_.Level->LowerDbfs = levelLower_;
            mask_.Level->UpperDbfs = levelUpper_;
            if (levelLower_ && levelUpper_ && *levelLower_ > *levelUpper_) {
                Fail("the level's lower limit lies above its upper limit");
            }
        }
    }

    double RowNumber(const std::vector<std::string>& fields, int column, bool required) const
    {
        static const char* const names[] = {"Frequency (Hz)", "Centre (dB)", "Spread (dB)", "Lower (dB)", "Upper (dB)"};
        const std::string& text = fields[static_cast<std::size_t>(column)];
        double value = 0;
        if (text.empty() && !required) {
            return std::nan("");
        }
        switch (ReadNumber(text, value)) {
        case TNumberRead::Ok: return value;
        case TNumberRead::NotFinite: Fail(std::string(names[column]) + ": '" + text + "' is NaN or infinite");
        case TNumberRead::NotANumber: break;
        }
        Fail(std::string(names[column]) + ": '" + text + "' is not a number");
    }

    void ReadRow(std::vector<std::string> fields)
    {
        if (fields.size() > TableColumns) {
            Fail(std::to_string(fields.size()) + " fields, not " + std::to_string(TableColumns));
        }
        if (rows_ >= SpectrumLines) {
            Fail("a row after the last line, " + std::to_string(BandLineFrequencyHz(SpectrumLines - 1)) + " Hz");
        }
        fields.resize(TableColumns);
        const double frequencyHz = RowNumber(fields, 0, true);
        const int expectedHz = BandLineFrequencyHz(rows_);
        if (frequencyHz != expectedHz) {
            Fail("the frequency " + fields[0] + " Hz where " + std::to_string(expectedHz) +
                 " Hz comes next (rows from 1000 to 10000 Hz in steps of 25 Hz)");
        }
        TMaskLine& line = mask_.Lines[static_cast<std::size_t>(rows_)];
        line.CentreDb = RowNumber(fields, 1, true);
        line.SpreadDb = RowNumber(fields, 2, true);
        const double lower = RowNumber(fields, 3, false);
        const double upper = RowNumber(fields, 4, false);
        if (lower > upper) {
            Fail("Lower (dB) " + fields[3] + " lies above Upper (dB) " + fields[4]);
        }
        line.LowerDb = std::isnan(lower) ? std::nullopt : std::optional(lower);
        line.UpperDb = std::isnan(upper) ? std::nullopt : std::optional(upper);
        ++rows_;
    }

    std::string_view text_;
    const std::string& path_;
    std::string_view line_;
    int lineNumber_ = 0;
    int rows_ = 0;
    TToleranceMask mask_;
    std::map<std::string, std::string> values_;
    std::optional<double> levelLower_;
    std::optional<double> levelUpper_;
};

} // namespace

std::string MaskFileText(const TToleranceMask& mask)
{
    const TMaskOptions& options = mask.Options;
    std::string text(MaskFormatLine);
    text += '\n';
    text += KeyLine(KeySpectrum, std::string(SpectrumKindName(options.Kind)));
    text += KeyLine(KeyUnits, std::to_string(mask.Units));
    text += KeyLine(KeyFactor, OptionText(options.Factor));
    text += KeyLine(KeyUpperOffset, OptionText(options.UpperOffsetDb));
    text += KeyLine(KeyLowerOffset, OptionText(options.LowerOffsetDb));
    text += KeyLine(KeyFloor, OptionText(options.FloorDb));
    text += KeyLine(KeyExcluded, ExcludedText(options.Excluded));
    if (mask.Level) {
        text += KeyLine(KeyLevel, FormatFixed(mask.Level->CentreDbfs, 3));
        text += KeyLine(KeyLevelLower, LimitText(mask.Level->LowerDbfs));
        text += KeyLine(KeyLevelUpper, LimitText(mask.Level->UpperDbfs));
    } else {
        text += KeyLine(KeyLevel, "none");
    }
    for (std::string note : mask.Notes) {
        std::replace_if(
            note.begin(), note.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
        text += "# " + note + "\n";
    }
    text += MaskTableHeader;
    text += '\n';
    for (int i = 0; i < SpectrumLines; ++i) {
        const TMaskLine& line = mask.Lines[i];
        text += std::to_string(BandLineFrequencyHz(i)) + "," + FormatFixed(line.CentreDb, 3) + "," +
                FormatFixed(line.SpreadDb, 3) + "," + LimitText(line.LowerDb) + "," + LimitText(line.UpperDb) + "\n";
    }
    return text;
}

TToleranceMask ParseMaskFile(std::string_view text, const std::string& path) { return TMaskReader(text, path).Read(); }

TToleranceMask ReadMaskFile(const std::string& path)
{
    TDataFile file; // closes itself when a read fails
    file.Bind(path);
    file.OpenRead();
    std::string text;
    char buffer[64 * 1024];
    for (;;) {
        const std::size_t got = ReadSome(file.Handle(), buffer, sizeof buffer, path);
        if (got == 0) {
            break;
        }
        text.append(buffer, got);
        if (text.size() > MaxMaskFileBytes) {
            throw EContentError("not a mask: larger than " + std::to_string(MaxMaskFileBytes / 1024) + " KiB", path);
        }
    }
    file.Close();
    return ParseMaskFile(text, path);
}
