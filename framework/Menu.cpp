#include "framework/Menu.h"

#include <map>
#include <memory>

namespace {
std::map<HMENU, std::unique_ptr<CMenu>>& TempMenus() {
    static std::map<HMENU, std::unique_ptr<CMenu>> map;
    return map;
}
} // namespace

CMenu* CMenu::FromHandle(HMENU hMenu) {
    if (hMenu == nullptr)
        return nullptr;
    std::unique_ptr<CMenu>& menu = TempMenus()[hMenu];
    if (!menu) {
        menu = std::make_unique<CMenu>();
        menu->m_hMenu = hMenu;
    }
    return menu.get();
}

void CMenu::DeleteTempMap() {
    TempMenus().clear();
}
