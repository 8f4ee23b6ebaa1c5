// The program reads and writes no files, settings or registry values: the registry and the
// file tree of the prefix are the same after a whole session as before it.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "program.h"
#include "prompt_window.h"

using namespace std::chrono_literals;
using namespace driver;

namespace {

using Snapshot = std::map<std::wstring, std::wstring>;   // path -> a digest of its content

void SnapshotKey(HKEY root, const std::wstring& path, Snapshot& out)
{
    HKEY key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    for (DWORD i = 0;; ++i) {
        wchar_t name[16384];
        DWORD nameLength = 16384, type = 0, dataLength = 0;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, nullptr, &dataLength) != ERROR_SUCCESS)
            break;
        std::wstring data(dataLength / 2 + 1, L'\0');
        nameLength = 16384;
        DWORD size = static_cast<DWORD>(data.size() * 2);
        RegEnumValueW(key, i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
        out[L"reg:" + path + L"|" + name] = std::to_wstring(type) + L":" + data;
    }
    for (DWORD i = 0;; ++i) {
        wchar_t name[512];
        DWORD nameLength = 512;
        if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        std::wstring child = path.empty() ? name : path + L"\\" + name;
        out[L"reg:" + child] = L"key";
        // The class registrations are thousands of keys that a program like this never
        // writes; their top level is still compared.
        if (child != L"Software\\Classes")
            SnapshotKey(root, child, out);
    }
    RegCloseKey(key);
}

void SnapshotFiles(const std::wstring& folder, Snapshot& out, bool recurse = true)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        std::wstring path = folder + L"\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out[L"dir:" + path] = L"";
            // The user's document folders are links to the Unix home, outside the prefix.
            bool linkedOut = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
                             name == L"Desktop" || name == L"Documents" || name == L"Downloads" ||
                             name == L"Music" || name == L"Pictures" || name == L"Videos" || name == L"Templates";
            if (recurse && !linkedOut)
                SnapshotFiles(path, out);
        } else {
            out[L"file:" + path] = std::to_wstring(found.nFileSizeLow) + L"@" +
                                   std::to_wstring(found.ftLastWriteTime.dwLowDateTime);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

Snapshot TakeSnapshot()
{
    Snapshot s;
    SnapshotKey(HKEY_CURRENT_USER, L"", s);
    SnapshotKey(HKEY_LOCAL_MACHINE, L"Software", s);
    // Everywhere a program of the user's may write: the root, the user's folders, the
    // shared program data and the windows folder itself (its .ini files), not the system's
    // thousands of library files.
    SnapshotFiles(L"C:", s, false);
    SnapshotFiles(L"C:\\users", s);
    SnapshotFiles(L"C:\\ProgramData", s);
    SnapshotFiles(L"C:\\windows", s, false);
    return s;
}

// What Wine itself rewrites while any program runs, whoever it is.
bool IsWineOwn(const std::wstring& path)
{
    // MMDevices: Wine's audio layer records its devices' states when any program first opens
    // a sound output in a fresh prefix.
    for (const wchar_t* prefix : {L"reg:Software\\Wine", L"reg:Volatile Environment", L"file:C:\\windows\\temp",
                                  L"reg:Software\\Microsoft\\Windows\\CurrentVersion\\MMDevices",
                                  L"file:C:\\users\\root\\Temp", L"file:C:\\users\\root\\AppData\\Local\\Temp"}) {
        if (path.rfind(prefix, 0) == 0)
            return true;
    }
    return false;
}

std::string Describe(const Snapshot& before, const Snapshot& after)
{
    std::string changes;
    auto add = [&](const wchar_t* what, const std::wstring& path) {
        if (IsWineOwn(path))
            return;
        char line[600];
        snprintf(line, sizeof line, "%ls %ls\n", what, path.c_str());
        changes += line;
    };
    for (const auto& [path, value] : after) {
        auto it = before.find(path);
        if (it == before.end())
            add(L"added", path);
        else if (it->second != value)
            add(L"changed", path);
    }
    for (const auto& [path, value] : before) {
        if (!after.count(path))
            add(L"removed", path);
    }
    return changes;
}

}  // namespace

TEST(Footprint, AWholeSessionLeavesTheRegistryAndTheFilesAsTheyWere)
{
    Snapshot before = TakeSnapshot();
    {
        Program program;
        ASSERT_NO_FATAL_FAILURE(program.Start());
        PromptWindow prompt(100, 200, 300, 322, true);
        ASSERT_TRUE(Program::PumpUntil([&] { return program.LogLines().size() >= 1; }, 7s)) << "no sign-in";

        ASSERT_TRUE(BringToFront(program.main));
        PressKey(VK_SPACE);     // 作者 has the focus
        HWND author = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (author = FindTopLevel(program.process.Id(), L"VarnelForm", L"Hi～")) != nullptr; }, 5s));
        PostMessageW(author, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(author); }, 3s));

        RECT main = OuterRect(program.main);
        ClickAt(main.left + 60, main.top + 90);
        HWND hidden = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (hidden = FindTopLevel(program.process.Id(), L"VarnelForm", L"隐藏彩蛋")) != nullptr; }, 5s));
        PostMessageW(hidden, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(hidden); }, 3s));
        EXPECT_EQ(0u, program.CloseWithEscape());
    }
    Snapshot after = TakeSnapshot();
    EXPECT_GT(before.size(), 1000u) << "the snapshot saw too little of the prefix to mean anything";
    EXPECT_EQ("", Describe(before, after));

    // The instrument itself: a value written the way a program keeps its settings shows up.
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\FootprintProbe", 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    DWORD one = 1;
    RegSetValueExW(key, L"count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof(one));
    RegCloseKey(key);
    std::string seen = Describe(after, TakeSnapshot());
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\FootprintProbe");
    EXPECT_NE(std::string::npos, seen.find("FootprintProbe|count")) << seen;
}
