#include "tools/hostkit/Schedule.h"

#include "tools/hostkit/SmallFileReading.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <sstream>
#include <string_view>

namespace tpm
{
namespace
{
constexpr const char* kTimeForms = "a time such as 90, 1:30 or 1:02:03.5";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// One blank-separated word of a line, with quotes removed.
struct Token
{
    std::string text;
    int column = 0;                         // 1-based column of its first character
    std::size_t equals = std::string::npos; // position in text of the first '=' outside quotes
    int valueColumn = 0;                    // column just after that '='
    bool quoted = false;                    // began with a quote
};

// Reads a number of the form digits[.digits]; no signs, exponents or other spellings.
bool ParseDecimal(std::string_view text, bool allowFraction, double& value)
{
    const std::size_t dot = text.find('.');
    const std::string_view whole = text.substr(0, dot);
    if (whole.empty() || !std::all_of(whole.begin(), whole.end(), IsDigit))
        return false;
    if (dot != std::string_view::npos)
    {
        const std::string_view fraction = text.substr(dot + 1);
        if (!allowFraction || fraction.empty() || !std::all_of(fraction.begin(), fraction.end(), IsDigit))
            return false;
    }
    return std::from_chars(text.data(), text.data() + text.size(), value).ec == std::errc{};
}

// ss, mm:ss or hh:mm:ss; decimals only in the last field, which (after the first) stays below 60.
bool ParseClock(std::string_view text, double& seconds)
{
    double fields[3] = {};
    int count = 0;
    while (count < 3)
    {
        const std::size_t colon = text.find(':');
        const bool last = colon == std::string_view::npos;
        double value = 0.0;
        if (!ParseDecimal(text.substr(0, colon), last, value) || (count > 0 && value >= 60.0))
            return false;
        fields[count++] = value;
        if (last)
            break;
        text.remove_prefix(colon + 1);
        if (count == 3)
            return false;
    }
    seconds = 0.0;
    for (int i = 0; i < count; ++i)
        seconds = seconds * 60.0 + fields[i];
    return true;
}

bool ParsePlainNumber(const std::string& text, double& value)
{
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc{} && result.ptr == end && std::isfinite(value);
}

bool IsIndexKey(std::string_view key)
{
    return !key.empty() && std::all_of(key.begin(), key.end(), IsDigit);
}

// Reads the lines of one file into a Schedule, reporting the first fault with its place.
class ScheduleReader
{
  public:
    ScheduleReader(const std::string& fileName, const ScheduleLookups& lookups, Schedule& out)
        : fileName(fileName), lookups(lookups), out(out)
    {
    }

    bool ReadLine(std::string_view line, int number, std::string& error)
    {
        lineNumber = number;
        errorText = &error;
        // A NUL would silently end the text of whatever value holds it.
        if (const std::size_t nul = line.find('\0'); nul != std::string_view::npos)
            return Fail(static_cast<int>(nul) + 1, "expected text, found a NUL byte (is this a schedule?)");
        std::vector<Token> tokens;
        if (!Tokenize(line, tokens))
            return false;
        if (tokens.empty())
            return true;
        if (endSeen)
            return Fail(tokens[0].column,
                        "expected nothing after the end line (line " + std::to_string(endLine) + ")");
        if (tokens[0].text == "end")
            return ReadEnd(tokens);
        return ReadStep(tokens);
    }

  private:
    bool Fail(int column, const std::string& message)
    {
        *errorText =
            fileName + ":" + std::to_string(lineNumber) + ":" + std::to_string(column) + ": " + message;
        return false;
    }

    bool Tokenize(std::string_view line, std::vector<Token>& tokens)
    {
        std::size_t i = 0;
        while (true)
        {
            while (i < line.size() && IsBlank(line[i]))
                ++i;
            // '#' starts a comment, except in "#index=value".
            if (i >= line.size() || (line[i] == '#' && !(i + 1 < line.size() && IsDigit(line[i + 1]))))
                return true;
            Token token;
            token.column = static_cast<int>(i) + 1;
            token.quoted = line[i] == '"';
            while (i < line.size() && !IsBlank(line[i]))
            {
                if (line[i] == '"')
                {
                    const std::size_t close = line.find('"', i + 1);
                    if (close == std::string_view::npos)
                        return Fail(static_cast<int>(i) + 1, "expected a closing quote on this line");
                    token.text.append(line.substr(i + 1, close - i - 1));
                    i = close + 1;
                    continue;
                }
                if (line[i] == '=' && token.equals == std::string::npos)
                {
                    token.equals = token.text.size();
                    token.valueColumn = static_cast<int>(i) + 2;
                }
                token.text.push_back(line[i++]);
            }
            // A whole quoted assignment, "Base Freq=200", splits at its first '='.
            if (token.equals == std::string::npos && token.quoted)
                if (const std::size_t eq = token.text.find('='); eq != std::string::npos)
                {
                    token.equals = eq;
                    token.valueColumn = token.column + static_cast<int>(eq) + 2;
                }
            tokens.push_back(std::move(token));
        }
    }

