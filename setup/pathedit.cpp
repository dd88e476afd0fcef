// pathedit: the installer's hand on the system PATH.
//   pathedit add FOLDER       appends FOLDER to the system PATH, unless an entry names it
//   pathedit remove FOLDER    takes the last entry that names FOLDER out again
// The value keeps its registry type (REG_EXPAND_SZ stays so, its %SystemRoot% unexpanded) and
// every other entry as it was; running programs are told of the change.
// Exit status: 0 changed; 1 nothing to do (already there, or not there); 2 refused, the PATH
// would grow too long (left as it was); 3 the PATH is of a kind not edited here (left as it
// was); 4 the registry could not be read or written; 64 wrong arguments.
#include "pathentries.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int exitChanged = 0;
constexpr int exitUnchanged = 1;
constexpr int exitTooLong = 2;
constexpr int exitNotEdited = 3;
constexpr int exitRegistry = 4;
constexpr int exitUsage = 64;
constexpr UINT broadcastTimeoutMs = 5000;

const wchar_t *const environmentKey =
    L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
const wchar_t *const pathName = L"Path";

struct PathValue
{
    DWORD type = REG_EXPAND_SZ; // what a new PATH gets, as Windows' own has
    std::wstring text;
};

void report(const wchar_t *format, unsigned long number = 0, unsigned long other = 0)
{
    std::fwprintf(stderr, L"pathedit: ");
    std::fwprintf(stderr, format, number, other);
    std::fwprintf(stderr, L"\n");
}

// Reads the value as it is stored, with its type; a missing value is an empty PATH.
LONG readPath(HKEY key, PathValue &value, bool &editable)
{
    std::vector<BYTE> data;
    DWORD size = 0;
    LONG status = RegQueryValueExW(key, pathName, nullptr, &value.type, nullptr, &size);
    // The value may grow between the two calls: ask again with the size then given.
    while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        data.resize(size + sizeof(wchar_t));
        DWORD got = size;
        status = RegQueryValueExW(key, pathName, nullptr, &value.type, data.data(), &got);
        if (status == ERROR_SUCCESS) {
            size = got;
            break;
        }
        size = got;
    }
    if (status == ERROR_FILE_NOT_FOUND) {
        value = PathValue{};
        editable = true;
        return ERROR_SUCCESS;
    }
    if (status != ERROR_SUCCESS)
        return status;
    editable = (value.type == REG_SZ || value.type == REG_EXPAND_SZ) && size % 2 == 0;
    if (!editable)
        return ERROR_SUCCESS;
    value.text.assign(reinterpret_cast<const wchar_t *>(data.data()), size / sizeof(wchar_t));
    // The stored closing NUL is not part of the text; a NUL inside it would be lost on writing.
    while (!value.text.empty() && value.text.back() == L'\0')
        value.text.pop_back();
    if (value.text.find(L'\0') != std::wstring::npos)
        editable = false;
    return ERROR_SUCCESS;
}

LONG writePath(HKEY key, const PathValue &value)
{
    const DWORD size = DWORD((value.text.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key, pathName, 0, value.type,
                          reinterpret_cast<const BYTE *>(value.text.c_str()), size);
}

// Open prompts and Explorer take the new PATH for the programs they start from now on.
void announceChange()
{
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0,
                        reinterpret_cast<LPARAM>(L"Environment"), SMTO_ABORTIFHUNG,
                        broadcastTimeoutMs, nullptr);
}

} // namespace

int wmain(int argc, wchar_t *argv[])
{
    const std::wstring action = argc == 3 ? argv[1] : L"";
    if (action != L"add" && action != L"remove") {
        std::fwprintf(stderr, L"usage: pathedit add|remove FOLDER\n");
        return exitUsage;
    }
    const std::wstring folder = argv[2];
    HKEY key = nullptr;
    LONG status = RegOpenKeyExW(HKEY_LOCAL_MACHINE, environmentKey, 0,
                                KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_WOW64_64KEY, &key);
    if (status != ERROR_SUCCESS) {
        report(L"the system environment's key cannot be opened (error %lu)", status);
        return exitRegistry;
    }
    PathValue value;
    bool editable = false;
    status = readPath(key, value, editable);
    if (status != ERROR_SUCCESS) {
        RegCloseKey(key);
        report(L"the system PATH cannot be read (error %lu)", status);
        return exitRegistry;
    }
    if (!editable) {
        RegCloseKey(key);
        report(L"the system PATH is not a plain text (registry type %lu): left as it is",
               value.type);
        return exitNotEdited;
    }
    const PathEdit edit =
        action == L"add" ? addPathEntry(value.text, folder) : removePathEntry(value.text, folder);
    int exitStatus = exitChanged;
    switch (edit.outcome) {
    case PathEditOutcome::Unchanged:
        report(action == L"add" ? L"the folder is on the system PATH already: left as it is"
                                : L"the folder is not on the system PATH: left as it is");
        exitStatus = exitUnchanged;
        break;
    case PathEditOutcome::TooLong:
        report(L"the system PATH has %lu characters; with the folder it would pass the "
               L"%lu that Windows takes: left as it is",
               static_cast<unsigned long>(value.text.size()),
               static_cast<unsigned long>(longestPathValue));
        exitStatus = exitTooLong;
        break;
    case PathEditOutcome::Changed:
        value.text = edit.path;
        status = writePath(key, value);
        if (status != ERROR_SUCCESS) {
            report(L"the system PATH cannot be written (error %lu)", status);
            exitStatus = exitRegistry;
        }
        break;
    }
    RegCloseKey(key);
    if (exitStatus == exitChanged)
        announceChange();
    return exitStatus;
}
