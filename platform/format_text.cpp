#include "platform/format_text.h"

#include <cctype>

namespace platform {

namespace {

struct Slot
{
    bool leftAlign = false;
    bool zeroPad = false;
    std::size_t width = 0;
    char conversion = 0;
    std::size_t length = 0; // characters of the format the slot takes, '%' included
};

// Reads the slot that starts with the '%' at `at`; conversion 0 when it is not one of ours.
Slot ReadSlot(std::string_view format, std::size_t at)
{
    Slot slot;
    std::size_t i = at + 1;
    for (; i < format.size() && (format[i] == '-' || format[i] == '0'); ++i) {
        if (format[i] == '-')
            slot.leftAlign = true;
        else
            slot.zeroPad = true;
    }
    // Widths beyond any a text needs are not ours: such a slot is copied as written.
    std::size_t digits = 0;
    for (; i < format.size() && std::isdigit(static_cast<unsigned char>(format[i])); ++i) {
        if (++digits > 3)
            return slot;
        slot.width = slot.width * 10 + static_cast<std::size_t>(format[i] - '0');
    }
    if (i < format.size()
        && (format[i] == 's' || format[i] == 'd' || format[i] == 'i' || format[i] == 'u')) {
        slot.conversion = format[i];
        slot.length = i + 1 - at;
    }
    return slot;
}

std::string ArgText(const FormatArg& arg)
{
    return arg.IsText() ? std::string(arg.Text()) : std::to_string(arg.Number());
}

void Pad(std::string& out, std::string value, const Slot& slot, bool number)
{
    if (value.size() >= slot.width) {
        out += value;
        return;
    }
    const std::size_t fill = slot.width - value.size();
    if (slot.leftAlign) {
        out += value;
        out.append(fill, ' ');
    } else if (slot.zeroPad && number) {
        // Zeros go after the sign: "%05d" of -42 is "-0042".
        const std::size_t sign = (!value.empty() && value[0] == '-') ? 1 : 0;
        value.insert(sign, fill, '0');
        out += value;
    } else {
        out.append(fill, ' ');
        out += value;
    }
}

} // namespace

std::string FormatText(std::string_view format, std::initializer_list<FormatArg> args)
{
    std::string out;
    out.reserve(format.size());
    auto next = args.begin();
    for (std::size_t i = 0; i < format.size();) {
        if (format[i] != '%') {
            out += format[i++];
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        const Slot slot = ReadSlot(format, i);
        if (slot.conversion == 0 || next == args.end()) {
            out += format[i++];
            continue;
        }
        const FormatArg& arg = *next++;
        Pad(out, ArgText(arg), slot, slot.conversion != 's' && !arg.IsText());
        i += slot.length;
    }
    return out;
}

} // namespace platform
