#include "pathentries.h"

#include <vector>

namespace {

constexpr wchar_t separator = L';';
constexpr wchar_t quote = L'"';

// Where one entry stands in the value: [begin, end).
struct EntrySpan
{
    std::size_t begin = 0;
    std::size_t end = 0;
};

// The entries in order, empty ones included; a ';' inside double quotes separates nothing.
std::vector<EntrySpan> entrySpans(const std::wstring &path)
{
    std::vector<EntrySpan> spans;
    std::size_t begin = 0;
    bool quoted = false;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i] == quote)
            quoted = !quoted;
        else if (path[i] == separator && !quoted) {
            spans.push_back({begin, i});
            begin = i + 1;
        }
    }
    spans.push_back({begin, path.size()});
    return spans;
}

// The path an entry names: without its quotes and trailing backslashes.
std::wstring_view bare(std::wstring_view entry)
{
    std::size_t begin = 0;
    std::size_t end = entry.size();
    if (end >= 2 && entry.front() == quote && entry.back() == quote) {
        ++begin;
        --end;
    }
    while (end > begin && (entry[end - 1] == L'\\' || entry[end - 1] == L'/'))
        --end;
    return entry.substr(begin, end - begin);
}

// Windows compares paths without regard to letter case. Folder names seen here are Latin
// script: ASCII and the Latin-1 letters (æ, ø, å and their like) are folded.
wchar_t folded(wchar_t c)
{
    if (c >= L'a' && c <= L'z')
        return wchar_t(c - (L'a' - L'A'));
    if (c >= 0xe0 && c <= 0xfe && c != 0xf7)
        return wchar_t(c - 0x20);
    return c;
}

bool sameIgnoringCase(std::wstring_view left, std::wstring_view right)
{
    if (left.size() != right.size())
        return false;
    for (std::size_t i = 0; i < left.size(); ++i) {
        if (folded(left[i]) != folded(right[i]))
            return false;
    }
    return true;
}

// The folder as an entry: quoted if it holds a separator.
std::wstring asEntry(const std::wstring &folder)
{
    if (folder.find(separator) == std::wstring::npos)
        return folder;
    return quote + folder + quote;
}

} // namespace

bool namesFolder(std::wstring_view entry, std::wstring_view folder)
{
    const std::wstring_view wanted = bare(folder);
    return !wanted.empty() && sameIgnoringCase(bare(entry), wanted);
}

PathEdit addPathEntry(const std::wstring &path, const std::wstring &folder)
{
    const std::wstring_view value(path);
    for (const EntrySpan &span : entrySpans(path)) {
        if (namesFolder(value.substr(span.begin, span.end - span.begin), folder))
            return {PathEditOutcome::Unchanged, path};
    }
    // A value that ends in ';' keeps its ending after the new entry, so that removing the
    // entry with the separator before it gives the value back as it was.
    std::wstring added;
    if (path.empty())
        added = asEntry(folder);
    else if (path.back() == separator)
        added = path + asEntry(folder) + separator;
    else
        added = path + separator + asEntry(folder);
    if (added.size() > longestPathValue)
        return {PathEditOutcome::TooLong, path};
    return {PathEditOutcome::Changed, added};
}

PathEdit removePathEntry(const std::wstring &path, const std::wstring &folder)
{
    const std::vector<EntrySpan> spans = entrySpans(path);
    const std::wstring_view value(path);
    // The last one: an add appends, and an entry that was there before stays.
    for (std::size_t i = spans.size(); i-- > 0;) {
        const EntrySpan &span = spans[i];
        if (!namesFolder(value.substr(span.begin, span.end - span.begin), folder))
            continue;
        std::size_t begin = span.begin;
        std::size_t end = span.end;
        if (i > 0)
            --begin; // the separator before it
        else if (spans.size() > 1)
            ++end; // the first entry: the separator after it
        std::wstring removed = path;
        removed.erase(begin, end - begin);
        return {PathEditOutcome::Changed, removed};
    }
    return {PathEditOutcome::Unchanged, path};
}
