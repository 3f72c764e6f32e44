// Resources a module declares by id in the data file beside it (pal/resources.h): finding them
// by type, accelerator tables, strings and bitmaps. The loaders live with what they make (the
// window layer's accelerators and strings, the drawing layer's bitmaps); every one reads the
// module's table through pal::resources.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

DV_EXPORTS_BEGIN

DV_DECLARE_HANDLE(HRSRC);

// A module without resources of its own.
constexpr DWORD ERROR_RESOURCE_DATA_NOT_FOUND = 1812;

// Resource types. A string is found by its block of sixteen: string id n lies in block n / 16 + 1.
#define RT_CURSOR (reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(1)))
#define RT_BITMAP (reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(2)))
#define RT_ICON (reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(3)))
#define RT_STRING (reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(6)))
#define RT_ACCELERATOR (reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(9)))
#define RT_GROUP_CURSOR (reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(12)))
#define RT_GROUP_ICON (reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(14)))

// The resource of that name (MAKEINTRESOURCEW(id) or a name) and type, or null with
// ERROR_RESOURCE_DATA_NOT_FOUND (a module without resources), ERROR_RESOURCE_TYPE_NOT_FOUND or
// ERROR_RESOURCE_NAME_NOT_FOUND.
HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);

// The accelerator table a module declares under `name`, as a table of its own the caller may
// destroy; null with the error of FindResourceW when there is none.
HACCEL LoadAcceleratorsW(HINSTANCE module, LPCWSTR name);

// Copies string `id` of the module into `buffer` (at most size - 1 characters, terminated) and
// answers its length; with a size of 0, `buffer` receives a pointer to the module's own
// read-only text instead. 0 when there is no such string, with the error of FindResourceW.
int LoadStringW(HINSTANCE module, UINT id, LPWSTR buffer, int size);

// A module's bitmap (or strip) at its own size; null with the error of FindResourceW when there
// is none.
HBITMAP LoadBitmapW(HINSTANCE module, LPCWSTR name);

DV_EXPORTS_END