    bool ReadTime(const Token& token, const char* what, double& seconds)
    {
        if (!ParseClock(token.text, seconds))
            return Fail(token.column,
                        std::string("expected ") + what + ", " + kTimeForms + ", found '" + token.text + "'");
        if (seconds > kLongestScheduleSeconds)
            return Fail(token.column,
                        std::string("expected ") + what + " of at most 24:00:00, found '" + token.text + "'");
        return true;
    }

    // Steps are applied in file order: one earlier than the step before it could only come late.
    bool CheckOrder(const Token& token, double seconds)
    {
        if (seconds >= lastSeconds)
            return true;
        return Fail(token.column, "expected a time at or after " + lastTimeText + " (line " +
                                      std::to_string(lastLine) + "), found '" + token.text + "'");
    }

    bool ReadEnd(const std::vector<Token>& tokens)
    {
        if (tokens.size() < 2)
            return Fail(tokens[0].column + 3, std::string("expected ") + kTimeForms + " after 'end'");
        double seconds = 0.0;
        if (!ReadTime(tokens[1], "the end time", seconds) || !CheckOrder(tokens[1], seconds))
            return false;
        if (tokens.size() > 2)
            return Fail(tokens[2].column,
                        "expected nothing after the end time, found '" + tokens[2].text + "'");
        out.endSeconds = seconds;
        endSeen = true;
        endLine = lineNumber;
        return true;
    }

    bool ReadStep(const std::vector<Token>& tokens)
    {
        ScheduleStep step;
        step.line = lineNumber;
        if (!ReadTime(tokens[0], "the step's time", step.seconds) || !CheckOrder(tokens[0], step.seconds))
            return false;
        bool hasProgram = false;
        for (std::size_t i = 1; i < tokens.size(); ++i)
        {
            const Token& token = tokens[i];
            const Token* next = i + 1 < tokens.size() ? &tokens[i + 1] : nullptr;
            if (token.text == "over" && token.equals == std::string::npos)
            {
                if (!next)
                    return Fail(token.column + 4,
                                std::string("expected a duration after 'over', ") + kTimeForms);
                if (!ReadTime(*next, "the ramp's duration", step.rampSeconds))
                    return false;
                if (i + 2 < tokens.size())
                    return Fail(tokens[i + 2].column, "expected nothing after the ramp's duration, found '" +
                                                          tokens[i + 2].text + "'");
                break;
            }
            if (token.text == "program" && token.equals == std::string::npos)
            {
                if (hasProgram)
                    return Fail(token.column, "expected one program per line, found a second");
                if (!next)
                    return Fail(token.column + 7,
                                "expected a program number or a quoted name after 'program'");
                if (!ReadProgram(*next, step.program))
                    return false;
                hasProgram = true;
                ++i;
                continue;
            }
            if (token.equals == std::string::npos)
            {
                Token joined;
                if (JoinNameWords(tokens, i, joined))
                {
                    if (!ReadAssignment(joined, step))
                        return false;
                    continue;
                }
                std::string message = "expected program, Name=value or over, found '" + token.text + "'";
                if (joined.equals != std::string::npos)
                    message += " ('" + joined.text.substr(0, joined.equals) + "' is no parameter's name)";
                return Fail(token.column, message);
            }
            if (!ReadAssignment(token, step))
                return false;
        }
        if (!hasProgram && step.params.empty())
            return Fail(tokens.size() > 1 ? tokens[1].column
                                          : tokens[0].column + static_cast<int>(tokens[0].text.size()),
                        "expected a program or Name=value settings at this time");
        lastSeconds = step.seconds;
        lastTimeText = tokens[0].text;
        lastLine = lineNumber;
        out.steps.push_back(std::move(step));
        return true;
    }

