#include "session/presentation.h"

namespace {

std::wstring hex8(std::uint32_t value) {
    static const wchar_t digits[] = L"0123456789abcdef";
    std::wstring out(8, L'0');
    for (int i = 7; i >= 0; --i, value >>= 4)
        out[static_cast<std::size_t>(i)] = digits[value & 0xF];
    return out;
}

} // namespace

std::wstring formatText(const std::wstring& format, std::initializer_list<FormatArg> args) {
    std::wstring out;
    const FormatArg* arg = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != L'%' || i + 1 >= format.size()) {
            out += format[i];
            continue;
        }
        const std::wstring rest = format.substr(i + 1, 3);
        if (rest[0] == L'%') {
            out += L'%';
            i += 1;
        } else if (arg == args.end()) {
            out += format[i];
        } else if (rest[0] == L's') {
            out += (arg++)->text;
            i += 1;
        } else if (rest[0] == L'u') {
            out += std::to_wstring((arg++)->number);
            i += 1;
        } else if (rest == L"08x") {
            out += hex8((arg++)->number);
            i += 3;
        } else {
            out += format[i];
        }
    }
    if (out.size() > kLongestText)
        out.resize(kLongestText);
    return out;
}
