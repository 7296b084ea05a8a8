// Decodes an extended dialog template (DLGTEMPLATEEX) as the dialog manager reads it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct TemplateItem {
    DWORD exStyle, style;
    short x, y, cx, cy;
    int id;
    std::wstring windowClass; // ordinals named as the dialog manager names them
    std::wstring text;
};

struct DialogTemplate {
    bool extended = false;
    DWORD exStyle = 0, style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::wstring menu, windowClass, caption;
    WORD pointSize = 0, weight = 0;
    BYTE italic = 0, charset = 0;
    std::wstring typeface;
    std::vector<TemplateItem> items;
};

class TemplateCursor {
  public:
    explicit TemplateCursor(const BYTE* p) : start(p), at(p) {}
    template <typename T> T take() {
        T value;
        memcpy(&value, at, sizeof value);
        at += sizeof value;
        return value;
    }
    std::wstring text() {
        std::wstring out;
        for (WCHAR c = take<WCHAR>(); c != 0; c = take<WCHAR>())
            out += c;
        return out;
    }
    std::wstring nameOrOrdinal() {
        WORD first;
        memcpy(&first, at, sizeof first);
        if (first == 0xFFFF) {
            at += 2;
            WORD ordinal = take<WORD>();
            switch (ordinal) {
            case 0x80:
                return L"Button";
            case 0x81:
                return L"Edit";
            case 0x82:
                return L"Static";
            default:
                return L"#" + std::to_wstring(ordinal);
            }
        }
        return text();
    }
    void align() {
        while ((at - start) % 4 != 0)
            ++at;
    }
    void skip(std::size_t bytes) { at += bytes; }

  private:
    const BYTE* start;
    const BYTE* at;
};

inline DialogTemplate decodeTemplate(const BYTE* raw) {
    DialogTemplate d;
    TemplateCursor c(raw);
    const WORD version = c.take<WORD>();
    const WORD signature = c.take<WORD>();
    d.extended = version == 1 && signature == 0xFFFF;
    if (!d.extended)
        return d;
    c.take<DWORD>(); // help id
    d.exStyle = c.take<DWORD>();
    d.style = c.take<DWORD>();
    const WORD count = c.take<WORD>();
    d.x = c.take<short>();
    d.y = c.take<short>();
    d.cx = c.take<short>();
    d.cy = c.take<short>();
    d.menu = c.nameOrOrdinal();
    d.windowClass = c.nameOrOrdinal();
    d.caption = c.text();
    if (d.style & DS_SETFONT) {
        d.pointSize = c.take<WORD>();
        d.weight = c.take<WORD>();
        d.italic = c.take<BYTE>();
        d.charset = c.take<BYTE>();
        d.typeface = c.text();
    }
    for (WORD i = 0; i < count; ++i) {
        c.align();
        TemplateItem item;
        c.take<DWORD>(); // help id
        item.exStyle = c.take<DWORD>();
        item.style = c.take<DWORD>();
        item.x = c.take<short>();
        item.y = c.take<short>();
        item.cx = c.take<short>();
        item.cy = c.take<short>();
        item.id = static_cast<int>(c.take<DWORD>());
        item.windowClass = c.nameOrOrdinal();
        item.text = c.nameOrOrdinal();
        c.skip(c.take<WORD>());
        d.items.push_back(item);
    }
    return d;
}
