// Page-allocated memory that grows to the largest size asked for and keeps it until Release:
// a stream of equal-sized copies takes its pages once, not once per copy.
#pragma once

#include <windows.h>

#include <cstddef>

#include "platform/handles.h"

struct PagesTraits {
    static void* Invalid() { return nullptr; }
    static bool IsValid(void* p) { return p != nullptr; }
    static void Close(void* p) { VirtualFree(p, 0, MEM_RELEASE); }
};
using UniquePages = UniqueResource<void*, PagesTraits>;

class PageBuffer {
public:
    // At least `size` bytes at get(); false, with nothing held, when they cannot be had.
    bool Reserve(size_t size) {
        if (m_pages && size <= m_capacity) return true;
        Release();
        if (size) m_pages.reset(VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        if (m_pages) m_capacity = size;
        return static_cast<bool>(m_pages);
    }
    void Release() {
        m_pages.reset();
        m_capacity = 0;
    }
    void* get() const { return m_pages.get(); }

private:
    UniquePages m_pages;
    size_t m_capacity = 0;
};
