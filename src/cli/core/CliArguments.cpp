#include "cli/core/CliArguments.h"

#include <cwctype>

namespace qorvani {

namespace {

std::wstring Folded(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towupper(c));
    return text;
}

std::optional<std::uint32_t> DaysFrom(const std::wstring& text) {
    if (text.empty() || text.size() > 6) return std::nullopt;
    std::uint32_t days = 0;
    for (const wchar_t c : text) {
        if (c < L'0' || c > L'9') return std::nullopt;
        days = days * 10 + static_cast<std::uint32_t>(c - L'0');
    }
    if (days > kMostDays) return std::nullopt;
    return days;
}

class Parser {
public:
    Parser(const std::vector<std::wstring>& arguments, const std::vector<std::wstring>& catalogue)
        : arguments_(arguments), catalogue_(catalogue) {}

    ParsedArguments Run() {
        if (arguments_.empty()) return Fail(L"no command given");
        const std::wstring& first = arguments_[0];
        if (first == L"--help" || first == L"-h" || first == L"/?" || first == L"help") return Done(CliCommand::Help);
        if (first == L"--version") return Done(CliCommand::Version);
        if (first == L"scan") request_.command = CliCommand::Scan;
        else if (first == L"clean") request_.command = CliCommand::Clean;
        else return Fail(L"unknown command: " + first);

        std::vector<bool> chosen(catalogue_.size(), false);
        bool anyMask = false;
        bool recycle = false;
        bool literal = false;  // after "--" every argument is a path
        for (index_ = 1; index_ < arguments_.size(); ++index_) {
            std::wstring name = arguments_[index_];
            if (literal || name.size() < 2 || name.compare(0, 2, L"--") != 0) {
                request_.paths.push_back(name);
                continue;
            }
            if (name == L"--") {
                literal = true;
                continue;
            }
            std::optional<std::wstring> inlineValue;
            if (const std::size_t equals = name.find(L'='); equals != std::wstring::npos) {
                inlineValue = name.substr(equals + 1);
                name.resize(equals);
            }
            const bool clean = request_.command == CliCommand::Clean;
            if (name == L"--help") return Done(CliCommand::Help);
            if (name == L"--all-drives" || name == L"--yes" || name == L"--recycle" || name == L"--for-good") {
                if (inlineValue) return Fail(name + L" takes no value");
                if (name == L"--all-drives") request_.allDrives = true;
                else if (!clean) return Fail(name + L" belongs to clean");
                else if (name == L"--yes") request_.yes = true;
                else if (name == L"--recycle") recycle = true;
                else request_.forGood = true;
                continue;
            }
            if (name != L"--mask" && name != L"--older-than" && name != L"--exclude" && name != L"--format")
                return Fail(L"unknown option: " + name);
            std::wstring value;
            if (inlineValue) value = *inlineValue;
            else if (index_ + 1 < arguments_.size()) value = arguments_[++index_];
            else return Fail(name + L" needs a value");
            if (name == L"--mask") {
                const std::wstring folded = Folded(value);
                bool known = false;
                for (std::size_t i = 0; i < catalogue_.size(); ++i)
                    if (Folded(catalogue_[i]) == folded) chosen[i] = known = true;
                if (!known) return Fail(L"not a mask of the catalogue: " + value);
                anyMask = true;
            } else if (name == L"--older-than") {
                request_.olderThanDays = DaysFrom(value);
                if (!request_.olderThanDays) return Fail(L"--older-than takes a whole number of days up to 100000: " + value);
            } else if (name == L"--exclude") {
                if (value.empty()) return Fail(L"--exclude needs a folder");
                request_.excludes.push_back(value);
            } else if (clean) {
                return Fail(L"--format belongs to scan");
            } else if (value == L"text") {
                request_.format = ReportFormat::Text;
            } else if (value == L"csv") {
                request_.format = ReportFormat::Csv;
            } else if (value == L"json") {
                request_.format = ReportFormat::Json;
            } else {
                return Fail(L"--format takes text, csv or json: " + value);
            }
        }
        if (recycle && request_.forGood) return Fail(L"--recycle and --for-good exclude each other");
        if (request_.allDrives == !request_.paths.empty())
            return Fail(request_.allDrives ? L"give paths or --all-drives, not both" : L"give a path or --all-drives");
        for (std::size_t i = 0; i < catalogue_.size(); ++i)
            if (!anyMask || chosen[i]) request_.masks.push_back(catalogue_[i]);
        ParsedArguments parsed;
        parsed.request = request_;
        return parsed;
    }

private:
    ParsedArguments Done(CliCommand command) {
        request_.command = command;
        ParsedArguments parsed;
        parsed.request = request_;
        return parsed;
    }
    static ParsedArguments Fail(std::wstring error) {
        ParsedArguments parsed;
        parsed.error = std::move(error);
        return parsed;
    }

    const std::vector<std::wstring>& arguments_;
    const std::vector<std::wstring>& catalogue_;
    CliRequest request_;
    std::size_t index_ = 0;
};

}  // namespace

ParsedArguments ParseArguments(const std::vector<std::wstring>& arguments, const std::vector<std::wstring>& catalogue) {
    return Parser(arguments, catalogue).Run();
}

std::wstring UsageText(const std::wstring& program, const std::vector<std::wstring>& catalogue) {
    std::wstring text = L"Usage:\n  " + program +
                        L" scan PATH... | --all-drives [--mask MASK]... [--older-than DAYS] [--exclude PATH]...\n"
                        L"       [--format text|csv|json]\n  " +
                        program +
                        L" clean PATH... | --all-drives [the same options] [--recycle | --for-good] [--yes]\n  " +
                        program + L" --help | --version\n\n"
                        L"Exit codes: 0 done; 1 done, some files kept; 2 usage error; 3 nothing could be read;\n"
                        L"4 stopped (Ctrl+C).\n\nMasks:";
    for (std::size_t i = 0; i < catalogue.size(); ++i) text += (i % 8 == 0 ? L"\n  " : L" ") + catalogue[i];
    return text + L"\n";
}

}  // namespace qorvani
