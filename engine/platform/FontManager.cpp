#include "engine/platform/FontManager.h"

#include <new>

#include "engine/core/Engine.h"
#include "engine/core/HashTable.h"
#include "engine/core/Log.h"
#include "engine/platform/Font.h"

namespace zel {

namespace {

using FontTable = NameTable<Font*>;

FontTable* gFonts = nullptr;
bool gFunctionsRegistered = false;

}  // namespace

bool FontManager::RegisterFunctions() {
    if (!gFunctionsRegistered) {
        RegisterInitFunction(&Initialize);
        RegisterTermFunction(&Terminate);
        gFunctionsRegistered = true;
    }
    return true;
}

int32_t FontManager::Initialize() {
    LogInfo("Инициализация менеджера шрифтов.");
    if (gFonts == nullptr) gFonts = new (std::nothrow) FontTable();
    if (gFonts == nullptr) {
        LogError("Недостаточно памяти для инициализации менеджера шрифтов.");
        return kFailed;
    }
    LogInfo("Менеджер шрифтов инициализирован.");
    return kOk;
}

int32_t FontManager::Terminate() {
    LogInfo("Завершение работы менеджера шрифтов.");
    if (gFonts != nullptr) {
        FontTable* fonts = gFonts;
        gFonts = nullptr;
        fonts->ForEach([](const String&, Font* font) {
            font->RemoveReference();
            return true;
        });
        delete fonts;
    }
    LogInfo("Менеджер шрифтов завершил работу.");
    return kOk;
}

int32_t FontManager::GetFontCount() { return gFonts != nullptr ? gFonts->Count() : -1; }

}  // namespace zel
