#ifndef PATHENTRIES_H
#define PATHENTRIES_H

#include <cstddef>
#include <string>
#include <string_view>

// The installer's edit of the system PATH, free of any system call so that it can be tested
// anywhere: the value is a list of entries separated by ';' (an entry in double quotes may hold
// a ';'), and the folder is one entry among them, never a piece of text.
//
// Adding appends the folder once, after everything else, and keeps every other character as it
// was; removing takes out the last entry that names the folder, with the one separator that
// joined it, so that a remove after an add gives back the value as it was before, to the byte.
// Entries name the folder when they differ only in letter case (as Windows compares paths), in
// surrounding quotes or in trailing backslashes.

// The longest value handled: Windows takes no longer environment variable (32767 characters
// with the closing NUL). A longer PATH would be cut or dropped when a process starts, so an
// add that would pass it changes nothing.
constexpr std::size_t longestPathValue = 32766;

enum class PathEditOutcome {
    Changed,   // path holds the new value
    Unchanged, // nothing to do: the folder is there already (add) or not there (remove)
    TooLong,   // the new value would pass longestPathValue: path holds the old value
};

struct PathEdit
{
    PathEditOutcome outcome = PathEditOutcome::Unchanged;
    std::wstring path;
};

PathEdit addPathEntry(const std::wstring &path, const std::wstring &folder);
PathEdit removePathEntry(const std::wstring &path, const std::wstring &folder);

// Whether a PATH entry, as written in the value, names the folder.
bool namesFolder(std::wstring_view entry, std::wstring_view folder);

#endif // PATHENTRIES_H
