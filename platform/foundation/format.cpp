#include "format.h"

#include <cstdio>

namespace cw {

static std::string print_number(std::string const& directive, FormatArg const& arg)
{
    char buffer[512];
    char conversion = directive.back();
    if (conversion == 'f') {
        double value = 0;
        if (auto const* d = std::get_if<double>(&arg))
            value = *d;
        else if (auto const* i = std::get_if<std::int64_t>(&arg))
            value = static_cast<double>(*i);
        else if (auto const* u = std::get_if<std::uint64_t>(&arg))
            value = static_cast<double>(*u);
        std::snprintf(buffer, sizeof buffer, directive.c_str(), value);
        return buffer;
    }
    long long value = 0;
    if (auto const* i = std::get_if<std::int64_t>(&arg))
        value = *i;
    else if (auto const* u = std::get_if<std::uint64_t>(&arg))
        value = static_cast<long long>(*u);
    else if (auto const* d = std::get_if<double>(&arg))
        value = static_cast<long long>(*d);
    std::string flags = directive.substr(0, directive.size() - 1);
    if (conversion == 'u') {
        std::snprintf(buffer, sizeof buffer, (flags + "llu").c_str(), static_cast<unsigned long long>(value));
    } else {
        std::snprintf(buffer, sizeof buffer, (flags + "lld").c_str(), value);
    }
    return buffer;
}

static std::string describe_arg(FormatArg const& arg)
{
    if (auto const* s = std::get_if<std::string>(&arg))
        return *s;
    if (auto const* d = std::get_if<double>(&arg))
        return print_number("%g", *d);
    return print_number("%d", arg);
}

std::string format(std::string_view pattern, std::vector<FormatArg> const& args)
{
    std::string out;
    size_t next_arg = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        char c = pattern[i];
        if (c != '%' || i + 1 >= pattern.size()) {
            out += c;
            continue;
        }
        if (pattern[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        // Read flags, precision and length up to the conversion letter.
        size_t end = i + 1;
        while (end < pattern.size() && std::string_view("0123456789.-+ lh").find(pattern[end]) != std::string_view::npos)
            ++end;
        if (end >= pattern.size() || std::string_view("@dfiu").find(pattern[end]) == std::string_view::npos || next_arg >= args.size()) {
            out += c;
            continue;
        }
        std::string directive(pattern.substr(i, end - i + 1));
        auto const& arg = args[next_arg++];
        if (pattern[end] == '@') {
            out += describe_arg(arg);
        } else {
            std::string clean;
            for (char s : directive) {
                if (s != 'l' && s != 'h')
                    clean += s;
            }
            out += print_number(clean, arg);
        }
        i = end;
    }
    return out;
}

std::string format_double(std::string_view directive, double value)
{
    return format(directive, { value });
}

}
