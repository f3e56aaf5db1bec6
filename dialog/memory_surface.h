// A memory device context with a bitmap of its own selected into it; the bitmap the context
// held before is put back before either is deleted.
#pragma once

#include "platform/handles.h"

class MemorySurface {
public:
    MemorySurface() = default;
    MemorySurface(const MemorySurface&) = delete;
    MemorySurface& operator=(const MemorySurface&) = delete;
    ~MemorySurface() { Reset(); }

    // A context compatible with `reference` holding a width x height bitmap; false leaves it empty.
    bool Create(HDC reference, int width, int height) {
        Reset();
        UniqueMemoryDc dc(CreateCompatibleDC(reference));
        if (!dc) return false;
        UniqueBitmap bitmap(CreateCompatibleBitmap(reference, width, height));
        if (!bitmap) return false;
        HGDIOBJ previous = SelectObject(dc.get(), bitmap.get());
        if (!previous || previous == HGDI_ERROR) return false;
        m_dc = std::move(dc);
        m_bitmap = std::move(bitmap);
        m_previous = previous;
        return true;
    }

    void Reset() {
        if (m_dc && m_previous) SelectObject(m_dc.get(), m_previous);
        m_previous = nullptr;
        m_bitmap.reset();
        m_dc.reset();
    }

    HDC dc() const { return m_dc.get(); }
    HBITMAP bitmap() const { return m_bitmap.get(); }
    explicit operator bool() const { return static_cast<bool>(m_dc); }

private:
    UniqueMemoryDc m_dc;
    UniqueBitmap m_bitmap;
    HGDIOBJ m_previous = nullptr;
};
