#include "framework/Menu.h"

#include "framework/TempMap.h"

namespace {
CTempMap<CMenu, HMENU>& TempMenus() {
    static CTempMap<CMenu, HMENU> map;
    return map;
}
} // namespace

CMenu* CMenu::FromHandle(HMENU hMenu) {
    if (hMenu == nullptr)
        return nullptr;
    return TempMenus().Get(hMenu, [](CMenu& menu, HMENU h) { menu.m_hMenu = h; });
}

void CMenu::DeleteTempMap() {
    TempMenus().Clear([](CMenu&) {});
}
