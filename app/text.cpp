#include "app/main_dialog.h"
#include "update/texts.h"

std::wstring loadString(UINT id) {
    wchar_t buffer[2048];
    int length = LoadStringW(moduleInstance, id, buffer, 2048);
    return std::wstring(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::wstring loadText(unsigned id) {
    return loadString(id);
}
