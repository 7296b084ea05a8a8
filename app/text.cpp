#include "app/main_dialog.h"
#include "resources/texts.h"

std::wstring loadString(UINT id) {
    return loadText(id);
}
