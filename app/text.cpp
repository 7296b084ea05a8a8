#include "app/main_dialog.h"
#include "update/texts.h"

std::wstring loadString(UINT id) {
    return loadText(id);
}
