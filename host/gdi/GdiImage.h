#pragma once

// Bitmaps and icons from files, icon construction and drawing, with Win32 names,
// argument orders and results; plus a screenshot helper that is not Win32.
//
// Implemented: LoadImageA from files (BMP, PNG, JPEG as bitmaps; ICO and CUR as icons
// and cursors), CreateIconIndirect, GetIconInfo, DestroyIcon, DestroyCursor, CopyImage,
// DrawIconEx (DI_MASK, DI_IMAGE, DI_NORMAL, flicker-free brush), DrawIcon.
// Resources are not: a module handle or a load without LR_LOADFROMFILE returns NULL.

#include "host/gdi/WinTypes.h"

#include <filesystem>

#define IMAGE_BITMAP 0
#define IMAGE_ICON 1
#define IMAGE_CURSOR 2

#define LR_DEFAULTCOLOR 0x00000000
#define LR_MONOCHROME 0x00000001
#define LR_COPYRETURNORG 0x00000004
#define LR_COPYDELETEORG 0x00000008
#define LR_LOADFROMFILE 0x00000010
#define LR_LOADTRANSPARENT 0x00000020
#define LR_DEFAULTSIZE 0x00000040
#define LR_CREATEDIBSECTION 0x00002000
#define LR_SHARED 0x00008000

#define DI_MASK 0x0001
#define DI_IMAGE 0x0002
#define DI_NORMAL 0x0003
#define DI_COMPAT 0x0004
#define DI_DEFAULTSIZE 0x0008

// Bitmaps come back as 32-bit colour (LR_MONOCHROME: monochrome). A zero size keeps the
// file's size, or with LR_DEFAULTSIZE uses the 32 by 32 system icon size for icons.
HANDLE LoadImageA(HANDLE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags);
// Copies the bitmaps; the caller still owns and deletes them.
HICON CreateIconIndirect(const ICONINFO* info);
// Fills `info` with new bitmaps the caller deletes: for colour icons, the AND mask and
// the colour image; for monochrome ones, the AND mask above the XOR mask and no colour.
BOOL GetIconInfo(HICON icon, ICONINFO* info);
BOOL DestroyIcon(HICON icon);
BOOL DestroyCursor(HCURSOR cursor);
// A stretched copy of a bitmap or icon (a zero size keeps the original's).
HANDLE CopyImage(HANDLE image, UINT type, int cx, int cy, UINT flags);
// Draws the AND mask, then XORs the colour on top, each stretched to cx by cy.
BOOL DrawIconEx(HDC hdc, int x, int y, HICON icon, int cx, int cy, UINT step, HBRUSH flickerFreeBrush, UINT flags);
BOOL DrawIcon(HDC hdc, int x, int y, HICON icon);

namespace korvane::gdi {

// Writes the pixels of a bitmap, or of the surface behind a DC, as an opaque PNG.
// False when the handle is bad or the file cannot be written.
bool SaveBitmapPng(HBITMAP bitmap, const std::filesystem::path& path);
bool SaveBitmapPng(HDC hdc, const std::filesystem::path& path);

}