    // Base Freq=200: the words from tokens[at] up to the first one with '=', when together they
    // are a parameter's name, as one assignment; `at` moves to its last word. `joined` holds the
    // words (with their '=') whenever there is one with '=', for the error message.
    bool JoinNameWords(const std::vector<Token>& tokens, std::size_t& at, Token& joined) const
    {
        std::size_t last = at;
        while (last < tokens.size() && tokens[last].equals == std::string::npos)
            ++last;
        if (last == tokens.size())
            return false;
        joined = tokens[at];
        for (std::size_t k = at + 1; k <= last; ++k)
            joined.text += " " + tokens[k].text;
        const Token& withValue = tokens[last];
        joined.equals = joined.text.size() - withValue.text.size() + withValue.equals;
        joined.valueColumn = withValue.valueColumn;
        if (!lookups.isParamName || !lookups.isParamName(joined.text.substr(0, joined.equals)))
            return false;
        at = last;
        return true;
    }

    bool ReadProgram(const Token& token, int& program)
    {
        if (token.quoted)
        {
            program = lookups.findProgram ? lookups.findProgram(token.text) : -1;
            if (program < 0)
                return Fail(token.column, "expected the name of one of the plug-in's programs, found \"" +
                                              token.text + "\"");
            return true;
        }
        double number = 0.0;
        if (!ParseDecimal(token.text, false, number))
            return Fail(token.column,
                        "expected a program number or a quoted name, found '" + token.text + "'");
        if (number >= lookups.programCount)
            return Fail(token.column, "expected a program number below " +
                                          std::to_string(lookups.programCount) + ", found '" + token.text +
                                          "'");
        program = static_cast<int>(number);
        return true;
    }

    bool ReadAssignment(const Token& token, ScheduleStep& step)
    {
        const std::string key = token.text.substr(0, token.equals);
        const std::string value = token.text.substr(token.equals + 1);
        if (key.empty())
            return Fail(token.column, "expected a parameter name before '='");
        if (value.empty())
            return Fail(token.valueColumn, "expected a value after '" + key + "='");
        ScheduledParam param;
        std::string error;
        if (!lookups.resolveParam || !lookups.resolveParam(token.text, param.setting, error))
            return Fail(token.column, error.empty() ? "cannot set '" + token.text + "'" : error);
        if (!param.setting.warning.empty())
            out.warnings.push_back(fileName + ":" + std::to_string(lineNumber) + ":" +
                                   std::to_string(token.column) + ": " + param.setting.warning);
        // "index=normalised" gives no value in the parameter's units.
        if (IsIndexKey(key) || !ParsePlainNumber(value, param.realValue))
            param.realValue = std::numeric_limits<double>::quiet_NaN();
        step.params.push_back(std::move(param));
        return true;
    }

    const std::string& fileName;
    const ScheduleLookups& lookups;
    Schedule& out;
    std::string* errorText = nullptr;
    int lineNumber = 0;
    double lastSeconds = 0.0;
    std::string lastTimeText = "0";
    int lastLine = 0;
    bool endSeen = false;
    int endLine = 0;
};
} // namespace

double Schedule::LengthSeconds() const
{
    if (endSeconds >= 0.0)
        return endSeconds;
    double length = 0.0;
    for (const ScheduleStep& step : steps)
        length = std::max(length, step.seconds + step.rampSeconds);
    return length;
}

bool ParseSchedule(const std::string& text, const std::string& fileName, const ScheduleLookups& lookups,
                   Schedule& out, std::string& error)
{
    out = Schedule{};
    ScheduleReader reader(fileName, lookups, out);
    // Editors on Windows may start the file with a byte-order mark.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    std::istringstream lines(text.starts_with(kByteOrderMark) ? text.substr(kByteOrderMark.size()) : text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number)
        if (!reader.ReadLine(line, number, error))
            return false;
    return true;
}

bool ReadScheduleFile(const std::string& path, const ScheduleLookups& lookups, Schedule& out,
                      std::string& error)
{
    std::string text;
    if (!ReadSmallFile(path, "schedule", kLargestScheduleBytes, text, error))
        return false;
    return ParseSchedule(text, path, lookups, out, error);
}
} // namespace tpm
