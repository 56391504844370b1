#pragma once

#include <cstdint>

// A read-only registry holding what the platform's ODBC data-source lists say.
//
//   HKEY_CURRENT_USER\SOFTWARE\ODBC\ODBC.INI\ODBC Data Sources   the user's DSNs
//   HKEY_LOCAL_MACHINE\SOFTWARE\ODBC\ODBC.INI\ODBC Data Sources  the system's DSNs
//   ...\ODBC.INI\<name>                                          one DSN's settings
//
// The user list is the user odbc.ini and the system list the system odbc.ini, both
// exactly as unixODBC resolves them. A DSN is listed when it has a section in the
// file or an entry under [ODBC Data Sources]; its value is the driver text. Keys and
// value names compare without regard to case. The file is read when a key is opened.
using HKEY = struct RegistryKey*;
using LONG = std::int32_t;
using DWORD = std::uint32_t;
using REGSAM = DWORD;
using BYTE = unsigned char;

inline HKEY const HKEY_CURRENT_USER = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000001u));
inline HKEY const HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000002u));

inline constexpr LONG ERROR_SUCCESS = 0;
inline constexpr LONG ERROR_FILE_NOT_FOUND = 2;
inline constexpr LONG ERROR_ACCESS_DENIED = 5;
inline constexpr LONG ERROR_INVALID_HANDLE = 6;
inline constexpr LONG ERROR_INVALID_PARAMETER = 87;
inline constexpr LONG ERROR_MORE_DATA = 234;

inline constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
inline constexpr REGSAM KEY_SET_VALUE = 0x0002;
inline constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr REGSAM KEY_READ = 0x20019;

inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;

// Write access is refused with ERROR_ACCESS_DENIED: this registry only reads.
LONG RegOpenKeyExA(HKEY root, const char* subKey, DWORD options, REGSAM access, HKEY* result);
LONG RegQueryValueExA(HKEY key, const char* valueName, DWORD* reserved, DWORD* type, BYTE* data, DWORD* dataSize);
LONG RegCloseKey(HKEY key);

namespace korvane::platform {
// Keys opened and not yet closed, so tests can prove none leaks.
int OpenRegistryKeyCount();
} // namespace korvane::platform
