#pragma once
// A settings value that lists names separated by commas ("Z, Space", "A, RB"): the parse
// shared by the key and the controller-button bindings.

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tz {

inline std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

inline bool SameNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

template <typename T, std::size_t N>
struct TNameListParse {
    std::array<T, N> Items{};
    std::vector<std::string> Unknown;   // names FromName does not know
    std::vector<std::string> TooMany;   // names past the N-th
};

// "" and "None" list nothing; a name given twice counts once; None is the empty place and
// what FromName returns for a name it does not know.
template <typename T, std::size_t N, typename FromName>
TNameListParse<T, N> ParseNameList(std::string_view text, T None, FromName fromName) {
    TNameListParse<T, N> result;
    result.Items.fill(None);
    std::size_t used = 0;
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string_view name = TrimBlanks(text.substr(0, comma));
        if (!name.empty() && !SameNoCase(name, "None")) {
            const T item = fromName(name);
            const auto end = result.Items.begin() + static_cast<std::ptrdiff_t>(used);
            if (item == None) {
                result.Unknown.emplace_back(name);
            } else if (std::find(result.Items.begin(), end, item) == end) {
                if (used < N) result.Items[used++] = item;
                else result.TooMany.emplace_back(name);
            }
        }
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    return result;
}

// "A, B"; "None" for an empty list.
template <typename T, std::size_t N, typename NameOf>
std::string FormatNameList(const std::array<T, N>& items, T None, NameOf nameOf) {
    std::string text;
    for (const T item : items) {
        if (item == None) continue;
        if (!text.empty()) text += ", ";
        text += nameOf(item);
    }
    return text.empty() ? std::string("None") : text;
}

}  // namespace tz
